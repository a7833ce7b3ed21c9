#include "bindings/bindingsearch.h"

#include "bindings/bindingscan.h"
#include "bindings/getword.h"
#include "language/dictionary.h"

#include <algorithm>
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

} // namespace

TextMatch LineFrom(std::string_view text, std::size_t position)
{
    std::size_t end = text.find_first_of("\r\n", position);
    if (end == std::string_view::npos)
        end = text.size();
    while (end > position && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return {static_cast<std::ptrdiff_t>(position), end - position};
}

namespace {

// Offset of the first byte of the scan's line holding `position`.
std::size_t scanLineStart(std::string_view text, std::size_t position)
{
    const std::size_t lf = position == 0 ? std::string_view::npos : text.rfind('\n', position - 1);
    return lf == std::string_view::npos ? 0 : lf + 1;
}

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

TextMatch FindSlotBinding(std::string_view text, const BindingState &state, const GameDictionary &dict, int slot)
{
    // A key off the panel keeps its record among the extra keys.
    const bool extra = slot >= BindingState::SlotCount;
    if (slot < 0 || (extra && dict.KeyNameOf(slot).empty()))
        return {};
    const BindingState::ExtraKey *extraKey = state.extraKey(slot);
    const std::ptrdiff_t place = extra ? (extraKey ? extraKey->boundAt : BindingState::kNowhere)
                                       : state.boundAt[static_cast<std::size_t>(slot)];
    if (place >= 0 && static_cast<std::size_t>(place) < text.size()) {
        // The recorded line counts only while it is still a binding of this
        // key that begins there (an edit since the scan may have moved it).
        ScriptLine line;
        std::size_t pos = scanLineStart(text, static_cast<std::size_t>(place));
        if (ReadScriptLine(text, pos, line) && line.count > 0 &&
            line.offsetOf(0) == static_cast<std::size_t>(place) && BindKey(line, dict) == slot)
            return LineFrom(text, static_cast<std::size_t>(place));
    }
    if (extra)
        return FindBinding(text, dict.KeyNameOf(slot), state.boundTextOf(slot), 0);
    const std::string &key = dict.KeyNames()[static_cast<std::size_t>(slot)];
    if (key == "+" || key == "`")
        return HandleDupKeys(text, key);
    return FindBinding(text, key, state.BoundText[static_cast<std::size_t>(slot)], 0);
}

TextMatch FindNextConflict(std::string_view text, const GameDictionary &dict, int slot, std::ptrdiff_t start)
{
    const std::size_t from = static_cast<std::size_t>(std::max<std::ptrdiff_t>(start, 0));
    if (from > text.size())
        return {};
    TextMatch secondName;
    ScriptLine line;
    std::size_t pos = scanLineStart(text, from);
    while (ReadScriptLine(text, pos, line)) {
        if (BindKey(line, dict) != slot || line.offsetOf(0) < from)
            continue;
        const std::string key = wordText(line.words[1]);
        if (key == "=" || key == "~") {
            if (!secondName.found())
                secondName = LineFrom(text, line.offsetOf(0));
            continue;
        }
        return LineFrom(text, line.offsetOf(0));
    }
    return secondName;
}

int LineOfPosition(std::string_view text, std::size_t position)
{
    position = std::min(position, text.size());
    int line = 0;
    for (std::size_t i = 0; i < position; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
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
