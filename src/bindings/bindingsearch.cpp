#include "bindings/bindingsearch.h"

#include <array>
#include <string>

namespace varkel {

namespace {

// Latin-1 letters fold to lower case: A-Z and the accented capitals except
// the multiplication sign.
constexpr unsigned char foldCase(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    return c;
}

constexpr std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = foldCase(static_cast<unsigned char>(c));
    return table;
}();

inline unsigned char fold(char c)
{
    return kFold[static_cast<unsigned char>(c)];
}

constexpr char kQuote = '"';
constexpr std::string_view kGrave = "`";

} // namespace

TextMatch findText(std::string_view text, std::string_view needle, std::ptrdiff_t start)
{
    if (start < 0)
        start = 0;
    const std::size_t from = static_cast<std::size_t>(start);
    if (needle.empty() || from > text.size() || text.size() - from < needle.size())
        return {};
    const unsigned char first = fold(needle.front());
    const std::size_t last = text.size() - needle.size();
    for (std::size_t i = from; i <= last; ++i) {
        if (fold(text[i]) != first)
            continue;
        std::size_t k = 1;
        while (k < needle.size() && fold(text[i + k]) == fold(needle[k]))
            ++k;
        if (k == needle.size())
            return {static_cast<std::ptrdiff_t>(i), needle.size()};
    }
    return {};
}

TextMatch FindBinding(std::string_view text, std::string_view key, std::string_view command,
                      std::ptrdiff_t start)
{
    const std::string bind = "bind ";
    const std::string plainKey = bind + std::string(key) + ' ';
    const std::string quotedKey = bind + kQuote + std::string(key) + kQuote + ' ';
    const std::string quotedCommand = kQuote + std::string(command) + kQuote;
    const std::array<std::string, 5> searches{
        plainKey + std::string(command),
        quotedKey + std::string(command),
        plainKey + quotedCommand,
        quotedKey + quotedCommand,
        std::string(command),
    };
    for (const std::string &s : searches) {
        const TextMatch m = findText(text, s, start);
        if (m.found())
            return m;
    }
    return {};
}

TextMatch FindNextConflict(std::string_view text, std::string_view key, std::ptrdiff_t start)
{
    std::string_view other;
    if (key == "+")
        other = "=";
    else if (key == kGrave)
        other = "~";
    TextMatch m = FindBinding(text, key, {}, start);
    if (!m.found() && !other.empty())
        m = FindBinding(text, other, {}, start);
    return m;
}

TextMatch HandleDupKeys(std::string_view text, std::string_view key)
{
    const std::string_view alt = key == "+" ? std::string_view("=") : std::string_view("~");
    const TextMatch a = FindBinding(text, key, {}, 0);
    const TextMatch b = FindBinding(text, alt, {}, 0);
    if (!a.found())
        return b;
    if (!b.found())
        return a;
    return a.position <= b.position ? a : b;
}

} // namespace varkel
