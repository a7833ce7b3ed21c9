#pragma once
// Searching a script's bytes in place, for Find in big scripts: the control's
// own search compares every byte through a case table, several times slower
// than a scan for the query's rarest byte.

#include <cstddef>
#include <string_view>

namespace varkel {

// True when every byte of `s` is ASCII.
bool IsAscii(std::string_view s);

// The offset of the first occurrence of `what` in `text`, or npos. ASCII
// letters match in either case; every other byte matches only itself.
// Without `what` nothing is found.
std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view what);

} // namespace varkel
