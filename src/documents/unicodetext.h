#pragma once
// Characters of UTF-8 text as a terminal and a reader see them: how many
// columns each takes, and its simple (one character to one character) upper
// case and case fold. The tables cover what scripts hold in practice: Latin-1
// Supplement, Latin Extended-A, Greek and Cyrillic letters for case; the
// combining marks and the East Asian wide ranges for width.

#include <cstddef>
#include <string>
#include <string_view>

namespace varkel {

// The character at text[at], moving `at` past it. A byte that does not
// start a well-formed UTF-8 sequence is read alone, as the Latin-1
// character of its value (as DocumentBytesToUtf8 shows it).
char32_t NextCharacter(std::string_view text, std::size_t &at);

// Appends character c to out as UTF-8.
void AppendUtf8(std::string &out, char32_t c);

// The columns a terminal gives c: 0 for control characters, combining marks
// and zero-width characters, 2 for East Asian wide and fullwidth ones, 1 for
// the rest.
int ColumnWidth(char32_t c);

// The columns UTF-8 text takes on a terminal (ill-formed bytes count one
// each, as their Latin-1 characters).
std::size_t DisplayWidth(std::string_view utf8);

// The simple case fold of c: the small letter of a capital, c itself when
// it has none (e.g. "Ä" -> "ä", "Σ" and "ς" -> "σ", "ſ" -> "s").
char32_t SimpleCaseFold(char32_t c);

// The simple upper case of c: the capital of a small letter, c itself when
// it has none of its own ("ß" stays).
char32_t SimpleUpperCase(char32_t c);

// UTF-8 text with every character in its simple upper case; ill-formed
// bytes stay as they are.
std::string UpperCaseUtf8(std::string_view utf8);

} // namespace varkel
