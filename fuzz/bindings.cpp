// Binding extraction in all three conflict modes, the scan of several
// scripts together, and the searches that find a key's bind line.
// Targets: src/bindings/bindingscan.cpp src/bindings/conflicts.cpp src/bindings/bindingsearch.cpp
//
// Input: an options byte (bits 0-1: the command set Q1, Q2, Q3; bits 2-4: the
// active script), then up to eight scripts separated by NUL bytes. The
// searches take the first script as the text and the second as the needle.

#include "dictionaries.h"

#include "bindings/bindingscan.h"
#include "bindings/bindingsearch.h"
#include "bindings/conflicts.h"
#include "bindings/getword.h"
#include "bindings/keystatetable.h"

#include <array>
#include <span>

using namespace varkel;

namespace {

constexpr int kSlots = BindingState::SlotCount;

// Records what the scan shows and checks each slot number.
class CheckedSink : public KeyStateSink
{
public:
    void showKeyState(int slot, KeyState state) override
    {
        FUZZ_CHECK(slot >= 0 && slot < kSlots);
        FUZZ_CHECK(state == KeyState::Off || state == KeyState::On || state == KeyState::CON);
        table.showKeyState(slot, state);
        ++calls;
    }
    KeyStateTable table;
    std::size_t calls = 0;
};

// The scan once more, line by line through GetWord: what the scan records
// for each slot must follow from the words GetWord finds.
struct Expected {
    std::array<std::string, kSlots> text;
    std::array<bool, kSlots> bound{};
    std::array<bool, kSlots> conflict{};
};

void expectScan(Expected &e, std::string_view script, const GameDictionary &dict, ConflictType mode)
{
    for (std::string_view rest = script; !rest.empty();) {
        const std::size_t lf = rest.find('\n');
        std::string line(rest.substr(0, lf));
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (const std::size_t comment = line.find("//"); comment != std::string::npos)
            line.resize(comment);
        if (const std::size_t cr = line.find('\r'); cr != std::string::npos)
            line[cr] = ' ';
        if (toLowerLatin1(GetWord(line, 1)) != "bind" || GetWord(line, 1).size() != 4)
            continue;
        std::string command = GetWord(line, 3);
        if (command == "say" || command == "say_team")
            command += ' ' + GetWord(line, 4);
        const int slot = KeyIndex(dict, GetWord(line, 2));
        if (slot < 0)
            continue;
        const auto s = static_cast<std::size_t>(slot);
        if (!e.bound[s] || mode == ConflictType::None) {
            e.text[s] = command;
            e.bound[s] = true;
        } else if (command != e.text[s]) {
            e.conflict[s] = true;
        }
    }
}

void checkAgainst(const BindingState &state, const CheckedSink &sink, const Expected &e)
{
    for (int slot = 0; slot < kSlots; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        FUZZ_CHECK((state.Bound[s] == 1) == e.bound[s]);
        FUZZ_CHECK(state.BoundText[s] == e.text[s]);
        const KeyState shown = sink.table.state(slot);
        if (!e.bound[s])
            FUZZ_CHECK(shown == KeyState::Off);
        else
            FUZZ_CHECK(shown == (e.conflict[s] ? KeyState::CON : KeyState::On));
    }
    // Every user variable is in the pick list.
    for (const auto &[name, value] : state.userVariables.entries())
        FUZZ_CHECK(std::find(state.aliasList.begin(), state.aliasList.end(), name) != state.aliasList.end());
}

// The reference search: Latin-1 letters folded, every start tried.
char fold(char c)
{
    return lowerLatin1(c);
}

TextMatch naiveFind(std::string_view text, std::string_view needle, std::ptrdiff_t start)
{
    if (needle.empty())
        return {};
    for (std::size_t i = start < 0 ? 0 : static_cast<std::size_t>(start); i + needle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && fold(text[i + k]) == fold(needle[k]))
            ++k;
        if (k == needle.size())
            return {static_cast<std::ptrdiff_t>(i), needle.size()};
    }
    return {};
}

bool sameMatch(TextMatch a, TextMatch b)
{
    return a.found() == b.found() && (!a.found() || (a.position == b.position && a.length == b.length));
}

void checkSearches(std::string_view text, std::string_view needle, const BindingState &state,
                   const GameDictionary &dict)
{
    for (const std::ptrdiff_t start : {std::ptrdiff_t{-1}, std::ptrdiff_t{0}, std::ptrdiff_t(text.size() / 3),
                                       std::ptrdiff_t(text.size()), std::ptrdiff_t(text.size() + 1)})
        FUZZ_CHECK(sameMatch(findText(text, needle, start), naiveFind(text, needle, start)));

    // A key's bind line as a click finds it: inside the text, from the start
    // asked for, and one of the texts searched for.
    for (int slot = 0; slot < kSlots; ++slot) {
        const std::string &key = dict.KeyNames()[static_cast<std::size_t>(slot)];
        if (key.empty())
            continue;
        const std::string &command = state.BoundText[static_cast<std::size_t>(slot)];
        const TextMatch m = FindBinding(text, key, command, 0);
        if (m.found()) {
            FUZZ_CHECK(m.length > 0 && static_cast<std::size_t>(m.position) + m.length <= text.size());
            const std::string found = toLowerLatin1(text.substr(static_cast<std::size_t>(m.position), m.length));
            const std::string k = toLowerLatin1(key), c = toLowerLatin1(command);
            FUZZ_CHECK(found == "bind " + k + " " + c || found == "bind \"" + k + "\" " + c ||
                       found == "bind " + k + " \"" + c + "\"" || found == "bind \"" + k + "\" \"" + c + "\"" ||
                       found == c);
        }
        // The line a click selects lies inside the text.
        const TextMatch click = FindSlotBinding(text, state, dict, slot);
        if (click.found())
            FUZZ_CHECK(click.length > 0 && static_cast<std::size_t>(click.position) + click.length <= text.size());
        if (state.Bound[static_cast<std::size_t>(slot)] == 1) {
            const std::ptrdiff_t start = m.found() ? m.position + 1 : 0;
            const TextMatch next = FindNextConflict(text, dict, slot, start);
            if (next.found())
                FUZZ_CHECK(next.position >= start && static_cast<std::size_t>(next.position) + next.length <= text.size());
        }
    }
    for (const std::string_view key : {std::string_view("+"), std::string_view("`")}) {
        const std::string_view other = key == "+" ? "=" : "~";
        const TextMatch a = FindBinding(text, key, {}, 0);
        const TextMatch b = FindBinding(text, other, {}, 0);
        const TextMatch dup = HandleDupKeys(text, key);
        const TextMatch first = !a.found() ? b : !b.found() ? a : (a.position <= b.position ? a : b);
        FUZZ_CHECK(sameMatch(dup, first));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fuzz::Input input(data, size);
    const GameDictionary &dict = fuzz::shippedDictionary(input.options() & 3u);
    const std::vector<std::string_view> &parts = input.parts();
    const std::span<const std::string_view> texts(parts.data(), std::min<std::size_t>(parts.size(), 8));
    const std::size_t active = ((input.options() >> 2) & 7u) % texts.size();

    // One script in each mode, shown and with the panel kept as it is.
    for (const ConflictType mode : {ConflictType::None, ConflictType::All, ConflictType::Active}) {
        BindingState state;
        CheckedSink sink;
        ClearData(state, &sink);
        GetBindings(state, texts[active], dict, mode, false, &sink);
        Expected e;
        expectScan(e, texts[active], dict, mode);
        checkAgainst(state, sink, e);

        CheckedSink untouched;
        BindingState again;
        GetBindings(again, texts[active], dict, mode, true, &untouched);
        FUZZ_CHECK(untouched.calls == 0);
        FUZZ_CHECK(again.BoundText == state.BoundText);

        if (!state.aliasList.empty())
            FUZZ_CHECK(AliasBoxText(state, state.aliasList.front(), dict.Set()) == state.aliasList.front());
    }

    // All scripts together: the states of all, the texts of the active one.
    BindingState all;
    CheckedSink allSink;
    ShowAllConflicts(all, dict, texts, active, &allSink);
    Expected combined;
    for (std::string_view text : texts)
        expectScan(combined, text, dict, ConflictType::All);
    Expected activeOnly;
    expectScan(activeOnly, texts[active], dict, ConflictType::None);
    for (int slot = 0; slot < kSlots; ++slot) {
        const auto s = static_cast<std::size_t>(slot);
        FUZZ_CHECK(all.BoundText[s] == activeOnly.text[s]);
        const KeyState shown = allSink.table.state(slot);
        FUZZ_CHECK(shown == (!combined.bound[s] ? KeyState::Off : combined.conflict[s] ? KeyState::CON : KeyState::On));
    }
    for (const ConflictType mode : {ConflictType::None, ConflictType::All, ConflictType::Active}) {
        BindingState refreshed;
        CheckedSink refreshedSink;
        RefreshDocumentBindings(refreshed, dict, mode, texts, active, &refreshedSink);
        if (mode == ConflictType::All)
            FUZZ_CHECK(refreshed.BoundText == all.BoundText);
    }

    BindingState state;
    GetBindings(state, texts[0], dict, ConflictType::None, true, nullptr);
    checkSearches(texts[0], input.part(1), state, dict);
    return 0;
}
