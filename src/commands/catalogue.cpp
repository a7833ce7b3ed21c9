#include "commands/catalogue.h"

#include <array>

namespace varkel {

namespace {

constexpr bool On = true;
constexpr bool Off = false;

constexpr MenuItemDef top(std::string_view key, std::string_view caption, std::string_view icon)
{
    return {key, caption, "", icon, true, "", ""};
}

constexpr MenuItemDef item(std::string_view parent, std::string_view key, std::string_view caption,
                           std::string_view icon, bool enabled, std::string_view help,
                           std::string_view shortcut = "")
{
    return {key, caption, parent, icon, enabled, help, shortcut};
}

// An item of a run whose members are marked one at a time.
constexpr MenuItemDef radio(std::string_view parent, std::string_view key, std::string_view caption,
                            std::string_view icon, bool enabled, std::string_view help)
{
    return {key, caption, parent, icon, enabled, help, "", true};
}

constexpr MenuItemDef sep(std::string_view parent, std::string_view key = "cmnuSep")
{
    return {key, "-", parent, "", true, "", ""};
}

constexpr std::string_view File = "cmnuFileTOP";
constexpr std::string_view Edit = "cmnuEditTOP";
constexpr std::string_view Search = "cmnuSearchTOP";
constexpr std::string_view Options = "cmnuOptionsTOP";
constexpr std::string_view Tools = "cmnuToolsTOP";
constexpr std::string_view Window = "cmnuWindowTOP";
constexpr std::string_view Help = "cmnuHelpTOP";

constexpr MenuItemDef closeItem()
{
    MenuItemDef d = item(File, "cmnuClose", "&Close", "imgClose", Off, "Close File", "Ctrl+F4");
    d.addItemHelp = "Close File";
    return d;
}

constexpr std::array kMenu{
    top(File, "&File", "imgNew"),
    item(File, "cmnuNew", "&New", "imgNew", On, "Create New File", "Ctrl+N"),
    item(File, "cmnuOpen", "&Open...", "imgOpen", On, "Open Existing File", "Ctrl+O"),
    sep(File),
    item(File, "cmnuRevert", "&Revert", "imgRevert", Off, "Revert to Last Saved"),
    sep(File),
    item(File, "cmnuSave", "&Save", "imgSave", Off, "Save Active Config", "Ctrl+S"),
    item(File, "cmnuSaveAs", "S&ave As...", "imgSaveAs", Off, "Save Config As", "Ctrl+Shift+S"),
    item(File, "cmnuSaveAll", "Sa&ve All", "imgSaveAll", Off, "Save All Configs"),
    sep(File),
    item(File, "cmnuPrint", "&Print", "imgPrint", Off, "Print Config", "Ctrl+P"),
    item(File, "cmnuPrintSetup", "Pr&inter Setup...", "imgOptions", On, "Printer Configuration"),
    sep(File),
    closeItem(),
    item(File, "cmnuCloseAll", "C&lose All", "imgCloseAll", Off, "Close All Files"),
    sep(File),
    item(File, "cmnuRecentFiles", "&Recent Files", "imgRecentFile", On, "Open a Recent File"),
    sep(File),
    item(File, "cmnuExit", "E&xit", "imgExit", On, "Exit Varkel", "Ctrl+Q"),

    top(Edit, "&Edit", "imgEdit"),
    // The editor's own keys for these commands (Alt+Backspace, Shift+Del,
    // Ctrl+Ins, Shift+Ins) run them too.
    item(Edit, "cmnuUndo", "&Undo\tCtrl-Z", "imgUndo", Off, "Undo Last Operation", "Ctrl+Z; Alt+Backspace"),
    item(Edit, "cmnuRedo", "&Redo\tCtrl-Y", "imgRedo", Off, "Redo the last undone change", "Ctrl+Y; Ctrl+Shift+Z"),
    sep(Edit),
    item(Edit, "cmnuCut", "&Cut\tCtrl-X", "imgCut", Off, "Cut Selection", "Ctrl+X; Shift+Del"),
    item(Edit, "cmnuCopy", "C&opy\tCtrl-C", "imgCopy", Off, "Copy Selection", "Ctrl+C; Ctrl+Ins"),
    item(Edit, "cmnuPaste", "&Paste\tCtrl-V", "imgPaste", Off, "Paste ClipBoard Contents", "Ctrl+V; Shift+Ins"),
    item(Edit, "cmnuDelete", "&Delete\tDelete", "imgDelete", Off, "Delete Selection", "Del"),
    item(Edit, "cmnuSelectAll", "&Select All\tCtrl-A", "imgSelectAll", Off, "Select All", "Ctrl+A"),
    sep(Edit),
    item(Edit, "cmnuWordWrap", "&Word Wrap...", "imgWordWrap", Off, "Toggle Word Wrap Mode"),
    // For the script whose encoding was guessed wrong: the same bytes, read
    // the other way.
    item(Edit, "cmnuReopenLatin1", "Reopen as &Latin-1", "", Off, "Read the Script Again as Latin-1"),
    item(Edit, "cmnuReopenUtf8", "Reopen as U&TF-8", "", Off, "Read the Script Again as UTF-8"),
    sep(Edit),
    // The size the editors' text shows at; the font setting stays as it is.
    item(Edit, "cmnuZoomIn", "Zoom &In", "", Off, "Enlarge the Editor Text", "Ctrl++; Ctrl+="),
    item(Edit, "cmnuZoomOut", "Zoom &Out", "", Off, "Reduce the Editor Text", "Ctrl+-"),
    item(Edit, "cmnuZoomReset", "&Normal Size", "", Off, "Show the Editor Text at the Font Size", "Ctrl+0"),

    top(Search, "&Search", "imgFind"),
    item(Search, "cmnuFind", "&Find...", "imgFind", Off, "Find Text", "Ctrl+F"),
    item(Search, "cmnuFindNext", "Find &Next", "imgFindNext", Off, "Find Next Occurrence", "F3"),
    item(Search, "cmnuFindPrev", "Find &Previous", "imgFindPrev", Off, "Find Previous Occurrence", "Shift+F3"),
    item(Search, "cmnuReplace", "&Replace...", "imgReplace", Off, "Replace Text", "Ctrl+H"),
    sep(Search),
    item(Search, "cmnuGoToLine", "&Go to Line...", "", Off, "Move the Caret to a Line", "Ctrl+G"),
    item(Search, "cmnuNextProblem", "Next Pro&blem", "", Off, "Go to the Next Problem in the Script", "F8"),
    item(Search, "cmnuPrevProblem", "Previous Prob&lem", "", Off, "Go to the Previous Problem in the Script", "Shift+F8"),

    top(Options, "&Options", "imgOptions"),
    item(Options, "cmnuEditorFont", "Editor &Font...", "imgFont", On, "Change Editor Font"),
    item(Options, "cmnuEditorBGColor", "Editor &Background Color...", "imgPalette", On,
         "Change Editor Background Color"),
    item(Options, "cmnuSyntaxColors", "&Syntax Colors...", "imgSyntaxSelect", On, "Specify Syntax Colors"),
    sep(Options),
    radio(Options, "cmnuAutoSyntax_None", "No Syntax Highlighting", "imgSyntaxNone", On, "Do Not Color Text"),
    radio(Options, "cmnuAutoSyntax_ByChar", "Auto Syntax By Char", "imgSyntaxAuto", On,
          "Refresh Syntax Highlighting After Each Character is Typed"),
    radio(Options, "cmnuAutoSyntax_ByLine", "Auto Syntax By Line", "imgSyntaxAuto", On,
          "Refresh Syntax Highlighting After Line Has Been Completed"),
    sep(Options),
    item(Options, "cmnuAutoRefresh", "Auto &Refresh Mouse/KB Display", "", On,
         "Refresh Mouse/KB Display While Typing"),
    item(Options, "cmnuToggleKB", "&Toggle Mouse/Keyboard Display", "", On, "Toggle Mouse/Keyboard Display"),
    item(Options, "cmnuBindingsTable", "&Bindings Table", "", On, "Show or Hide the Bindings Table"),
    item(Options, "cmnuProblems", "&Problems", "", On, "Show or Hide the Problems Found in the Script"),
    sep(Options),
    radio(Options, "cmnuQ1", "&Quake Command Set", "imgQ1", On, "Use Quake Command Set"),
    radio(Options, "cmnuQ2", "Q&uake II Command Set", "imgQ2", On, "Use Quake II Command Set"),
    radio(Options, "cmnuQ3", "Qu&ake III Command Set", "imgQ3", On, "Use Quake III Command Set"),
    sep(Options),
    item(Options, "cmnuOptions", "&More Options...", "imgOptions", On, "More Options"),

    top(Tools, "&Tools", "imgTools"),
    item(Tools, "cmnuRefresh", "&Refresh Mouse/Keyboard Display", "imgRefresh", Off,
         "Refresh Mouse/Keyboard Display from Active Config"),
    item(Tools, "cmnuSyntaxRefresh", "&Refresh Syntax Highlighting", "imgSyntaxRefresh", Off,
         "Refresh Syntax Highlighting", "F5"),
    sep(Tools),
    item(Tools, "cmnuCfgComment", "&Configure Comment Block", "", On, "Configure Comment Block"),
    item(Tools, "cmnuInsertComment", "&Insert Comment Block", "", Off, "Insert Comment Block"),
    sep(Tools),
    radio(Tools, "cmnuConflicts_None", "&Do Not Show Conflicts", "imgConflicts_None", Off, "Do Not Show Conflicts"),
    radio(Tools, "cmnuConflicts_All", "&Show All Conflicts", "imgConflicts_All", Off,
          "Show Binding Conflicts in All Open Configs"),
    radio(Tools, "cmnuConflicts_Active", "&Show Active Conflicts", "imgConflicts_Active", Off,
          "Show Binding Conflicts in Active Config Only"),
    // Shares the conflict modes' run but is never marked itself.
    item(Tools, "cmnuFindNextConflict", "&Find Next Conflict", "imgFindNextConflict", Off, "Find Next Conflict"),
    sep(Tools),
    item(Tools, "cmnuCfgUserTools", "Configure User Tools...", "", On, "Configure User Tools"),

    top(Window, "&Window", "imgCascade"),
    item(Window, "cmnuTileHorz", "Tile &Horizontally", "imgTileHorz", Off, "Tile Windows Horizontally"),
    item(Window, "cmnuTileVert", "Tile &Vertically", "imgTileVert", Off, "Tile Windows Vertically"),
    item(Window, "cmnuCascade", "&Cascade", "imgCascade", Off, "Cascade Windows"),
    item(Window, "cmnuArrange", "&Arrange Icons", "", Off, "Arrange Minimized Windows"),

    top(Help, "&Help", "imgHelp"),
    item(Help, "cmnuHelpContents", "&Contents...", "imgHelp", On, "Help Contents", "F1"),
    item(Help, "cmnuHelpSearch", "&Search for Help on...", "", On, "Search for Help"),
    sep(Help, "mnuSep"),
    item(Help, "cmnuAbout", "&About Varkel...", "", On, "Varkel Version/Contact Info"),
};

constexpr ToolbarButtonDef button(std::string_view key, std::string_view icon, std::string_view tip,
                                  ToolbarStyle style = ToolbarStyle::Default, int group = 0)
{
    return {key, icon, tip, style, group};
}

constexpr ToolbarButtonDef tbSep() { return {"", "", "", ToolbarStyle::Separator, 0}; }

constexpr int ConflictGroup = 1;
constexpr int CommandSetGroup = 2;
constexpr auto Group = ToolbarStyle::ButtonGroup;

constexpr std::array kToolbar{
    button("tbNew", "imgNew", "Create New File"),
    button("tbOpen", "imgOpen", "Open Existing File", ToolbarStyle::DropDown),
    button("tbRevert", "imgRevert", "Revert to Last Saved"),
    button("tbSave", "imgSave", "Save File"),
    button("tbSaveAs", "imgSaveAs", "Save File As"),
    button("tbSaveAll", "imgSaveAll", "Save All Open Configs"),
    button("tbPrint", "imgPrint", "Print Active Config"),
    tbSep(),
    button("tbUndo", "imgUndo", "Undo Last Operation"),
    button("tbCut", "imgCut", "Cut Selection"),
    button("tbCopy", "imgCopy", "Copy Selection"),
    button("tbPaste", "imgPaste", "Paste ClipBoard Contents"),
    button("tbDelete", "imgDelete", "Delete Selection"),
    button("tbSelectAll", "imgSelectAll", "Select All"),
    tbSep(),
    button("tbEditorFont", "imgFont", "Change Editor Font"),
    button("tbEditorBGColor", "imgPalette", "Chage Editor Background Color"),
    button("tbWordWrap", "imgWordWrap", "Toggle Word Wrap Mode", ToolbarStyle::Check),
    tbSep(),
    button("tbFind", "imgFind", "Find Text"),
    button("tbFindNext", "imgFindNext", "Find Next Occurrence"),
    button("tbFindPrev", "imgFindPrev", "Find Previous Occurrence"),
    button("tbReplace", "imgReplace", "Replace Text"),
    tbSep(),
    button("tbRefresh", "imgRefresh", "Refresh Mouse/Keyboard Display"),
    button("tbSyntaxRefresh", "imgSyntaxRefresh", "Refresh Syntax Highlighting"),
    tbSep(),
    button("tbConflicts_None", "imgConflicts_None", "Do Not Show Conflicts", Group, ConflictGroup),
    button("tbConflicts_All", "imgConflicts_All", "Show Binding Conflicts in All Open Configs", Group, ConflictGroup),
    button("tbConflicts_Active", "imgConflicts_Active", "Show Binding Conflicts in Active Config", Group,
           ConflictGroup),
    button("tbFindNextConflict", "imgFindNextConflict", "Find Next Conflict"),
    tbSep(),
    button("tbQ1", "imgQ1", "Use Quake Command Set", Group, CommandSetGroup),
    button("tbQ2", "imgQ2", "Use Quake II Command Set", Group, CommandSetGroup),
    button("tbQ3", "imgQ3", "Use Quake III Command Set", Group, CommandSetGroup),
    tbSep(),
    button("tbTileHorz", "imgTileHorz", "Tile Config Windows Horizontally"),
    button("tbTileVert", "imgTileVert", "Tile Config Windows Vertically"),
    button("tbCascade", "imgCascade", "Cascade Config Windows"),
    tbSep(),
    button("tbHelpContents", "imgHelp", "Help Contents"),
};
static_assert(kToolbar.size() == 41);

constexpr std::array<StatusPanelDef, 9> kPanels{{
    {"Ready", ""},
    {"Line", ""},
    {"Col", ""},
    {"Char:", ""},
    {"NUM", "Number Lock Status"},
    {"CAPS", "Caps Lock Status"},
    {"SCRL", "Scroll Lock Status"},
    {"Q2", "The command set of the active script"},
    {"", "The encoding the active script is read in"},
}};

} // namespace

std::span<const MenuItemDef> MenuCatalogue() { return kMenu; }

const MenuItemDef *FindMenuItem(std::string_view key)
{
    for (const MenuItemDef &d : kMenu)
        if (d.key == key)
            return &d;
    return nullptr;
}

bool IsSeparator(const MenuItemDef &item) { return item.caption == "-"; }

bool IsTopLevel(const MenuItemDef &item) { return item.parent.empty(); }

int MenuItemIndex(std::string_view key)
{
    for (std::size_t i = 0; i < kMenu.size(); ++i)
        if (kMenu[i].key == key)
            return static_cast<int>(i) + 1;
    return 0;
}

std::span<const ToolbarButtonDef> ToolbarCatalogue() { return kToolbar; }

std::string CommandForButton(std::string_view buttonKey)
{
    if (!buttonKey.starts_with("tb"))
        return {};
    std::string cmd = "cmnu";
    cmd += buttonKey.substr(2);
    return cmd;
}

std::span<const StatusPanelDef> StatusPanels() { return kPanels; }

void CreateMenuHelp(std::vector<std::string> &table, int index, std::string_view text)
{
    if (index < 0)
        return;
    table.resize(static_cast<std::size_t>(index) + 1);
    table[static_cast<std::size_t>(index)] = std::string(text);
}

std::vector<std::string> BuildMenuHelpTable()
{
    std::vector<std::string> table;
    int index = 0;
    for (const MenuItemDef &d : kMenu) {
        ++index;
        if (!d.help.empty())
            CreateMenuHelp(table, index, d.help);
    }
    return table;
}

} // namespace varkel
