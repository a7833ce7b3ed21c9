#include "dialogs/commandline.h"

namespace varkel {

namespace {
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
} // namespace

std::optional<std::vector<std::string>> SplitCommandLine(std::string_view s)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false; // a word has begun (also an empty quoted one)
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const char c = s[i];
        if (isBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            ++i;
            continue;
        }
        if (c == '\\') {
            if (i + 1 >= n) {
                word += '\\';
                inWord = true;
                ++i;
            } else if (s[i + 1] == '\n') {
                i += 2; // line continuation
            } else {
                word += s[i + 1];
                inWord = true;
                i += 2;
            }
            continue;
        }
        if (c == '\'') {
            const size_t close = s.find('\'', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            word.append(s.substr(i + 1, close - i - 1));
            inWord = true;
            i = close + 1;
            continue;
        }
        if (c == '"') {
            inWord = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const char d = s[i];
                if (d == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (d == '\\' && i + 1 < n) {
                    const char e = s[i + 1];
                    if (e == '"' || e == '\\' || e == '$' || e == '`') {
                        word += e;
                        i += 2;
                        continue;
                    }
                    if (e == '\n') {
                        i += 2;
                        continue;
                    }
                }
                word += d;
                ++i;
            }
            if (!closed)
                return std::nullopt;
            continue;
        }
        word += c;
        inWord = true;
        ++i;
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

} // namespace varkel
