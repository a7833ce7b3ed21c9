#pragma once
// Searches that put the caret on a key's `bind` line. They work on the text
// of the active script and return what to select; the editor does the
// selecting (and leaves the selection empty when nothing is found).

#include <cstddef>
#include <string_view>

namespace varkel {

// A found text: its character position and length, or position -1.
struct TextMatch {
    std::ptrdiff_t position = -1;
    std::size_t length = 0;

    bool found() const { return position >= 0; }
};

// Finds `needle` in `text` from character position `start` on, ignoring case
// (Latin-1). An empty needle is never found.
TextMatch findText(std::string_view text, std::string_view needle, std::ptrdiff_t start);

// Finds the `bind` line of a key from `start` on. Tries, in order, the first
// of these texts that occurs (Q a double quote):
//   "bind " Key " " Command
//   "bind " Q Key Q " " Command
//   "bind " Key " " Q Command Q
//   "bind " Q Key Q " " Q Command Q
//   Command
// With an empty command the first text is "bind " + key + " ", so the first
// binding of the key matches whatever its command.
TextMatch FindBinding(std::string_view text, std::string_view key, std::string_view command,
                      std::ptrdiff_t start);

// The next `bind` line of the key `key` (the selected slot's key name) from
// `start` on, which the caller gives as one past the caret. The two keys with
// two names search every line of their first name before any of the second.
// Does not wrap.
TextMatch FindNextConflict(std::string_view text, std::string_view key, std::ptrdiff_t start);

// The first `bind` line of a key with two names: `key` is "+" (also written
// "=") or the grave accent (also written "~"). Whichever name's first line
// comes first wins; with neither found, nothing.
TextMatch HandleDupKeys(std::string_view text, std::string_view key);

} // namespace varkel
