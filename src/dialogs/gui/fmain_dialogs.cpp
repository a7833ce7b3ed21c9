// The frame's side of the options dialog and the user tools: opening the
// dialog on a page, the tool items of the Tools menu, and handing new editor
// settings to every open editor.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "commands/gui/popupmenu.h"
#include "dialogs/gui/foptions.h"
#include "dialogs/gui/usertoolsmenu.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

namespace varkel {

void fMain::BuildUserToolsMenu(const std::string &mode)
{
    if (!m_cMenu)
        return;
    m_toolsInMenu = varkel::BuildUserToolsMenu(*m_cMenu, mode, m_toolsInMenu, mGlobal::ToolNames);
}

void fMain::ApplyEditorSettingsToAll()
{
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed)
            if (fEdit *w = Editor(d))
                ApplyEditorSettings(w->rtfEdit);
    for (fOptions *dialog : findChildren<fOptions *>())
        dialog->RefreshPreview();
}

void fMain::ShowOptions(int page)
{
    fOptions::Hooks hooks;
    hooks.syntaxApplied = [this] {
        static const char *const modeKeys[3] = {"cmnuAutoSyntax_None", "cmnuAutoSyntax_ByChar",
                                                "cmnuAutoSyntax_ByLine"};
        const int mode = mGlobal::AutoSyntaxType;
        if (m_cMenu && mode >= 0 && mode <= 2)
            if (const int index = m_cMenu->IndexForKey(modeKeys[mode]))
                m_cMenu->SetRadioCheck(index);
        ApplyEditorSettingsToAll();
        if (mode == 0) {
            // No colouring: every document shows its whole text in the
            // plain-text colour. Styling is no text change, so no document
            // becomes modified and nothing lands in an undo buffer.
            const bool wasBusy = mGlobal::HiLiteBusy;
            mGlobal::HiLiteBusy = true;
            for (int d = 1; d <= m_docs.DocCount(); ++d)
                if (!m_docs[d].Closed)
                    if (fEdit *w = Editor(d))
                        w->rtfEdit->StyleRange(0, w->rtfEdit->TextLength(), PlainText);
            mGlobal::HiLiteBusy = wasBusy;
        }
    };
    hooks.userToolsApplied = [this] { BuildUserToolsMenu("REPLACE"); };
    hooks.reportError = [this](const Error &error) { ReportError(error); };

    fOptions dialog(*m_prompts, std::move(hooks), nullptr, this);
    dialog.SetPage(page);
    dialog.exec();
}

} // namespace varkel
