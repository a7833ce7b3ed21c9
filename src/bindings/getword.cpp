#include "bindings/getword.h"

namespace varkel {

namespace {

constexpr bool isBlank(char c)
{
    // Tabs are read as spaces throughout the line.
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace

void ReplaceChar(std::string &text, char find, char replacement)
{
    for (char &c : text)
        if (c == find)
            c = replacement;
}

namespace {

// Reads the word that starts at or after `pos`; false when none is left.
bool nextWord(std::string_view line, std::size_t &pos, std::string_view &word)
{
    const std::size_t n = line.size();
    std::size_t i = pos;
    while (i < n && isBlank(line[i]))
        ++i;
    if (i >= n) {
        pos = n;
        return false;
    }
    if (line[i] == '"') {
        const std::size_t close = line.find('"', i + 1);
        if (close != std::string_view::npos) {
            word = line.substr(i, close - i + 1);
            // The empty quotes stay as two quote characters.
            if (word.size() >= 3)
                word = word.substr(1, word.size() - 2);
            i = close + 1;
        } else {
            // An open quote runs to the end of the line.
            word = line.substr(i);
            if (word.size() >= 3)
                word.remove_prefix(1);
            i = n;
        }
    } else {
        std::size_t end = i;
        while (end < n && !isBlank(line[end]))
            ++end;
        word = line.substr(i, end - i);
        i = end;
    }
    word = trimBlanks(word);
    pos = i;
    return true;
}

} // namespace

std::size_t splitWords(std::string_view line, std::string_view *words, std::size_t maxWords)
{
    std::size_t count = 0;
    std::size_t pos = 0;
    while (count < maxWords && nextWord(line, pos, words[count]))
        ++count;
    return count;
}

std::string wordText(std::string_view word)
{
    std::string text(word);
    ReplaceChar(text, '\t', ' ');
    return text;
}

std::string GetWord(std::string_view line, int n)
{
    std::string text(line);
    ReplaceChar(text, '\t', ' ');
    std::size_t pos = 0;
    std::string_view word;
    for (int i = 1; i <= n; ++i) {
        if (!nextWord(text, pos, word))
            return {};
        if (i == n)
            return std::string(word);
    }
    return {};
}

} // namespace varkel
