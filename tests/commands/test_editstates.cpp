// Which commands the state of the active document enables, presses and checks.

#include "commands/editstates.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace varkel;

namespace {
std::map<std::string, CommandState> apply(const EditFacts &facts)
{
    std::map<std::string, CommandState> out;
    for (const CommandState &s : ComputeEditStates(facts))
        out[std::string(s.command)] = s;
    return out;
}
} // namespace

TEST(EditStates, NoDocumentDisablesEverything)
{
    const auto s = apply(EditFacts{});
    for (const auto &[cmd, state] : s)
        EXPECT_EQ(state.enabled, false) << cmd;
    EXPECT_GE(s.size(), 28u);
    for (const char *cmd : {"cmnuReplace", "cmnuGoToLine", "cmnuZoomIn", "cmnuZoomOut", "cmnuZoomReset"})
        EXPECT_TRUE(s.count(cmd)) << cmd;
    // Menu-only rows never touch a toolbar button.
    EXPECT_FALSE(s.at("cmnuInsertComment").button || s.at("cmnuClose").button);
}

TEST(EditStates, EachRowFollowsTheActiveDocument)
{
    EditFacts f;
    f.docOpen = true;
    f.textEmpty = false;
    auto s = apply(f);
    for (const char *off : {"cmnuSave", "cmnuCut", "cmnuFindNext", "cmnuUndo", "cmnuRedo", "cmnuRevert"})
        EXPECT_EQ(s[off].enabled, false) << off; // nothing changed, selected or searched yet
    EXPECT_EQ(s["cmnuFind"].enabled, true);
    EXPECT_EQ(s["cmnuPaste"].enabled, true);
    // Replace has its menu item beside the toolbar button.
    EXPECT_TRUE(s["cmnuReplace"].enabled == true && s["cmnuReplace"].menu && s["cmnuReplace"].button);
    for (const char *on : {"cmnuGoToLine", "cmnuZoomIn", "cmnuZoomOut", "cmnuZoomReset"})
        EXPECT_EQ(s[on].enabled, true) << on;
    EXPECT_EQ(s["cmnuWordWrap"].checked, false);
    EXPECT_FALSE(s.count("cmnuFindNextConflict")); // left to the panel's selection

    f.modified = f.canUndo = f.canRedo = f.wordWrap = true;
    f.selLength = 3;
    s = apply(f);
    for (const char *on : {"cmnuSave", "cmnuCopy", "cmnuFindPrev", "cmnuUndo", "cmnuRedo"})
        EXPECT_EQ(s[on].enabled, true) << on;
    EXPECT_EQ(s["cmnuRevert"].enabled, false); // modified, but no file
    EXPECT_EQ(s["cmnuWordWrap"].checked, true);

    f.hasFile = true;
    f.selLength = 0;
    f.lastSearchEmpty = false;
    f.textEmpty = true;
    s = apply(f);
    EXPECT_EQ(s["cmnuRevert"].enabled, true);
    EXPECT_EQ(s["cmnuFindNext"].enabled, true); // a remembered search text is enough
    for (const char *off : {"cmnuPrint", "cmnuSelectAll", "cmnuReplace"})
        EXPECT_EQ(s[off].enabled, false) << off;
}

TEST(EditStates, ReopenOffersTheOtherEncoding)
{
    EditFacts f;
    EXPECT_EQ(apply(f).at("cmnuReopenUtf8").enabled, false);
    EXPECT_EQ(apply(f).at("cmnuReopenLatin1").enabled, false);
    f.docOpen = true;
    auto s = apply(f);
    EXPECT_EQ(s.at("cmnuReopenUtf8").enabled, true);
    EXPECT_EQ(s.at("cmnuReopenLatin1").enabled, false);
    f.utf8 = true;
    s = apply(f);
    EXPECT_EQ(s.at("cmnuReopenUtf8").enabled, false);
    EXPECT_EQ(s.at("cmnuReopenLatin1").enabled, true);
}
