// The frame's side of the options dialog and the user tools: opening the
// dialog on a page, the tool items of the Tools menu, and handing new editor
// settings to every open editor.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "commands/gui/popupmenu.h"
#include "app/gui/prompts.h"
#include "dialogs/fileassoc.h"
#include "dialogs/gui/fileassocui.h"
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

bool fMain::AnyFormOpen() const
{
    return m_docs.AnyOpen() || findChild<fOptions *>() != nullptr;
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
    // The dialog has stored the mode and colours; the frame applies them.
    hooks.syntaxApplied = [this] { SetAutoSyntax(mGlobal::AutoSyntaxType, true); };
    hooks.userToolsApplied = [this] { BuildUserToolsMenu("REPLACE"); };
    hooks.reportError = [this](const Error &error) { ReportError(error); };
    hooks.isAssociated = [](const std::string &extension) { return FileTypeBoxChecked(extension); };
    hooks.associate = [this](QWidget *parent, const std::string &extension) {
        return ApplyFileTypeAssociation(
            extension, true,
            [&](const std::string &question) {
                return m_prompts->Ask(parent, QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No) ==
                       QMessageBox::Yes;
            },
            ProgramAssociationPlaces());
    };

    fOptions dialog(*m_prompts, std::move(hooks), &m_dict, this);
    dialog.SetPage(page);
    dialog.exec();
}

} // namespace varkel
