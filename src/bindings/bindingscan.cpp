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

// A binding of a key off the panel, by the rules of a slot's: the first text
// wins and a different one marks CON while conflicts are marked, the last
// wins without. With keepImages the key's state stays as it was.
void recordExtraKey(BindingState &state, std::size_t index, const std::string &command, std::size_t place,
                    ConflictType conflictType, bool keepImages)
{
    if (state.extraKeys.size() <= index)
        state.extraKeys.resize(index + 1);
    BindingState::ExtraKey &key = state.extraKeys[index];
    if (!key.Bound || conflictType == ConflictType::None) {
        if (!keepImages)
            key.state = KeyState::On;
        key.BoundText = command;
        key.Bound = true;
        key.boundAt = static_cast<std::ptrdiff_t>(place);
    } else if (command != key.BoundText && !keepImages) {
        key.state = KeyState::CON;
    }
}

} // namespace

int KeyNumber(const GameDictionary &dict, std::string_view name)
{
    if (name == "=")
        name = "+";
    else if (name == "~")
        name = "`";
    return dict.KeyNumber(name);
}

int KeyIndex(const GameDictionary &dict, std::string_view name)
{
    const int slot = KeyNumber(dict, name);
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
    state.boundAt = BindingState::nowhere();
    state.extraKeys.clear();
}

bool ReadScriptLine(std::string_view text, std::size_t &pos, ScriptLine &line)
{
    if (pos >= text.size())
        return false;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos)
        end = text.size();
    std::string_view view = text.substr(pos, end - pos);
    line.start = pos;
    pos = end + 1;

    // The CR of a CR LF line end belongs to the line end, so that CR LF
    // and bare LF scripts read alike.
    if (!view.empty() && view.back() == '\r')
        view.remove_suffix(1);
    // Everything from the first "//" on is a comment, inside quotes too.
    const std::size_t comment = view.find("//");
    if (comment != std::string_view::npos)
        view = view.substr(0, comment);
    // A stray carriage return inside a line counts as a space (the first
    // one; any further one stays part of its word).
    const std::size_t cr = view.find('\r');
    if (cr != std::string_view::npos) {
        line.m_copy.assign(view);
        line.m_copy[cr] = ' ';
        view = line.m_copy;
    }
    line.m_base = view.data();
    line.count = splitWords(view, line.words, 4);
    for (std::size_t i = line.count; i < 4; ++i)
        line.words[i] = {};
    return true;
}

int BindSlot(const ScriptLine &line, const GameDictionary &dict)
{
    if (line.count == 0 || !isKeyword(line.words[0], "BIND"))
        return -1;
    return KeyIndex(dict, wordText(line.words[1]));
}

int BindKey(const ScriptLine &line, const GameDictionary &dict)
{
    if (line.count == 0 || !isKeyword(line.words[0], "BIND"))
        return -1;
    return KeyNumber(dict, wordText(line.words[1]));
}

bool ReadLineFinding(const ScriptLine &line, const GameDictionary &dict, LineFinding &finding)
{
    if (line.count == 0)
        return false;
    const std::string_view *words = line.words;
    const std::string_view first = words[0];
    const bool quake3 = dict.Set() == "Q3";
    finding.at = line.offsetOf(0);
    finding.key = -1;

    if (!quake3 && isKeyword(first, "ALIAS")) {
        finding.kind = LineFinding::Kind::Alias;
        finding.name = wordText(words[1]);
        finding.text = wordText(words[2]);
        return true;
    }
    if (quake3 && isKeyword(first, "SET")) {
        finding.kind = LineFinding::Kind::Variable;
        finding.name = wordText(words[1]);
        if (dictionaryHolds(dict, finding.name))
            return false; // a variable of the game, not the player's own
        finding.text = wordText(words[2]);
        return true;
    }
    if (!isKeyword(first, "BIND"))
        return false;
    const int key = BindKey(line, dict);
    if (key < 0)
        return false;
    finding.kind = LineFinding::Kind::Bind;
    finding.key = key;
    finding.name.clear();
    finding.text = wordText(words[2]);
    // Only the first word of an unquoted say text is taken.
    if (finding.text == "say" || finding.text == "say_team") {
        finding.text += ' ';
        finding.text += wordText(words[3]);
    }
    return true;
}

void ApplyLineFinding(BindingState &state, const LineFinding &finding, ConflictType conflictType, bool keepImages,
                      KeyStateSink *sink)
{
    if (keepImages)
        sink = nullptr;
    switch (finding.kind) {
    case LineFinding::Kind::Alias:
        if (!state.userVariables.contains(finding.name))
            state.userVariables.add(finding.name, finding.text);
        state.aliasList.push_back(finding.name);
        return;
    case LineFinding::Kind::Variable:
        if (!state.userVariables.contains(finding.name)) {
            state.userVariables.add(finding.name, finding.text);
            state.aliasList.push_back(finding.name);
        }
        return;
    case LineFinding::Kind::Bind:
        break;
    }
    const int slot = finding.key;
    if (slot >= BindingState::SlotCount) {
        recordExtraKey(state, static_cast<std::size_t>(slot - BindingState::SlotCount), finding.text, finding.at,
                       conflictType, keepImages);
        return;
    }
    if (state.Bound[at(slot)] != 1 || conflictType == ConflictType::None) {
        if (sink)
            sink->showKeyState(slot, KeyState::On);
        state.BoundText[at(slot)] = finding.text;
        state.Bound[at(slot)] = 1;
        state.boundAt[at(slot)] = static_cast<std::ptrdiff_t>(finding.at);
    } else if (finding.text != state.BoundText[at(slot)]) {
        // Bound again with another command: the first text stays.
        if (sink)
            sink->showKeyState(slot, KeyState::CON);
    }
}

void GetBindings(BindingState &state, std::string_view text, const GameDictionary &dict,
                 ConflictType conflictType, bool keepImages, KeyStateSink *sink)
{
    state.aliasList.clear();
    state.userVariables.clear();
    ScriptLine line;
    LineFinding finding;
    std::size_t pos = 0;
    while (ReadScriptLine(text, pos, line))
        if (ReadLineFinding(line, dict, finding))
            ApplyLineFinding(state, finding, conflictType, keepImages, sink);
}

std::string AliasBoxText(const BindingState &state, std::string_view previous, std::string_view set)
{
    if (state.userVariables.contains(previous))
        return std::string(previous);
    return set == "Q3" ? "Vstr" : "Alias";
}

} // namespace varkel
