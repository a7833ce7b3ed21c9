#include "commands/catalogue.h"

#include <gtest/gtest.h>

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
            EXPECT_TRUE(d.key.ends_with("TOP")) << d.key;
            EXPECT_TRUE(d.enabledAtStart);
        } else {
            // Children follow their own top-level item directly.
            EXPECT_EQ(d.parent, currentTop) << d.key;
            const MenuItemDef *parent = FindMenuItem(d.parent);
            ASSERT_NE(parent, nullptr) << d.key;
            EXPECT_TRUE(IsTopLevel(*parent));
        }
        // Top-level items and separators carry no help, every other item does.
        EXPECT_EQ(d.help.empty(), IsTopLevel(d) || IsSeparator(d)) << d.key;
        // The add-item help argument is the one quirk of the close command.
        EXPECT_EQ(d.addItemHelp, d.key == "cmnuClose" ? "Close File" : "") << d.key;
    }
    const std::vector<std::string_view> expectedTops{"cmnuFileTOP",    "cmnuEditTOP",  "cmnuSearchTOP",
                                                     "cmnuOptionsTOP", "cmnuToolsTOP", "cmnuWindowTOP",
                                                     "cmnuHelpTOP"};
    EXPECT_EQ(tops, expectedTops);
    EXPECT_EQ(FindMenuItem("cmnuReplace"), nullptr);
    EXPECT_EQ(FindMenuItem("nothing"), nullptr);
}

TEST(Catalogue, MenuQuirksAreKept)
{
    auto caption = [](std::string_view key) { return FindMenuItem(key)->caption; };
    auto help = [](std::string_view key) { return FindMenuItem(key)->help; };
    EXPECT_EQ(caption("cmnuSaveAll"), "Sa&ve All");
    EXPECT_EQ(caption("cmnuUndo"), "&Undo\tCtrl-Z");
    EXPECT_EQ(caption("cmnuDelete"), "&Delete\tDelete");
    EXPECT_EQ(caption("cmnuWordWrap"), "&Word Wrap...");
    EXPECT_EQ(help("cmnuPaste"), "Paste ClipBoard Contents");
    EXPECT_EQ(help("cmnuEditorBGColor"), "Change Editor Background Color");
    EXPECT_EQ(help("cmnuClose"), "Close File");

    const MenuItemDef *helpSep = nullptr;
    for (const MenuItemDef &d : MenuCatalogue())
        if (d.parent == "cmnuHelpTOP" && IsSeparator(d))
            helpSep = &d;
    ASSERT_NE(helpSep, nullptr);
    EXPECT_EQ(helpSep->key, "mnuSep");
    EXPECT_EQ(FindMenuItem("cmnuSep")->parent, "cmnuFileTOP");

    EXPECT_EQ(FindMenuItem("cmnuArrange")->icon, "");
    EXPECT_EQ(FindMenuItem("cmnuPrintSetup")->icon, "imgOptions");
    EXPECT_FALSE(FindMenuItem("cmnuSave")->enabledAtStart);
    EXPECT_TRUE(FindMenuItem("cmnuPrintSetup")->enabledAtStart);
    EXPECT_EQ(FindMenuItem("cmnuDelete")->shortcut, "Del");
    EXPECT_EQ(FindMenuItem("cmnuFindPrev")->shortcut, "Shift+F3");
    EXPECT_EQ(FindMenuItem("cmnuSaveAs")->shortcut, "");
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
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].front(), "cmnuAutoSyntax_None");
    EXPECT_EQ(runs[1].front(), "cmnuQ1");
    EXPECT_EQ(runs[2].back(), "cmnuConflicts_Active");
    for (const auto &run : runs)
        EXPECT_EQ(run.size(), 3u);
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
            EXPECT_TRUE(b.key.empty());
            EXPECT_TRUE(b.toolTip.empty());
            EXPECT_EQ(CommandForButton(b.key), "");
            continue;
        }
        EXPECT_TRUE(keys.insert(b.key).second) << b.key;
        EXPECT_FALSE(b.icon.empty()) << b.key;
        EXPECT_EQ(b.group != 0, b.style == ToolbarStyle::ButtonGroup) << b.key;
        dropDowns += b.style == ToolbarStyle::DropDown;
        const std::string cmd = CommandForButton(b.key);
        if (cmd == "cmnuReplace")
            continue;
        const MenuItemDef *m = FindMenuItem(cmd);
        ASSERT_NE(m, nullptr) << b.key;
        // A button shows the same picture as the command's menu item.
        EXPECT_EQ(m->icon, b.icon) << b.key;
    }
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(buttons[1].key, "tbOpen");
    EXPECT_EQ(buttons[1].style, ToolbarStyle::DropDown);
    EXPECT_EQ(CommandForButton("tbReplace"), "cmnuReplace");
    EXPECT_EQ(CommandForButton("tbConflicts_All"), "cmnuConflicts_All");

    EXPECT_EQ(buttons[16].key, "tbEditorBGColor");
    EXPECT_EQ(buttons[16].toolTip, "Chage Editor Background Color");
    EXPECT_EQ(buttons[11].toolTip, "Paste ClipBoard Contents");
    EXPECT_EQ(buttons[17].style, ToolbarStyle::Check);
    for (int i : {27, 28, 29})
        EXPECT_EQ(buttons[i].group, 1) << buttons[i].key;
    for (int i : {32, 33, 34})
        EXPECT_EQ(buttons[i].group, 2) << buttons[i].key;
    EXPECT_EQ(buttons[30].key, "tbFindNextConflict");
    EXPECT_EQ(buttons[30].group, 0);
}

TEST(Catalogue, StatusPanels)
{
    auto panels = StatusPanels();
    ASSERT_EQ(panels.size(), 7u);
    EXPECT_EQ(panels[3].initialText, "Char:");
    EXPECT_EQ(panels[4].initialText, "NUM");
    EXPECT_EQ(panels[6].toolTip, "Scroll Lock Status");
}

TEST(Catalogue, HelpTableFollowsAddingOrder)
{
    const auto table = BuildMenuHelpTable();
    auto items = MenuCatalogue();
    // Ends exactly at the last item with help (the About item closes the menu).
    ASSERT_EQ(table.size(), items.size() + 1);
    EXPECT_EQ(table[0], "");
    EXPECT_EQ(table[1], "");                 // "&File"
    EXPECT_EQ(table[2], "Create New File");  // "&New"
    EXPECT_EQ(table[4], "");                 // first separator
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(table[i + 1], items[i].help) << items[i].key;
    EXPECT_EQ(table[static_cast<std::size_t>(MenuItemIndex("cmnuPaste"))], "Paste ClipBoard Contents");
    EXPECT_EQ(MenuItemIndex("cmnuReplace"), 0);
}

TEST(Catalogue, RegisteringHelpResizesTableToEndAtIndex)
{
    std::vector<std::string> table;
    CreateMenuHelp(table, 3, "three");
    ASSERT_EQ(table.size(), 4u);
    CreateMenuHelp(table, 6, "six");
    ASSERT_EQ(table.size(), 7u);
    EXPECT_EQ(table[3], "three");
    EXPECT_EQ(table[5], "");
    // A lower index cuts the table back, keeping the entries below it.
    CreateMenuHelp(table, 4, "four");
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[3], "three");
    EXPECT_EQ(table[4], "four");
}
