// The insertion tools' rules: the texts per command set, the enable rules,
// where an insertion goes as the focus moves, and what follows it.

#include "bindings/insertion.h"
#include "bindings/uservariablelist.h"

#include "bindingfixture.h"

#include <gtest/gtest.h>

using namespace varkel;
using varkel::test::testDictionary;

TEST(InsertionText, AliasRowInsertsTheNameOrAVstrReference)
{
    EXPECT_EQ(CommandRowInsertText(kAliasRow, "Q1", "zoom"), "zoom");
    EXPECT_EQ(CommandRowInsertText(kAliasRow, "Q3", "myvar"), "vstr myvar");
    // Commands and cvars go in exactly as the box shows them, in every set.
    for (const char *set : {"Q1", "Q2", "Q3"}) {
        EXPECT_EQ(CommandRowInsertText(kCommandRow, set, "+Attack"), "+Attack");
        EXPECT_EQ(CommandRowInsertText(kCvarRow, set, "cg_fov"), "cg_fov");
    }
    EXPECT_EQ(CommandRowInsertText(kCommandRow, "Q3", "vstr"), "vstr");
}

TEST(InsertionText, BindingRowBuildsAWholeBindLine)
{
    for (const char *set : {"Q1", "Q2", "Q3"})
        EXPECT_EQ(BindingInsertText(set, "MOUSE1", "+attack"), "bind MOUSE1 \"+attack\"") << set;
    // Quake III writes one-character key names in lower case, the others
    // keep the key as the box shows it.
    EXPECT_EQ(BindingInsertText("Q3", "A", "+attack"), "bind a \"+attack\"");
    EXPECT_EQ(BindingInsertText("Q2", "A", "+attack"), "bind A \"+attack\"");
    EXPECT_EQ(BindingInsertText("Q3", " A ", "x"), "bind  a  \"x\"");
    EXPECT_EQ(BindingInsertText("Q3", "F1", "x"), "bind F1 \"x\"");
    EXPECT_EQ(BindingInsertText("Q3", "\xC4", "x"), "bind \xE4 \"x\""); // Latin-1 capital A umlaut
    // The command goes in as typed, quotes and all; nothing is added around it.
    EXPECT_EQ(BindingInsertText("Q2", "T", "say \"hi\""), "bind T \"say \"hi\"\"");
    EXPECT_EQ(BindingInsertText("Q2", "", ""), "bind  \"\"");
}

TEST(InsertionText, BindLineNeverJoinsTheCaretsLine)
{
    // Applies a placement to the document, as the editor does.
    const auto place = [](std::string doc, std::size_t caret, std::size_t selection, std::string_view eol) {
        const LinePlacement p = PlaceBindingLine(doc, caret, selection, eol, "bind w \"+zoom\"");
        doc.replace(p.start, p.length, p.text);
        doc.insert(p.caret, "|");
        return doc;
    };
    // Inside, at the start or at the end of a line with text: a line of its
    // own before it, with the document's line end; the caret stays in its text.
    EXPECT_EQ(place("set nick\r\nbind x y\r\n", 5, 0, "\r\n"), "bind w \"+zoom\"\r\nset n|ick\r\nbind x y\r\n");
    EXPECT_EQ(place("a\nset nick", 2, 0, "\n"), "a\nbind w \"+zoom\"\n|set nick");
    EXPECT_EQ(place("a\rset nick", 10, 0, "\r"), "a\rbind w \"+zoom\"\rset nick|");
    EXPECT_EQ(place("set nick", 3, 0, "\r\n"), "bind w \"+zoom\"\r\nset| nick");
    // An empty line takes the text at the caret, as does an empty document.
    EXPECT_EQ(place("a\r\n\r\nb", 3, 0, "\r\n"), "a\r\nbind w \"+zoom\"|\r\nb");
    EXPECT_EQ(place("a\n", 2, 0, "\n"), "a\nbind w \"+zoom\"|");
    EXPECT_EQ(place("", 0, 0, "\r\n"), "bind w \"+zoom\"|");
    // A selection is replaced, wherever it lies.
    EXPECT_EQ(place("set nick x", 4, 4, "\r\n"), "set bind w \"+zoom\"| x");
}

TEST(InsertionEnable, AliasRowNeedsAUserVariable)
{
    const GameDictionary &dict = testDictionary("Q2");
    UserVariableList vars;
    vars.add("zoom", "fov");
    EXPECT_TRUE(CommandRowEnabled(kAliasRow, "zoom", &vars, dict));
    EXPECT_FALSE(CommandRowEnabled(kAliasRow, "Zoom", &vars, dict)); // names compare exactly
    EXPECT_FALSE(CommandRowEnabled(kAliasRow, "Alias", &vars, dict));
    EXPECT_FALSE(CommandRowEnabled(kAliasRow, "zoom", nullptr, dict));
    // A keyword is no user variable.
    EXPECT_FALSE(CommandRowEnabled(kAliasRow, "bind", &vars, dict));
}

TEST(InsertionEnable, CommandAndCvarRowsNeedAKnownWordOfTwoCharacters)
{
    const GameDictionary &dict = testDictionary("Q2");
    for (int row : {kCommandRow, kCvarRow}) {
        EXPECT_TRUE(CommandRowEnabled(row, "+attack", nullptr, dict));
        EXPECT_TRUE(CommandRowEnabled(row, "FOV", nullptr, dict)); // any case
        EXPECT_FALSE(CommandRowEnabled(row, "Q2 Commands", nullptr, dict));
        EXPECT_FALSE(CommandRowEnabled(row, "", nullptr, dict));
        // "+" is a key name in the dictionary, but one character is too short.
        EXPECT_FALSE(CommandRowEnabled(row, "+", nullptr, dict));
        // Any keyword counts, whatever its class.
        EXPECT_TRUE(CommandRowEnabled(row, "mouse1", nullptr, dict));
    }
}

TEST(InsertionEnable, ItemRowNeedsAnItemNotAHeading)
{
    const GameDictionary &dict = testDictionary("Q3");
    ASSERT_EQ(dict.Items().size(), 2u);
    EXPECT_FALSE(ItemToolsEnabled(&dict.Items()[0])); // "Q3 Items"
    EXPECT_TRUE(ItemToolsEnabled(&dict.Items()[1]));  // "1 Axe"
    EXPECT_FALSE(ItemToolsEnabled(nullptr));          // only the caption shows
}

TEST(InsertionEnable, BindingRowNeedsKeyCommandAndADocument)
{
    EXPECT_TRUE(BindingToolEnabled("MOUSE1", "+attack", true));
    EXPECT_FALSE(BindingToolEnabled("", "+attack", true));
    EXPECT_FALSE(BindingToolEnabled("MOUSE1", "", true));
    EXPECT_FALSE(BindingToolEnabled("MOUSE1", "+attack", false));
    // The key name is not checked against the key list.
    EXPECT_TRUE(BindingToolEnabled("NOSUCHKEY", "+attack", true));
}

TEST(InsertionSearch, RowsSearchTheWordOrTheRecordedValue)
{
    UserVariableList vars;
    vars.add("zoom", "fov");
    vars.add("myvar", "vstr x");
    EXPECT_EQ(CommandRowSearchText(kCommandRow, "+attack", &vars), "+attack");
    EXPECT_EQ(CommandRowSearchText(kCvarRow, "fov", nullptr), "fov");
    EXPECT_EQ(CommandRowSearchText(kAliasRow, "zoom", &vars), "fov");
    EXPECT_EQ(CommandRowSearchText(kAliasRow, "myvar", &vars), "vstr x");
    EXPECT_EQ(CommandRowSearchText(kAliasRow, "Alias", &vars), std::nullopt);
    EXPECT_EQ(CommandRowSearchText(kAliasRow, "zoom", nullptr), std::nullopt);
}

TEST(InsertionTarget, TheBoxThatHadTheFocusLastReceives)
{
    std::string target; // nothing had the focus yet: behaves as the edit box
    EXPECT_EQ(ClickDestination(InsertionTool::Command, target, true), InsertDestination::Editor);

    // Typing in the binding box, then clicking the Command row's insert button.
    target = NextInsertTarget(TargetEvent::BindingBoxChanged);
    EXPECT_EQ(target, "BINDINGBOX");
    for (InsertionTool tool : {InsertionTool::Alias, InsertionTool::Command, InsertionTool::Cvar, InsertionTool::Item})
        EXPECT_EQ(ClickDestination(tool, target, true), InsertDestination::BindingBox);
    // ... even without a visible editor.
    EXPECT_EQ(ClickDestination(InsertionTool::Command, target, false), InsertDestination::BindingBox);
    // Binding lines always go to the document.
    EXPECT_EQ(ClickDestination(InsertionTool::Binding, target, true), InsertDestination::Editor);

    // The editor had the focus last.
    target = NextInsertTarget(TargetEvent::EditorLostFocus);
    EXPECT_EQ(target, "EDITBOX");
    EXPECT_EQ(ClickDestination(InsertionTool::Command, target, true), InsertDestination::Editor);
    EXPECT_EQ(ClickDestination(InsertionTool::Command, target, false), InsertDestination::Nowhere);
    EXPECT_EQ(ClickDestination(InsertionTool::Binding, target, false), InsertDestination::Nowhere);

    target = NextInsertTarget(TargetEvent::BindingBoxLostFocus);
    EXPECT_EQ(target, "BINDINGBOX");
}

TEST(InsertionRefresh, AfterAClick)
{
    // Into the document: its line is coloured unless colouring is off, the
    // bindings are re-read with automatic refresh on.
    AfterInsertion a = AfterClick(InsertionTool::Command, InsertDestination::Editor, 1, true);
    EXPECT_TRUE(a.realTimeHiLite && a.refreshBindings && !a.refreshAll);
    a = AfterClick(InsertionTool::Item, InsertDestination::Editor, 0, false);
    EXPECT_TRUE(!a.realTimeHiLite && !a.refreshBindings && !a.refreshAll);
    // Into the binding box, or nowhere: nothing follows.
    for (InsertDestination d : {InsertDestination::BindingBox, InsertDestination::Nowhere}) {
        a = AfterClick(InsertionTool::Alias, d, 2, true);
        EXPECT_TRUE(!a.realTimeHiLite && !a.refreshBindings && !a.refreshAll);
    }
    // A binding line: RefreshAll, which does the rest.
    a = AfterClick(InsertionTool::Binding, InsertDestination::Editor, 2, true);
    EXPECT_TRUE(!a.realTimeHiLite && !a.refreshBindings && a.refreshAll);
}

TEST(InsertionRefresh, AfterADrag)
{
    AfterInsertion a = AfterDrag(InsertionTool::Cvar, "EDITBOX", true, 2, true);
    EXPECT_TRUE(a.realTimeHiLite && a.refreshBindings && !a.refreshAll);
    // Composing into the binding box: no binding refresh, which would empty it.
    a = AfterDrag(InsertionTool::Cvar, "BINDINGBOX", true, 2, true);
    EXPECT_TRUE(a.realTimeHiLite && !a.refreshBindings);
    a = AfterDrag(InsertionTool::Cvar, "EDITBOX", false, 2, true);
    EXPECT_TRUE(!a.realTimeHiLite && !a.refreshBindings && !a.refreshAll);
    // A binding line is followed by RefreshAll whatever the target.
    a = AfterDrag(InsertionTool::Binding, "BINDINGBOX", false, 0, false);
    EXPECT_TRUE(a.refreshAll && !a.realTimeHiLite && !a.refreshBindings);
}

TEST(InsertionCaptions, AliasRowFollowsTheCommandSetAndKeepsAnEntryThatStillExists)
{
    EXPECT_EQ(RowInitialText(kAliasRow, "Q2"), "Alias");
    EXPECT_EQ(RowInitialText(kAliasRow, "Q3"), "Vstr");
    EXPECT_EQ(InsertToolTip(InsertionTool::Alias, "Q3"), "Place vstr at Insertion Point (Right Button Drags)");
    UserVariableList vars;
    vars.add("zoom", "fov");
    EXPECT_EQ(AliasRowText(&vars, "zoom", "Q2"), "zoom");
    EXPECT_EQ(AliasRowText(&vars, "gone", "Q2"), "Alias");
    EXPECT_EQ(AliasRowText(&vars, "gone", "Q3"), "Vstr");
    EXPECT_EQ(AliasRowText(nullptr, "zoom", "Q1"), "Alias");
}
