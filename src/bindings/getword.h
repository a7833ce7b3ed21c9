#pragma once
// Word splitting of script lines, as the binding scan reads them.
//
// A line splits at spaces (a tab counts as a space). A word that starts with a
// double quote runs to the next double quote and loses both quotes, except that
// the empty quotes are kept as they are; a quote left open runs to the end of
// the line and loses only its opening quote once it is three or more
// characters long. A word that starts with any other character runs to the
// next space, whatever quotes it holds. Text right after a closing quote starts
// a new word. Every word is trimmed of spaces.

#include <cstddef>
#include <string>
#include <string_view>

namespace varkel {

// Replaces every occurrence of `find` in `text` with `replacement`, in place.
void ReplaceChar(std::string &text, char find, char replacement);

// The n-th word (n from 1) of a line; empty when the line has fewer words.
std::string GetWord(std::string_view line, int n);

// Splits the first `maxWords` words of a line in one pass, by the rules of
// GetWord, without copying the line. Each word is a view into `line`, already
// stripped of its quotes and trimmed; a tab inside a word is still a tab (use
// wordText to get the text GetWord returns). Returns the number of words found.
std::size_t splitWords(std::string_view line, std::string_view *words, std::size_t maxWords);

// The text of a word found by splitWords, tabs turned into spaces.
std::string wordText(std::string_view word);

} // namespace varkel
