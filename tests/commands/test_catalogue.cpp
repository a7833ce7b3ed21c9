#include "commands/catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace varkel;

TEST(Catalogue, MenuTreeIsWellFormed)
{
    std::set<std::string_view> keys;
    std::string_view currentTop;
    std::vector<std::string_view> tops;
    for (const MenuItemDef &d : MenuCatalogue()) {
        ASSERT_FALSE(d.key.empty());
        if (IsSeparator(d)) {
            EXPECT_TRUE(d.key == "cmnuSep" || d.key == "mnuSep") << d.key;
            EXPECT_TRUE(d.icon.empty());
        } else {
            EXPECT_TRUE(keys.insert(d.key).second) << "duplicate key " << d.key;
            EXPECT_TRUE(d.key.starts_with("cmnu")) << d.key;
        }
        if (IsTopLevel(d)) {
            currentTop = d.key;
            tops.push_back(d.key);
            EXPECT_TRUE(d.enabledAtStart);
        } else {
            // Children follow their own top-level item directly.
            EXPECT_EQ(d.parent, currentTop) << d.key;
        }
        // Top-level items and separators carry no help, every other item does.
        EXPECT_EQ(d.help.empty(), IsTopLevel(d) || IsSeparator(d)) << d.key;
        // The add-item help argument is the one quirk of the close command.
        EXPECT_EQ(d.addItemHelp, d.key == "cmnuClose" ? "Close File" : "") << d.key;
    }
    EXPECT_EQ(tops.size(), 7u);
    // Replace, Go to Line and Save As are reached from the keyboard.
    EXPECT_EQ(FindMenuItem("cmnuReplace")->shortcut, "Ctrl+H");
    EXPECT_EQ(FindMenuItem("cmnuGoToLine")->shortcut, "Ctrl+G");
    EXPECT_EQ(FindMenuItem("cmnuSaveAs")->shortcut, "Ctrl+Shift+S");
    // No two commands share a key.
    std::set<std::string> shortcuts;
    for (const MenuItemDef &d : MenuCatalogue()) {
        std::string_view rest = d.shortcut;
        while (!rest.empty()) {
            const std::size_t end = rest.find("; ");
            EXPECT_TRUE(shortcuts.insert(std::string(rest.substr(0, end))).second) << d.key;
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        }
    }
}

TEST(Catalogue, RedoFollowsUndo)
{
    const auto items = MenuCatalogue();
    const int undo = MenuItemIndex("cmnuUndo");
    ASSERT_GT(undo, 0);
    const MenuItemDef &redo = items[static_cast<std::size_t>(undo)]; // the item after Undo
    EXPECT_EQ(redo.key, "cmnuRedo");
    EXPECT_EQ(redo.shortcut, "Ctrl+Y; Ctrl+Shift+Z");
    EXPECT_FALSE(redo.enabledAtStart);
}

TEST(Catalogue, RadioRunsLieBetweenSeparators)
{
    // Each radio run is a contiguous block; the conflict run ends with Find
    // Next Conflict, which shares the run but is never marked.
    std::vector<std::vector<std::string_view>> runs;
    bool inRun = false;
    for (const MenuItemDef &d : MenuCatalogue()) {
        if (d.radioRun) {
            if (!inRun)
                runs.emplace_back();
            runs.back().push_back(d.key);
        }
        inRun = d.radioRun;
    }
    EXPECT_EQ(runs, (std::vector<std::vector<std::string_view>>{
                        {"cmnuAutoSyntax_None", "cmnuAutoSyntax_ByChar", "cmnuAutoSyntax_ByLine"},
                        {"cmnuQ1", "cmnuQ2", "cmnuQ3"},
                        {"cmnuConflicts_None", "cmnuConflicts_All", "cmnuConflicts_Active"}}));
    EXPECT_FALSE(FindMenuItem("cmnuFindNextConflict")->radioRun);
}

TEST(Catalogue, ToolbarButtonsRunMenuCommands)
{
    auto buttons = ToolbarCatalogue();
    ASSERT_EQ(buttons.size(), 41u);
    std::set<std::string_view> keys;
    int dropDowns = 0;
    for (const ToolbarButtonDef &b : buttons) {
        if (b.style == ToolbarStyle::Separator) {
            EXPECT_TRUE(b.key.empty() && b.toolTip.empty());
            continue;
        }
        EXPECT_TRUE(keys.insert(b.key).second) << b.key;
        EXPECT_FALSE(b.icon.empty()) << b.key;
        EXPECT_EQ(b.group != 0, b.style == ToolbarStyle::ButtonGroup) << b.key;
        dropDowns += b.style == ToolbarStyle::DropDown;
        const std::string cmd = CommandForButton(b.key);
        const MenuItemDef *m = FindMenuItem(cmd);
        ASSERT_NE(m, nullptr) << b.key;
        // A button shows the same picture as the command's menu item.
        EXPECT_EQ(m->icon, b.icon) << b.key;
    }
    EXPECT_EQ(dropDowns, 1);
    // The button groups are the radio runs of the menus; Find Next Conflict
    // sits between the conflict buttons but in no group.
    std::map<int, std::vector<std::string>> groups;
    for (const ToolbarButtonDef &b : buttons)
        if (b.group)
            groups[b.group].push_back(CommandForButton(b.key));
    ASSERT_EQ(groups.size(), 2u);
    for (const auto &[group, commands] : groups)
        for (const std::string &cmd : commands)
            EXPECT_TRUE(FindMenuItem(cmd)->radioRun) << cmd;
}

TEST(Catalogue, HelpTableFollowsAddingOrder)
{
    const auto table = BuildMenuHelpTable();
    auto items = MenuCatalogue();
    // Ends exactly at the last item with help (the About item closes the menu).
    ASSERT_EQ(table.size(), items.size() + 1);
    EXPECT_EQ(table[0], "");
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(table[i + 1], items[i].help) << items[i].key;
    EXPECT_EQ(MenuItemIndex("cmnuNoSuchCommand"), 0);
}

TEST(Catalogue, RegisteringHelpResizesTableToEndAtIndex)
{
    std::vector<std::string> table;
    CreateMenuHelp(table, 3, "three");
    CreateMenuHelp(table, 6, "six");
    EXPECT_EQ(table, (std::vector<std::string>{"", "", "", "three", "", "", "six"}));
    // A lower index cuts the table back, keeping the entries below it.
    CreateMenuHelp(table, 4, "four");
    EXPECT_EQ(table, (std::vector<std::string>{"", "", "", "three", "four"}));
}
