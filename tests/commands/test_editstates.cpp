// Which commands the state of the active document enables, presses and checks.

#include "commands/editstates.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace varkel;

namespace {
struct Applied {
    std::optional<bool> enabled, checked;
    bool menu = false, button = false;
};

std::map<std::string, Applied> apply(const EditFacts &facts)
{
    std::map<std::string, Applied> out;
    for (const CommandState &s : ComputeEditStates(facts))
        out[std::string(s.command)] = {s.enabled, s.checked, s.menu, s.button};
    return out;
}
} // namespace

TEST(EditStates, NoDocumentDisablesEverythingButLeavesReplaceAlone)
{
    const auto s = apply(EditFacts{});
    for (const char *cmd : {"cmnuSave", "cmnuCut", "cmnuCopy", "cmnuDelete", "cmnuFindNext", "cmnuFindPrev",
                            "cmnuUndo", "cmnuPrint", "cmnuSelectAll", "cmnuFind", "cmnuRevert",
                            "cmnuFindNextConflict", "cmnuWordWrap", "cmnuPaste", "cmnuSaveAs", "cmnuSaveAll",
                            "cmnuRefresh", "cmnuSyntaxRefresh", "cmnuConflicts_None", "cmnuConflicts_All",
                            "cmnuConflicts_Active", "cmnuTileHorz", "cmnuTileVert", "cmnuCascade", "cmnuArrange",
                            "cmnuClose", "cmnuCloseAll", "cmnuInsertComment"}) {
        ASSERT_TRUE(s.count(cmd)) << cmd;
        EXPECT_EQ(s.at(cmd).enabled, false) << cmd;
    }
    EXPECT_FALSE(s.count("cmnuReplace"));
    // Menu-only rows never touch a toolbar button.
    EXPECT_FALSE(s.at("cmnuInsertComment").button);
    EXPECT_FALSE(s.at("cmnuClose").button);
}

TEST(EditStates, EachRowFollowsTheActiveDocument)
{
    EditFacts f;
    f.docOpen = true;
    f.textEmpty = false;
    auto s = apply(f);
    EXPECT_EQ(s["cmnuSave"].enabled, false);
    EXPECT_EQ(s["cmnuCut"].enabled, false);
    EXPECT_EQ(s["cmnuFind"].enabled, true);
    EXPECT_EQ(s["cmnuFindNext"].enabled, false); // nothing selected, nothing searched yet
    EXPECT_EQ(s["cmnuReplace"].enabled, true);
    EXPECT_FALSE(s["cmnuReplace"].menu);
    EXPECT_EQ(s["cmnuUndo"].enabled, false);
    EXPECT_EQ(s["cmnuRevert"].enabled, false);
    EXPECT_EQ(s["cmnuWordWrap"].checked, false);
    EXPECT_FALSE(s.count("cmnuFindNextConflict")); // left to the panel's selection
    EXPECT_EQ(s["cmnuPaste"].enabled, true);

    f.modified = true;
    f.selLength = 3;
    f.canUndo = true;
    f.wordWrap = true;
    s = apply(f);
    EXPECT_EQ(s["cmnuSave"].enabled, true);
    EXPECT_EQ(s["cmnuRevert"].enabled, false); // modified, but no file
    EXPECT_EQ(s["cmnuCopy"].enabled, true);
    EXPECT_EQ(s["cmnuFindPrev"].enabled, true);
    EXPECT_EQ(s["cmnuUndo"].enabled, true);
    EXPECT_EQ(s["cmnuWordWrap"].checked, true);

    f.hasFile = true;
    f.selLength = 0;
    f.lastSearchEmpty = false;
    f.textEmpty = true;
    s = apply(f);
    EXPECT_EQ(s["cmnuRevert"].enabled, true);
    EXPECT_EQ(s["cmnuFindNext"].enabled, true); // a remembered search text is enough
    EXPECT_EQ(s["cmnuPrint"].enabled, false);
    EXPECT_EQ(s["cmnuSelectAll"].enabled, false);
    EXPECT_EQ(s["cmnuReplace"].enabled, false);
}
