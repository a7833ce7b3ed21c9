#pragma once
// The insertion tools of the main window as plain rules: the text each tool
// places in a script for each command set, where that text goes (the active
// document or the binding box), when the tool's buttons are enabled, what
// its search button looks for, and what is refreshed after an insertion.
// The widgets only gather their texts and carry out what these decide.

#include "language/dictionary.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace varkel {

class UserVariableList;

// The two values of mGlobal::InsertTarget. An empty target (nothing has had
// the focus yet) behaves as the edit box.
inline constexpr std::string_view kEditBox = "EDITBOX";
inline constexpr std::string_view kBindingBox = "BINDINGBOX";

// The pick-list rows: index of cboCommand, lblCommandDes, cmdInsertCommand
// and cmdSearchCommand.
inline constexpr int kAliasRow = 0;   // aliases (Q1, Q2) or vstr variables (Q3)
inline constexpr int kCommandRow = 1; // console commands
inline constexpr int kCvarRow = 2;    // console variables
inline constexpr int kCommandRowCount = 3;

// The tool an insert or search button belongs to.
enum class InsertionTool { Alias, Command, Cvar, Item, Binding };

// The tool of pick-list row 0..2.
InsertionTool ToolOfRow(int row);

// ---------------------------------------------------------------------------
// Texts

// What row 0..2 inserts for the combo box text: the text itself, except that
// Quake III's row 0 inserts "vstr " + the variable name.
std::string CommandRowInsertText(int row, std::string_view set, std::string_view comboText);

// The whole bind line of the binding row: bind KEY "COMMAND". The key is
// written as the key box shows it; Quake III lower-cases a key name of one
// character (after trimming spaces), so "A" becomes "a".
std::string BindingInsertText(std::string_view set, std::string_view keyText, std::string_view binding);

// Where a bind line goes when it is placed at the caret: over the selection
// when there is one; at the caret when the caret's line is empty; otherwise
// as a line of its own, ended with the document's line end, before the
// caret's line, so that it never joins the text already on that line. The
// caret stays where it was in the text it stood in.
struct LinePlacement {
    std::size_t start = 0;   // byte offset where the text goes
    std::size_t length = 0;  // bytes it replaces (the selection)
    std::string text;        // what goes there
    std::size_t caret = 0;   // the caret afterwards
    bool ownLine = false;    // placed before the caret's line
};
LinePlacement PlaceBindingLine(std::string_view document, std::size_t selStart, std::size_t selLength,
                               std::string_view lineEnd, std::string_view bindLine);

// ---------------------------------------------------------------------------
// Enable rules

// Insert and search buttons of row 0..2. Row 0: the user variable list holds
// the text (exactly as written). Rows 1 and 2: the text is longer than one
// character and the keyword dictionary holds it (any case).
bool CommandRowEnabled(int row, std::string_view comboText, const UserVariableList *vars,
                       const GameDictionary &dict);

// Insert and search buttons of the item row: an item is picked, not a
// heading ("Q2 Items", "TA Items": from the fourth character on "Items").
// `entry` is null while the box shows only its caption.
bool ItemToolsEnabled(const ItemEntry *entry);

// The binding row's insert button: a key name and a command are given and
// at least one document is open. The key name is not checked.
bool BindingToolEnabled(std::string_view keyText, std::string_view binding, bool documentOpen);

// ---------------------------------------------------------------------------
// Search buttons

// What a row's search button looks for in the active document: the command or
// cvar itself (rows 1 and 2), or for row 0 the value recorded for the alias or
// variable (the first word of its body, or the variable's value). Nothing when
// row 0's text is no user variable.
std::optional<std::string> CommandRowSearchText(int row, std::string_view comboText, const UserVariableList *vars);

// ---------------------------------------------------------------------------
// Where an insertion goes and what follows it

// The insertion target after one of the events that move it.
enum class TargetEvent {
    EditorLostFocus,     // a document's editor lost the focus
    BindingBoxChanged,   // txtBinding's text changed
    BindingBoxLostFocus, // txtBinding lost the focus
};
std::string NextInsertTarget(TargetEvent event);

enum class InsertDestination { Nowhere, Editor, BindingBox };

// Where a click on an insert button puts its text. Binding lines always go to
// the document; the other tools go to the binding box while it is the target,
// otherwise to the active document when its editor is visible.
InsertDestination ClickDestination(InsertionTool tool, std::string_view insertTarget, bool editorVisible);

// What runs after an insertion: the active document's line colouring
// (RealTimeHiLite with 0), RefreshBindings, or RefreshAll.
struct AfterInsertion {
    bool realTimeHiLite = false;
    bool refreshBindings = false;
    bool refreshAll = false;
};

// After a left click that inserted into `destination`.
AfterInsertion AfterClick(InsertionTool tool, InsertDestination destination, int autoSyntaxType, bool autoRefresh);

// After a right-button drag ended, whatever its result.
AfterInsertion AfterDrag(InsertionTool tool, std::string_view insertTarget, bool editorVisible, int autoSyntaxType,
                         bool autoRefresh);

// ---------------------------------------------------------------------------
// Captions and tool tips

// Row captions (lblCommandDes) and row 0's box caption: "Alias" or, for
// Quake III, "Vstr"; "Command"; "Cvar".
std::string_view RowCaption(int row, std::string_view set);
// The text a row's box shows after the dictionary was built: row 0 its
// caption, rows 1 and 2 the set + " Commands" / " Cvars".
std::string RowInitialText(int row, std::string_view set);
// The item box's caption: the set + " Items".
std::string ItemsCaption(std::string_view set);

// Tool tips; those of the buttons and of txtBinding are also the status texts
// shown while the pointer moves over them.
std::string_view InsertToolTip(InsertionTool tool, std::string_view set);
std::string_view SearchToolTip(InsertionTool tool, std::string_view set); // empty for the binding row
std::string_view AliasListToolTip(std::string_view set);
inline constexpr std::string_view kBindingBoxToolTip = "Press Enter to Place Binding at Insertion Point";

// The alias / vstr box's text after its list was refilled: the entry it
// showed before if the user variable list still holds it, else its caption.
std::string AliasRowText(const UserVariableList *vars, std::string_view previous, std::string_view set);

} // namespace varkel
