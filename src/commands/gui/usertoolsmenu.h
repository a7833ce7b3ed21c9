#pragma once
// The user tools in the running program: their items at the end of the Tools
// menu, and starting one.

#include <string>
#include <string_view>
#include <vector>

namespace varkel {

class PopupMenu;

// Puts one item per tool at the end of the Tools menu ("cmnuToolsTOP"): key
// "cmnuUserTool" + n, caption = the tool's name, item data n. With mode
// "REPLACE" the items of the toolsInMenu tools put there before are removed
// first ("ADD" adds only). Returns the number of tool items now in the menu.
int BuildUserToolsMenu(PopupMenu &menu, std::string_view mode, int toolsInMenu,
                       const std::vector<std::string> &names);

// Starts a tool's stored command line, detached, with no shell in between.
// When the whole text is a path to an existing program (a path with spaces
// chosen with the browse button) that program is started with no arguments; otherwise the
// text is split into program and arguments like a shell would split it (see
// SplitCommandLine) without any expansion. False when nothing was started.
bool StartUserTool(const std::string &commandLine);

} // namespace varkel
