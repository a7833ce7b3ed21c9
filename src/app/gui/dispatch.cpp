// The one dispatcher: every menu item, toolbar button and command key runs
// through this table, and each row calls the part that owns the command.
// The options dialog is opened from here too, since what it changes reaches
// several parts.

#include "app/gui/fmain.h"

#include "app/mglobal.h"
#include "bindings/gui/keybindings.h"
#include "bindings/gui/scriptchecks.h"
#include "commands/gui/menucommands.h"
#include "dialogs/fileassoc.h"
#include "dialogs/gui/fabout.h"
#include "dialogs/gui/fileassocui.h"
#include "dialogs/gui/foptions.h"
#include "commands/gui/usertoolsmenu.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "language/gui/colouring.h"

#include <map>
#include <memory>
#include <unordered_map>

namespace varkel {

void fMain::Dispatch(const std::string &key, int itemData)
{
    try {
        if (itemData > 0) {
            // Run-time items: the key says which list, the item data which entry.
            if (key.rfind("cmnuChild", 0) == 0) {
                m_documents->ActivateDocument(itemData);
            } else if (key.rfind("cmnuRecentFile", 0) == 0) {
                // A free entry names nothing; it must not fall through to
                // the Open dialog.
                if (itemData <= kRecentFileCount)
                    if (const std::string entry = m_commands->RecentFiles()[static_cast<size_t>(itemData - 1)];
                        !entry.empty())
                        m_documents->OpenConfig(entry);
            } else if (key == "cmnuOpenExec") {
                m_bindings->FollowExec();
            } else if (key == "cmnuAddMyName") {
                m_checks->AddMyNameFromMenu();
            } else if (key.rfind("cmnuUserTool", 0) == 0 && itemData <= static_cast<int>(mGlobal::ToolPaths.size())) {
                StartUserTool(mGlobal::ToolPaths[static_cast<size_t>(itemData - 1)]); // a failure ends silently
            }
            return;
        }
        RichEdit *editor = m_documents->ActiveEditor();
        const int d = m_documents->ActiveDoc();
        using Op = void (*)(fMain &, RichEdit *, int);
        static const std::unordered_map<std::string, Op> table = {
            {"cmnuNew", [](fMain &f, RichEdit *, int) { f.documents().NewConfig(); }},
            {"cmnuOpen", [](fMain &f, RichEdit *, int) { f.documents().OpenConfig(QString()); }},
            {"cmnuSave", [](fMain &f, RichEdit *, int d) { if (d) f.documents().SaveConfig(d, f.documents().Docs()[d].Path); }},
            {"cmnuSaveAs", [](fMain &f, RichEdit *, int d) { if (d) f.documents().SaveConfigAs(d, QString()); }},
            {"cmnuSaveAll", [](fMain &f, RichEdit *, int) { f.documents().SaveAllFiles(); }},
            {"cmnuRevert", [](fMain &f, RichEdit *, int) { f.documents().RevertFile(); }},
            {"cmnuClose", [](fMain &f, RichEdit *, int) { f.documents().CloseActive(); }},
            {"cmnuCloseAll", [](fMain &f, RichEdit *, int) { f.documents().CloseAllFiles(); }},
            {"cmnuUndo", [](fMain &f, RichEdit *, int) { f.documents().EditUndo(); }},
            {"cmnuRedo", [](fMain &f, RichEdit *, int) { f.documents().EditRedo(); }},
            {"cmnuCut", [](fMain &f, RichEdit *, int) { f.documents().EditCut(); }},
            {"cmnuCopy", [](fMain &f, RichEdit *, int) { f.documents().EditCopy(); }},
            {"cmnuPaste", [](fMain &f, RichEdit *, int) { f.documents().EditPaste(); }},
            {"cmnuDelete", [](fMain &f, RichEdit *, int) { f.documents().EditDelete(); }},
            {"cmnuSelectAll", [](fMain &f, RichEdit *, int) { f.documents().EditSelectAll(); }},
            {"cmnuWordWrap", [](fMain &f, RichEdit *, int) { f.documents().ToggleWordWrap(); }},
            {"cmnuReopenLatin1", [](fMain &f, RichEdit *, int) { f.documents().ReopenAs(Encoding::Latin1); }},
            {"cmnuReopenUtf8", [](fMain &f, RichEdit *, int) { f.documents().ReopenAs(Encoding::Utf8); }},
            {"cmnuTileHorz", [](fMain &f, RichEdit *, int) { f.documents().Arrange(1); }},
            {"cmnuTileVert", [](fMain &f, RichEdit *, int) { f.documents().Arrange(2); }},
            {"cmnuCascade", [](fMain &f, RichEdit *, int) { f.documents().Arrange(0); }},
            {"cmnuArrange", [](fMain &f, RichEdit *, int) { f.documents().Arrange(3); }},
            {"cmnuToggleKB", [](fMain &f, RichEdit *, int) { f.bindings().ToggleKeyboard(); }},
            {"cmnuBindingsTable", [](fMain &f, RichEdit *, int) { f.bindings().ToggleBindingsTable(); }},
            {"cmnuProblems", [](fMain &f, RichEdit *, int) { f.checks().ToggleProblemsList(); }},
            {"cmnuNextProblem", [](fMain &f, RichEdit *, int) { f.checks().GoToFinding(true); }},
            {"cmnuPrevProblem", [](fMain &f, RichEdit *, int) { f.checks().GoToFinding(false); }},
            {"cmnuExit", [](fMain &f, RichEdit *, int) { f.close(); }},
            {"cmnuQ1", [](fMain &f, RichEdit *, int) { f.colouring().SwitchCommandSet("Q1"); }},
            {"cmnuQ2", [](fMain &f, RichEdit *, int) { f.colouring().SwitchCommandSet("Q2"); }},
            {"cmnuQ3", [](fMain &f, RichEdit *, int) { f.colouring().SwitchCommandSet("Q3"); }},
            {"cmnuAutoSyntax_None", [](fMain &f, RichEdit *, int) { f.colouring().SetAutoSyntax(0, false); }},
            {"cmnuAutoSyntax_ByChar", [](fMain &f, RichEdit *, int) { f.colouring().SetAutoSyntax(1, false); }},
            {"cmnuAutoSyntax_ByLine", [](fMain &f, RichEdit *, int) { f.colouring().SetAutoSyntax(2, false); }},
            {"cmnuSyntaxRefresh", [](fMain &f, RichEdit *e, int) { if (e) f.colouring().SyntaxHiLiteAll(e); }},
            {"cmnuEditorFont", [](fMain &f, RichEdit *, int) { f.colouring().SetEditorFont(); }},
            {"cmnuEditorBGColor", [](fMain &f, RichEdit *, int) {
                 f.colouring().SetEditorBGColor();
                 f.checks().RestyleAll();
             }},
            {"cmnuInsertComment", [](fMain &f, RichEdit *, int) { f.colouring().InsertCommentBlock(); }},
            {"cmnuRefresh", [](fMain &f, RichEdit *, int) { f.bindings().RefreshBindings(); }},
            {"cmnuAutoRefresh", [](fMain &f, RichEdit *, int) { f.bindings().ToggleAutoRefresh(); }},
            {"cmnuConflicts_All", [](fMain &f, RichEdit *, int) {
                 mGlobal::ConflictType = 1;
                 f.bindings().SetConflictState();
                 f.bindings().ShowAllConflicts();
             }},
            {"cmnuConflicts_Active", [](fMain &f, RichEdit *, int) {
                 mGlobal::ConflictType = 2;
                 f.bindings().SetConflictState();
             }},
            {"cmnuConflicts_None", [](fMain &f, RichEdit *, int) {
                 mGlobal::ConflictType = 0;
                 f.bindings().SetConflictState();
             }},
            {"cmnuFindNextConflict", [](fMain &f, RichEdit *e, int) { if (e) f.bindings().FindNextConflict(e->SelStart() + 1); }},
            {"cmnuFind", [](fMain &f, RichEdit *, int) { f.commands().FindText(); }},
            {"cmnuFindNext", [](fMain &f, RichEdit *, int) { f.commands().FindNext(); }},
            {"cmnuFindPrev", [](fMain &f, RichEdit *, int) { f.commands().FindPrevious(); }},
            {"cmnuReplace", [](fMain &f, RichEdit *, int) { f.commands().ShowReplaceDialog(); }},
            {"cmnuGoToLine", [](fMain &f, RichEdit *, int) { f.documents().GoToLine(); }},
            {"cmnuZoomIn", [](fMain &f, RichEdit *, int) { f.documents().Zoom(1); }},
            {"cmnuZoomOut", [](fMain &f, RichEdit *, int) { f.documents().Zoom(-1); }},
            {"cmnuZoomReset", [](fMain &f, RichEdit *, int) { f.documents().ResetZoom(); }},
            {"cmnuPrint", [](fMain &f, RichEdit *e, int) { if (e) f.commands().PrintActive(); }},
            {"cmnuPrintSetup", [](fMain &f, RichEdit *, int) { f.commands().PrintSetup(); }},
            {"cmnuHelpContents", [](fMain &f, RichEdit *, int) { f.commands().GetHelp(QStringLiteral("Contents")); }},
            {"cmnuHelpSearch", [](fMain &f, RichEdit *, int) { f.commands().GetHelp(QStringLiteral("Search")); }},
            {"cmnuSyntaxColors", [](fMain &f, RichEdit *, int) { f.ShowOptions(0); }},
            {"cmnuCfgComment", [](fMain &f, RichEdit *, int) { f.ShowOptions(1); }},
            {"cmnuCfgUserTools", [](fMain &f, RichEdit *, int) { f.ShowOptions(2); }},
            {"cmnuOptions", [](fMain &f, RichEdit *, int) { f.ShowOptions(3); }},
            {"cmnuAbout", [](fMain &f, RichEdit *, int) {
                 fAbout about(&f);
                 about.exec();
             }},
        };
        if (auto it = table.find(key); it != table.end())
            it->second(*this, editor, d);
    } catch (...) {
        // An error inside a command ends that command silently.
    }
}

void fMain::ShowOptions(int page)
{
    fOptions::Hooks hooks;
    // The dialog has stored the mode and colours; the parts apply them.
    hooks.syntaxApplied = [this] {
        m_colouring->SetAutoSyntax(mGlobal::AutoSyntaxType, true);
        m_checks->RestyleAll();
    };
    hooks.userToolsApplied = [this] { m_commands->BuildUserToolsMenu("REPLACE"); };
    hooks.detectionApplied = [this] { ApplyGameDetection(); };
    hooks.editorsApplied = [this] { m_colouring->ApplyEditorSettingsToAll(); };
    hooks.checksApplied = [this] { m_checks->ApplySettings(); };
    hooks.reportError = [this](const Error &error) { ReportError(error); };
    hooks.isAssociated = [](const std::string &extension) { return FileTypeBoxChecked(extension); };
    // Both boxes share the desktop entry and the icon: a question about one
    // of them is answered once while the dialog is open.
    auto answers = std::make_shared<std::map<std::string, bool>>();
    hooks.associate = [this, answers](QWidget *parent, const std::string &extension) {
        return ApplyFileTypeAssociation(
            extension, true,
            [&](const std::string &question) {
                if (const auto known = answers->find(question); known != answers->end())
                    return known->second;
                const bool yes = m_prompts->Ask(parent, QString::fromStdString(question),
                                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
                return (*answers)[question] = yes;
            },
            ProgramAssociationPlaces());
    };

    fOptions dialog(*m_prompts, std::move(hooks), &m_colouring->Dictionary(), this);
    dialog.SetPage(page);
    dialog.exec();
}

} // namespace varkel
