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

#include <map>
#include <memory>

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

    fOptions dialog(*m_prompts, std::move(hooks), &m_dict, this);
    dialog.SetPage(page);
    dialog.exec();
}

} // namespace varkel
