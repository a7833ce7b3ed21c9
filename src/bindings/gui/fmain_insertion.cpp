// The frame's insertion tools: the command bar in the rebar's third band,
// its lists filled from the dictionary, and what it asks of the frame.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/bindingscan.h"
#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

#include <QToolBar>

namespace varkel {

void fMain::BuildCommandBar()
{
    m_commandBar = new CommandBar(picCommand);
    CommandBar::Hooks hooks;
    hooks.activeEditor = [this] { return ActiveEditor(); };
    hooks.documentOpen = [this] { return m_docs.AnyOpen(); };
    hooks.realTimeHiLite = [this](int line) {
        if (fEdit *w = ActiveWindow())
            RealTimeHiLite(w, 0, line);
    };
    hooks.refreshBindings = [this] { RefreshBindings(); };
    hooks.refreshAll = [this] { RefreshAll(); };
    hooks.statusTip = [this](const QString &text) { SetStatusBarTip(text, mGlobal::AllowStatusReset); };
    m_commandBar->SetHooks(std::move(hooks));
    m_commandBar->SetUserVariables(&m_bindings.userVariables);
    // The pick lists start in the colours of their keyword classes.
    m_commandBar->SetTextColors(true);
    picCommand->addWidget(m_commandBar);
    picCommand->show();
}

void fMain::FillCommandBar()
{
    if (m_commandBar)
        m_commandBar->FillFromDictionary(m_dict);
}

void fMain::RefreshAll()
{
    // Re-read after an insertion by drag and keep the user's place: the
    // document takes the focus back, its line is coloured, and the key shown
    // in the binding row is selected again.
    fEdit *w = ActiveWindow();
    if (!w || w->rtfEdit->isHidden())
        return;
    const int slot = KeyIndex(m_dict, m_commandBar ? m_commandBar->KeynameText() : std::string());
    w->rtfEdit->setFocus();
    if (mGlobal::AutoSyntaxType != 0)
        RealTimeHiLite(w, 0);
    if (mGlobal::AutoRefresh)
        RefreshBindings();
    if (slot >= 0 && m_panel && !m_panel->ClickSlot(slot) && slot <= 100 && m_commandBar)
        m_commandBar->SetBindingRow(std::string(), m_commandBar->BindingText());
}

// The alias / vstr list and the binding row live in the command bar.
std::string fMain::AliasBoxText() const
{
    return m_commandBar ? m_commandBar->AliasText() : std::string();
}

void fMain::SetAliasList(const std::vector<std::string> &names, const std::string &text)
{
    if (m_commandBar)
        m_commandBar->SetAliasList(names, text);
}

void fMain::SetBindingRow(const std::string &keyName, const std::string &command)
{
    if (m_commandBar)
        m_commandBar->SetBindingRow(keyName, command);
}

void fMain::ClearBindingRow()
{
    if (m_commandBar)
        m_commandBar->SetBindingRow(std::string(), std::string());
}

} // namespace varkel
