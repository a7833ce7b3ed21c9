#include "bindings/bindingscan.h"

#include "bindings/getword.h"
#include "language/dictionary.h"

namespace varkel {

namespace {

// Compares a word with an upper-case ASCII keyword, ignoring case.
bool isKeyword(std::string_view word, std::string_view upper)
{
    if (word.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i])
            return false;
    }
    return true;
}

// The keyword dictionary holds lower-case words only, so a name written with
// a capital letter is never one of its keys.
bool dictionaryHolds(const GameDictionary &dict, std::string_view name)
{
    for (char c : name)
        if (lowerLatin1(c) != c)
            return false;
    return dict.Lookup(name) != 0;
}

// Index into the fixed-size arrays of the binding table.
inline std::size_t at(int slot)
{
    return static_cast<std::size_t>(slot);
}

} // namespace

int KeyIndex(const GameDictionary &dict, std::string_view name)
{
    if (name == "=")
        name = "+";
    else if (name == "~")
        name = "`";
    const int slot = dict.KeyIndex(name);
    return slot >= 0 && slot < BindingState::SlotCount ? slot : -1;
}

void ClearData(BindingState &state, KeyStateSink *sink)
{
    if (sink)
        for (int slot = 0; slot < BindingState::SlotCount; ++slot)
            sink->showKeyState(slot, KeyState::Off);
    for (std::string &text : state.BoundText)
        text.clear();
    state.Bound.fill(0);
}

void GetBindings(BindingState &state, std::string_view text, const GameDictionary &dict,
                 ConflictType conflictType, bool keepImages, KeyStateSink *sink)
{
    state.aliasList.clear();
    state.userVariables.clear();
    if (keepImages)
        sink = nullptr;

    const bool quake3 = dict.Set() == "Q3";
    std::string crLine; // a line whose carriage return is read as a space
    std::string_view words[4];

    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        // The CR of a CR LF line end belongs to the line end, so that CR LF
        // and bare LF scripts read alike.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // Everything from the first "//" on is a comment, inside quotes too.
        const std::size_t comment = line.find("//");
        if (comment != std::string_view::npos)
            line = line.substr(0, comment);
        // A stray carriage return inside a line counts as a space (the first
        // one; any further one stays part of its word).
        const std::size_t cr = line.find('\r');
        if (cr != std::string_view::npos) {
            crLine.assign(line);
            crLine[cr] = ' ';
            line = crLine;
        }

        const std::size_t count = splitWords(line, words, 4);
        if (count == 0)
            continue;
        for (std::size_t i = count; i < 4; ++i)
            words[i] = {};
        const std::string_view first = words[0];

        if (!quake3 && isKeyword(first, "ALIAS")) {
            std::string name = wordText(words[1]);
            if (!state.userVariables.contains(name))
                state.userVariables.add(name, wordText(words[2]));
            state.aliasList.push_back(std::move(name));
            continue;
        }
        if (quake3 && isKeyword(first, "SET")) {
            std::string name = wordText(words[1]);
            if (!dictionaryHolds(dict, name) && !state.userVariables.contains(name)) {
                state.userVariables.add(name, wordText(words[2]));
                state.aliasList.push_back(std::move(name));
            }
            continue;
        }
        if (!isKeyword(first, "BIND"))
            continue;

        std::string command = wordText(words[2]);
        // Only the first word of an unquoted say text is taken.
        if (command == "say" || command == "say_team") {
            command += ' ';
            command += wordText(words[3]);
        }
        const int slot = KeyIndex(dict, wordText(words[1]));
        if (slot < 0)
            continue;

        if (state.Bound[at(slot)] != 1 || conflictType == ConflictType::None) {
            if (sink)
                sink->showKeyState(slot, KeyState::On);
            state.BoundText[at(slot)] = std::move(command);
            state.Bound[at(slot)] = 1;
        } else if (command != state.BoundText[at(slot)]) {
            // Bound again with another command: the first text stays.
            if (sink)
                sink->showKeyState(slot, KeyState::CON);
        }
    }
}

std::string AliasBoxText(const BindingState &state, std::string_view previous, std::string_view set)
{
    if (state.userVariables.contains(previous))
        return std::string(previous);
    return set == "Q3" ? "Vstr" : "Alias";
}

} // namespace varkel
