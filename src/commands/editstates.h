#pragma once
// Which commands are enabled, pressed and checked for the state of the active
// document. Plain logic: the frame gathers the facts, this decides.

#include <optional>
#include <string_view>
#include <vector>

namespace varkel {

struct EditFacts {
    bool docOpen = false;        // any document record in use
    bool modified = false;       // active document modified
    bool hasFile = false;        // active document has a file
    long selLength = 0;          // active editor's selection length
    bool textEmpty = true;       // active editor's text is empty
    bool canUndo = false;
    bool canRedo = false;
    bool lastSearchEmpty = true; // LastSearchText is empty
    bool wordWrap = false;       // active document wraps lines
    bool utf8 = false;           // active document is read as UTF-8
};

struct CommandState {
    std::string_view command;        // the command's menu key ("cmnuSave")
    std::optional<bool> enabled;     // unset: leave as it is
    std::optional<bool> checked;     // menu check mark and toolbar button pressed
    bool menu = true;                // applies to the menu item
    bool button = true;              // applies to the toolbar button "tb..."
};

// The enable, press and check states of every command that depends on the
// active document, in the order they are applied.
std::vector<CommandState> ComputeEditStates(const EditFacts &facts);

} // namespace varkel
