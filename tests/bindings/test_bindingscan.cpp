#include "bindings/bindingscan.h"
#include "bindings/keystatetable.h"
#include "bindingfixture.h"

#include <gtest/gtest.h>

using namespace varkel;
using varkel::test::RecordingSink;
using varkel::test::testDictionary;

namespace {

constexpr int kSlotPlus = 25;
constexpr int kSlotGrave = 13;
constexpr int kSlotT = 32;
constexpr int kSlotX = 55;
constexpr int kSlotF = 44;
constexpr int kSlotMouse1 = 101;

struct Scan {
    BindingState state;
    KeyStateTable states;
};

Scan scan(std::string_view text, std::string_view set = "Q2", ConflictType mode = ConflictType::Active)
{
    Scan s;
    ClearData(s.state, &s.states);
    GetBindings(s.state, text, testDictionary(set), mode, false, &s.states);
    return s;
}

// The command recorded for the only key bound by a one-line script.
std::string recorded(std::string_view line, int slot)
{
    const Scan s = scan(line);
    EXPECT_EQ(s.state.Bound[slot], 1) << line;
    return s.state.BoundText[slot];
}

} // namespace

TEST(GetBindings, WhatIsRecordedForOneLine)
{
    const struct {
        const char *line;
        int slot;
        const char *command;
    } cases[] = {
        // Key names in any case, quoted or not; tabs as spaces.
        {"bind mouse1 +attack", kSlotMouse1, "+attack"},
        {"BIND MOUSE1 +attack", kSlotMouse1, "+attack"},
        {"Bind \"mouse1\" \"+attack\"", kSlotMouse1, "+attack"},
        {"\tbind\tmouse1\t+attack\t", kSlotMouse1, "+attack"},
        {"bind x", kSlotX, ""},
        {"bind x \"\"", kSlotX, "\"\""},
        // The command is the third word only ...
        {"bind x weapon 1", kSlotX, "weapon"},
        {"bind x \"weapon 1\"", kSlotX, "weapon 1"},
        // ... but say and say_team (exactly so) take the fourth word too.
        {"bind t say hello world", kSlotT, "say hello"},
        {"bind t say \"hello world\"", kSlotT, "say hello world"},
        {"bind t \"say hello world\"", kSlotT, "say hello world"},
        {"bind t say_team on my way", kSlotT, "say_team on"},
        {"bind t say", kSlotT, "say "},
        {"bind t Say hello world", kSlotT, "Say"},
        // Comments cut at the first "//", inside quotes too: the opening
        // quote is left without a partner.
        {"bind x \"+attack\" // fire", kSlotX, "+attack"},
        {"bind x +attack// fire", kSlotX, "+attack"},
        {"bind x \"say a//b\"", kSlotX, "say a"},
        {"bind f //+use", kSlotF, ""},
        // A stray carriage return reads as a space.
        {"bind\rx +attack", kSlotX, "+attack"},
        {"bind x \"say\rhi\"\r", kSlotX, "say hi"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(recorded(c.line, c.slot), c.command) << c.line;
    const Scan s = scan("// bind x +attack\n  //bind t +attack\n");
    EXPECT_EQ(s.state.Bound[kSlotX] + s.state.Bound[kSlotT], 0);
}

TEST(GetBindings, UnknownKeysAndOtherLinesAreIgnored)
{
    RecordingSink sink;
    BindingState state;
    GetBindings(state,
                "bind nosuchkey +attack\nunbind x\nbindx x +attack\necho bind x\n\n   \nbind\n",
                testDictionary("Q2"), ConflictType::Active, false, &sink);
    EXPECT_TRUE(sink.calls.empty());
    for (int slot = 0; slot < BindingState::SlotCount; ++slot)
        EXPECT_EQ(state.Bound[slot], 0) << slot;
}

TEST(GetBindings, ConflictMarkingKeepsTheFirstCommand)
{
    for (ConflictType mode : {ConflictType::Active, ConflictType::All}) {
        // "=" and "+" are one slot.
        Scan s = scan("bind + +back\nbind = +forward\n", "Q2", mode);
        EXPECT_EQ(s.states.state(kSlotPlus), KeyState::CON);
        EXPECT_EQ(s.state.BoundText[kSlotPlus], "+back");

        // "~" and the grave accent are one slot.
        s = scan("bind ~ toggleconsole\nbind ` +attack\n", "Q2", mode);
        EXPECT_EQ(s.states.state(kSlotGrave), KeyState::CON);
        EXPECT_EQ(s.state.BoundText[kSlotGrave], "toggleconsole");

        // The same command again is no conflict; the comparison is exact.
        s = scan("bind + +back\nbind = \"+back\"\nbind f +use\nbind f +USE\n", "Q2", mode);
        EXPECT_EQ(s.states.state(kSlotPlus), KeyState::On);
        EXPECT_EQ(s.states.state(kSlotF), KeyState::CON);

        // A third binding equal to the first does not undo the conflict.
        s = scan("bind f +use\nbind f +attack\nbind f +use\n", "Q2", mode);
        EXPECT_EQ(s.states.state(kSlotF), KeyState::CON);
        EXPECT_EQ(s.state.BoundText[kSlotF], "+use");
    }
}

TEST(GetBindings, WithoutConflictMarkingTheLastBindingWins)
{
    RecordingSink sink;
    BindingState state;
    GetBindings(state, "bind + +back\nbind = +forward\n", testDictionary("Q2"), ConflictType::None,
                false, &sink);
    EXPECT_EQ(state.BoundText[kSlotPlus], "+forward");
    ASSERT_EQ(sink.calls.size(), 2u);
    EXPECT_EQ(sink.calls[0].state, KeyState::On);
    EXPECT_EQ(sink.calls[1].state, KeyState::On);
}

TEST(GetBindings, CrLfAndBareLfScanAlike)
{
    const std::string lf =
        "// keys\n"
        "bind mouse1 \"+attack\"\n"
        "bind t say hello world\n"
        "bind x \"a\n"          // open quote of two characters at the line end
        "bind f \"+use\" // use\n"
        "alias zoom \"fov 30\"\n"
        "bind + +back\n"
        "bind = +forward\n"
        "bind y \"say a b";      // no line end at all
    std::string crlf;
    for (char c : lf) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    crlf += "\r"; // a CR with no LF after it ends the last line too
    const Scan a = scan(lf);
    const Scan b = scan(crlf);
    for (int slot = 0; slot < BindingState::SlotCount; ++slot) {
        EXPECT_EQ(a.state.Bound[slot], b.state.Bound[slot]) << slot;
        EXPECT_EQ(a.state.BoundText[slot], b.state.BoundText[slot]) << slot;
        EXPECT_EQ(a.states.state(slot), b.states.state(slot)) << slot;
    }
    EXPECT_EQ(a.state.userVariables.entries(), b.state.userVariables.entries());
    EXPECT_EQ(a.state.aliasList, b.state.aliasList);
    EXPECT_EQ(a.state.BoundText[kSlotX], "\"a");
    EXPECT_EQ(a.state.BoundText[33 /* y */], "say a b");
    EXPECT_EQ(a.states.state(kSlotPlus), KeyState::CON);
}

TEST(GetBindings, AliasesListedEveryTimeFirstBodyKept)
{
    for (std::string_view set : {"Q1", "Q2"}) {
        const Scan s = scan("alias zoom \"fov 30\"\nALIAS +jmp +jump\nalias zoom \"fov 90\"\n"
                            "alias  wait  wait wait\nset myvar 1\n",
                            set);
        EXPECT_EQ(s.state.aliasList, (std::vector<std::string>{"zoom", "+jmp", "zoom", "wait"})) << set;
        ASSERT_EQ(s.state.userVariables.size(), 3u);
        EXPECT_EQ(*s.state.userVariables.value("zoom"), "fov 30");
        EXPECT_EQ(*s.state.userVariables.value("+jmp"), "+jump");
        EXPECT_EQ(*s.state.userVariables.value("wait"), "wait");
    }
}

TEST(GetBindings, Quake3SetAddsOnlyUnknownVariables)
{
    const Scan s = scan("set myvar \"vstr x\"\n"
                        "set cg_fov 110\n"        // a known cvar
                        "set vstr 1\n"            // a known command
                        "SET CG_FOV 100\n"        // capitals: not the dictionary's word
                        "set myvar other\n"       // already listed
                        "seta other 1\n"
                        "alias zoom \"fov 30\"\n" // no aliases in Quake III
                        "set next \"set x 1\"\n",
                        "Q3");
    const std::vector<UserVariableList::Entry> expected{
        {"myvar", "vstr x"}, {"CG_FOV", "100"}, {"next", "set x 1"}};
    EXPECT_EQ(s.state.userVariables.entries(), expected);
    EXPECT_EQ(s.state.aliasList, (std::vector<std::string>{"myvar", "CG_FOV", "next"}));
}

TEST(GetBindings, EachScanRebuildsTheListsButNotTheTable)
{
    BindingState state;
    const GameDictionary &dict = testDictionary("Q2");
    GetBindings(state, "alias a b\nbind f +use\n", dict, ConflictType::Active, false, nullptr);
    GetBindings(state, "alias c d\nbind x +attack\n", dict, ConflictType::Active, false, nullptr);
    EXPECT_EQ(state.aliasList, std::vector<std::string>{"c"});
    EXPECT_FALSE(state.userVariables.contains("a"));
    EXPECT_EQ(state.BoundText[kSlotF], "+use");
    EXPECT_EQ(state.BoundText[kSlotX], "+attack");
}

TEST(GetBindings, RecordsTheLineThatGaveEachText)
{
    // The byte offset of the `bind` word, whatever stands before it.
    const std::string text = "// keys\r\n"
                             "  bind f      \"+use\"\r\n"
                             "bind f\t+attack\r\n"
                             "\rBIND + +back\r\n"
                             "bind = +forward\r\n";
    const auto at = [&](std::string_view from) { return static_cast<std::ptrdiff_t>(text.find(from)); };
    Scan s = scan(text);
    EXPECT_EQ(s.state.boundAt[kSlotF], at("bind f      "));
    EXPECT_EQ(s.state.boundAt[kSlotPlus], at("BIND +"));
    EXPECT_EQ(s.state.boundAt[kSlotX], BindingState::kNowhere);
    // Without conflict marking the last line gives the text, and its place.
    s = scan(text, "Q2", ConflictType::None);
    EXPECT_EQ(s.state.boundAt[kSlotF], at("bind f\t"));
    EXPECT_EQ(s.state.boundAt[kSlotPlus], at("bind ="));
}

TEST(ReadScriptLine, WordsAndTheirPlaces)
{
    const std::string text = "\tbind \"x\"  y // z\r\nalias\ra b\n\nlast";
    std::size_t pos = 0;
    ScriptLine line;
    ASSERT_TRUE(ReadScriptLine(text, pos, line));
    EXPECT_EQ(line.start, 0u);
    ASSERT_EQ(line.count, 3u);
    EXPECT_EQ(line.words[1], "x");
    EXPECT_EQ(line.offsetOf(0), 1u);
    EXPECT_EQ(line.offsetOf(1), 7u);
    EXPECT_EQ(line.offsetOf(2), 11u);
    EXPECT_EQ(BindSlot(line, testDictionary("Q2")), kSlotX);
    // A stray carriage return is a space; the places still count in the script.
    ASSERT_TRUE(ReadScriptLine(text, pos, line));
    ASSERT_EQ(line.count, 3u);
    EXPECT_EQ(line.words[0], "alias");
    EXPECT_EQ(line.offsetOf(1), text.find("a b"));
    EXPECT_EQ(BindSlot(line, testDictionary("Q2")), -1);
    ASSERT_TRUE(ReadScriptLine(text, pos, line));
    EXPECT_EQ(line.count, 0u);
    ASSERT_TRUE(ReadScriptLine(text, pos, line));
    EXPECT_EQ(line.words[0], "last");
    EXPECT_FALSE(ReadScriptLine(text, pos, line));
}

TEST(ClearData, EmptiesTheTableAndShowsEverySlotOff)
{
    Scan s = scan("bind f +use\nbind f +attack\n");
    RecordingSink sink;
    ClearData(s.state, &sink);
    ASSERT_EQ(sink.calls.size(), 110u);
    for (int slot = 0; slot < 110; ++slot) {
        EXPECT_TRUE(sink.calls[slot].slot == slot && sink.calls[slot].state == KeyState::Off) << slot;
        EXPECT_TRUE(s.state.Bound[slot] == 0 && s.state.BoundText[slot].empty()) << slot;
        EXPECT_EQ(s.state.boundAt[slot], BindingState::kNowhere) << slot;
    }
}

TEST(AliasBoxText, KeepsTheShownEntryOnlyWhileItExists)
{
    const Scan s = scan("alias zoom \"fov 30\"\n");
    EXPECT_EQ(AliasBoxText(s.state, "zoom", "Q2"), "zoom");
    EXPECT_EQ(AliasBoxText(s.state, "gone", "Q2"), "Alias");
    EXPECT_EQ(AliasBoxText(s.state, "gone", "Q1"), "Alias");
    EXPECT_EQ(AliasBoxText(s.state, "gone", "Q3"), "Vstr");
}
