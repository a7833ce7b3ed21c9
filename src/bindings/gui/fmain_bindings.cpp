// The frame's side of the binding extraction and conflicts: reading the
// active script's `bind` lines onto the device panel, the conflict modes, the
// automatic refresh, and moving the caret to a key's `bind` line.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "bindings/bindingscan.h"
#include "bindings/bindingsearch.h"
#include "bindings/conflicts.h"
#include "bindings/insertion.h"
#include "bindings/gui/devicepanel.h"
#include "commands/gui/popupmenu.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QToolButton>

namespace varkel {

namespace {

// Shows the states the scan reports on the device panel.
class PanelSink : public KeyStateSink {
public:
    explicit PanelSink(DevicePanel *panel)
        : m_panel(panel)
    {
    }
    void showKeyState(int slot, KeyState state) override
    {
        if (!m_panel)
            return;
        switch (state) {
        case KeyState::Off: m_panel->SetKeyOff(slot); break;
        case KeyState::On: m_panel->SetKeyOn(slot); break;
        case KeyState::HL: m_panel->SetKeyHL(slot); break;
        case KeyState::CON: m_panel->SetKeyCON(slot); break;
        }
    }

private:
    DevicePanel *m_panel;
};

} // namespace

std::vector<fEdit *> fMain::OpenWindows() const
{
    std::vector<fEdit *> windows;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (auto *w = qobject_cast<fEdit *>(sub->widget()); w && m_docs.IsValid(w->Tag()) && !m_docs[w->Tag()].Closed)
            windows.push_back(w);
    return windows;
}

void fMain::ClearData()
{
    PanelSink sink(m_panel);
    varkel::ClearData(m_bindings, &sink);
    if (m_panel) {
        m_panel->ReleaseMouseButtons();
        m_panel->ResetSelection();
    }
    ClearBindingRow();
}

void fMain::GetBindings(std::string_view text, bool quiet, bool keepImages)
{
    const std::string previous = AliasBoxText();
    if (!quiet)
        SetStatusBarTip(QStringLiteral("Reading Bindings..."), mGlobal::AllowStatusReset);
    PanelSink sink(m_panel);
    varkel::GetBindings(m_bindings, text, m_dict, static_cast<ConflictType>(mGlobal::ConflictType), keepImages, &sink);
    SetAliasList(m_bindings.aliasList, varkel::AliasBoxText(m_bindings, previous, mGlobal::QVersion));
    // Done reading: "Ready" again, unless a longer operation holds the text.
    if (!quiet)
        ResetStatusBarTip();
}

void fMain::RefreshBindings()
{
    if (tbrMain)
        tbrMain->repaint();
    ClearData();
    if (RichEdit *e = ActiveEditor())
        GetBindings(e->TextView(), false, false);
    UpdateLockLEDs();
}

void fMain::RefreshDocumentBindings(fEdit *w)
{
    if (!w)
        return;
    if (mGlobal::ConflictType != 1) {
        ClearData();
        GetBindings(w->rtfEdit->TextView(), true, false);
    } else {
        ShowAllConflicts();
    }
}

void fMain::ShowAllConflicts()
{
    const std::vector<fEdit *> windows = OpenWindows();
    fEdit *active = ActiveWindow();
    ClearData();
    if (windows.empty() || !active)
        return;
    std::vector<std::string_view> texts;
    size_t activeIndex = 0;
    // Each view stays valid: scanning changes no text.
    for (size_t i = 0; i < windows.size(); ++i) {
        texts.push_back(windows[i]->rtfEdit->TextView());
        if (windows[i] == active)
            activeIndex = i;
    }
    const std::string previous = AliasBoxText();
    SetStatusBarTip(QStringLiteral("Reading Bindings..."), mGlobal::AllowStatusReset);
    PanelSink sink(m_panel);
    varkel::ShowAllConflicts(m_bindings, m_dict, texts, activeIndex, &sink);
    SetAliasList(m_bindings.aliasList, varkel::AliasBoxText(m_bindings, previous, mGlobal::QVersion));
    ResetStatusBarTip();
}

void fMain::ToggleAutoRefresh()
{
    mGlobal::AutoRefresh = !mGlobal::AutoRefresh;
    m_cMenu->SetItemState("cmnuAutoRefresh", mGlobal::AutoRefresh, std::nullopt);
    WriteProfileString("General", "AutoRefresh", BoolText(mGlobal::AutoRefresh), mGlobal::IniPath);
    if (mGlobal::AutoRefresh && m_docs.AnyOpen())
        RefreshBindings();
}

void fMain::SetConflictState()
{
    static constexpr const char *kModes[] = {"Conflicts_None", "Conflicts_All", "Conflicts_Active"};
    const int type = mGlobal::ConflictType;
    if (type >= 0 && type <= 2) {
        m_cMenu->SetRadioCheck(m_cMenu->IndexForKey(std::string("cmnu") + kModes[type]));
        if (QToolButton *b = ToolButton(std::string("tb") + kModes[type]))
            b->setChecked(true);
    }
    if (m_docs.AnyOpen())
        RefreshBindings();
    WriteProfileInt("General", "ConflictType", type, mGlobal::IniPath);
}

void fMain::SelectMatch(const TextMatch &match)
{
    fEdit *w = ActiveWindow();
    if (!w)
        return;
    if (match.found())
        w->rtfEdit->SetSel(static_cast<long>(match.position), static_cast<long>(match.length));
    else
        w->rtfEdit->SetSelLength(0);
    DisplayCharPos(w);
}

void fMain::FindNextConflict(long start)
{
    RichEdit *e = ActiveEditor();
    if (!e || !m_panel)
        return;
    const int slot = m_panel->SelectedSlot();
    if (slot < 0 || slot >= kDeviceSlotCount) {
        e->SetSelLength(0);
        return;
    }
    // Nothing further: the caret stays and the old match is let go.
    SelectMatch(varkel::FindNextConflict(e->TextView(), m_dict, slot, start));
}

void fMain::OnPanelSlotSelected(int slot, const QString &, const QString &)
{
    if (slot < 0 || slot >= kDeviceSlotCount)
        return;
    const std::string &key = m_dict.KeyNames()[static_cast<size_t>(slot)];
    SetBindingRow(key, m_bindings.BoundText[static_cast<size_t>(slot)]);
    // The click fills the binding row, even where it shows the text it
    // already had: the binding box receives the next command insertion.
    mGlobal::InsertTarget = NextInsertTarget(TargetEvent::BindingBoxChanged);
    if (RichEdit *e = ActiveEditor())
        SelectMatch(varkel::FindSlotBinding(e->TextView(), m_bindings, m_dict, slot));
    SetCommandState("cmnuFindNextConflict", true, std::nullopt, true, true);
}

void fMain::OnPanelSlotLeft()
{
    SetCommandState("cmnuFindNextConflict", false, std::nullopt, true, true);
}

} // namespace varkel

