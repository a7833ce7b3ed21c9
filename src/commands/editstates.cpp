#include "commands/editstates.h"

namespace varkel {

std::vector<CommandState> ComputeEditStates(const EditFacts &f)
{
    std::vector<CommandState> s;
    const bool open = f.docOpen;
    auto both = [&](std::string_view cmd, bool enabledWhenOpen) {
        s.push_back({cmd, open && enabledWhenOpen, std::nullopt});
    };

    both("cmnuSave", f.modified);
    const bool sel = f.selLength > 0;
    both("cmnuCut", sel);
    both("cmnuCopy", sel);
    both("cmnuDelete", sel);
    const bool canSearchAgain = !f.lastSearchEmpty || sel;
    both("cmnuFindNext", canSearchAgain);
    both("cmnuFindPrev", canSearchAgain);
    both("cmnuUndo", f.canUndo);
    both("cmnuRedo", f.canRedo);
    both("cmnuPrint", !f.textEmpty);
    both("cmnuSelectAll", !f.textEmpty);
    both("cmnuFind", !f.textEmpty);
    both("cmnuReplace", !f.textEmpty);
    both("cmnuRevert", f.modified && f.hasFile);
    both("cmnuReopenLatin1", f.utf8);
    both("cmnuReopenUtf8", !f.utf8);
    if (!open)
        s.push_back({"cmnuFindNextConflict", false, std::nullopt});
    s.push_back({"cmnuWordWrap", open, open ? std::optional<bool>(f.wordWrap) : std::nullopt});
    for (std::string_view cmd : {"cmnuPaste", "cmnuSaveAs", "cmnuSaveAll", "cmnuRefresh", "cmnuSyntaxRefresh",
                                 "cmnuConflicts_None", "cmnuConflicts_All", "cmnuConflicts_Active",
                                 "cmnuTileHorz", "cmnuTileVert", "cmnuCascade",
                                 "cmnuGoToLine", "cmnuZoomIn", "cmnuZoomOut", "cmnuZoomReset",
                                 "cmnuNextProblem", "cmnuPrevProblem"})
        both(cmd, true);
    for (std::string_view cmd : {"cmnuArrange", "cmnuClose", "cmnuCloseAll", "cmnuInsertComment"})
        s.push_back({cmd, open, std::nullopt, true, false});
    return s;
}

} // namespace varkel
