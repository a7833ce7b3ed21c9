// The frame's insertion tools: the command bar in the rebar's third band,
// its lists filled from the dictionary, and what it asks of the frame.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/gui/commandbar.h"
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
    hooks.realTimeHiLite = [this] { RealTimeHiLite(ActiveWindow(), 0); };
    hooks.refreshBindings = [this] { InsertionRefresh(false); };
    hooks.refreshAll = [this] { InsertionRefresh(true); };
    hooks.statusTip = [this](const QString &text) { SetStatusBarTip(text, mGlobal::AllowStatusReset); };
    m_commandBar->SetHooks(std::move(hooks));
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

void fMain::InsertionRefresh(bool all)
{
    // After a binding line went in (by click, Enter or drag) the document
    // takes the focus back and its line is coloured; re-reading the
    // bindings follows with the binding extraction (RefreshBindings,
    // RefreshAll).
    if (!all)
        return;
    fEdit *w = ActiveWindow();
    if (!w || w->rtfEdit->isHidden())
        return;
    w->rtfEdit->setFocus();
    if (mGlobal::AutoSyntaxType != 0)
        RealTimeHiLite(w, 0);
}

} // namespace varkel
