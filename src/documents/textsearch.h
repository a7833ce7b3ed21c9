#pragma once
// Searching a script's bytes in place, for Find in big scripts: the control's
// own search compares every byte through a case table, several times slower
// than a scan for the query's rarest byte.

#include "documents/encoding.h"

#include <cstddef>
#include <string_view>

namespace varkel {

// True when every byte of `s` is ASCII.
bool IsAscii(std::string_view s);

// The offset of the first occurrence of `what` in `text`, or npos. ASCII
// letters match in either case; every other byte matches only itself.
// Without `what` nothing is found.
std::size_t FindIgnoringAsciiCase(std::string_view text, std::string_view what);

struct TextFound {
    std::size_t position = std::string_view::npos; // byte offset, npos when nothing was found
    std::size_t length = 0;                        // bytes matched
    bool found() const { return position != std::string_view::npos; }
};

// The first occurrence of `what` that lies within text[from, to), letters
// compared through their simple case fold (SimpleCaseFold: "ä" finds "Ä",
// "σ" finds "Σ" and "ς"). In UTF-8 text characters are compared: a match
// begins and ends on whole characters (a `from` inside a character moves on
// to the next), its length may differ from the query's, and a byte of an
// ill-formed sequence matches only that same byte. In Latin-1 text each byte
// is a character; a fold Latin-1 cannot hold is not made. Without `what`
// nothing is found.
TextFound FindFoldingCase(std::string_view text, std::size_t from, std::size_t to, std::string_view what,
                          Encoding encoding);

} // namespace varkel
