#pragma once
// Splitting a user tool's stored command line into a program and its
// arguments. The rules are those of a POSIX shell's word splitting and
// quoting, and nothing more: no shell ever runs, so "$HOME", "~", "*", ";",
// "|", "&&", "`...`" and redirections are plain characters of a word.
//
// - Spaces, tabs and line breaks separate words.
// - A backslash outside quotes makes the next character literal; a backslash
//   before a line break removes both; a backslash at the very end stays.
// - Single quotes keep everything up to the next single quote literally.
// - Inside double quotes a backslash escapes only '"', '\\', '$', '`' and a
//   line break; before any other character it stays.
// - Quoted parts join the word they touch; "" alone is an empty argument.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// The words of a command line; nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitCommandLine(std::string_view commandLine);

} // namespace varkel
