#pragma once
// Varkel's fixed command catalogue: the menu tree, the main toolbar's buttons
// and the status-bar panels, as plain data. The menu and toolbar widgets are
// built from these tables, and every command reaches the dispatcher by its key.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

struct MenuItemDef {
    std::string_view key;       // "cmnuNew"; separators "cmnuSep" (Help menu: "mnuSep"); top-level "cmnuFileTOP"
    std::string_view caption;   // exactly as shown: "&New", "&Undo\tCtrl-Z", "-" for separators
    std::string_view parent;    // "" for top-level items, else the parent's key ("cmnuFileTOP")
    std::string_view icon;      // "imgNew", or "" for none
    bool enabledAtStart;
    std::string_view help;      // status-bar help text; "" for top-level items and separators
    std::string_view shortcut;  // keyboard accelerators in Qt's portable text form, "; " between two, "" for none
    bool radioRun = false;      // item of a radio run (auto-syntax modes, conflict modes, Q1..Q3)
    // Help text handed to the menu control's add-item call. Empty for every
    // item but "cmnuClose"; the status bar uses `help` through the help table.
    std::string_view addItemHelp = {};
};

// All items in menu order: each top-level item followed by its children;
// File, Edit, Search, Options, Tools, Window, Help.
std::span<const MenuItemDef> MenuCatalogue();

// The first item with this key, nullptr when absent. Separator keys are
// shared, so looking them up yields the first separator of that key.
const MenuItemDef *FindMenuItem(std::string_view key);

bool IsSeparator(const MenuItemDef &item);
bool IsTopLevel(const MenuItemDef &item);

enum class ToolbarStyle { Default, Check, ButtonGroup, Separator, DropDown };

struct ToolbarButtonDef {
    std::string_view key;       // "tbNew"; "" for separators
    std::string_view icon;      // "imgNew"; "" for separators
    std::string_view toolTip;
    ToolbarStyle style;
    int group = 0;              // exclusive group: 1 conflict modes, 2 command sets, 0 none
};

// The 41 toolbar positions in order, separators included (empty key).
std::span<const ToolbarButtonDef> ToolbarCatalogue();

// The menu key a toolbar button runs: its leading "tb" replaced by "cmnu"
// ("tbReplace" -> "cmnuReplace"). "" for a key that does not begin with "tb"
// (separators), which runs nothing.
std::string CommandForButton(std::string_view buttonKey);

struct StatusPanelDef {
    std::string_view initialText;
    std::string_view toolTip;
};

// The nine status-bar panels: status text, line, column, character, the
// Num, Caps and Scroll lock indicators, the active script's command set and
// its encoding.
std::span<const StatusPanelDef> StatusPanels();

// Registers help text for menu item `index` the way the menu help table
// works: the table is resized to end exactly at `index` (entries below are
// kept, entries above are dropped) and the text is stored there.
void CreateMenuHelp(std::vector<std::string> &table, int index, std::string_view text);

// The menu help table as it stands after the catalogue has been added in
// order: index n (1-based adding order, top-level items and separators
// counted) holds item n's help text; index 0, top-level items and separators
// hold "". The table ends at the last item that has help.
std::vector<std::string> BuildMenuHelpTable();

// 1-based adding index of the catalogue item with this key (first match),
// 0 when absent.
int MenuItemIndex(std::string_view key);

} // namespace varkel
