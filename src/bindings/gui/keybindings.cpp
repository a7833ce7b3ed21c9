#include "bindings/gui/keybindings.h"

#include "app/callhook.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "bindings/bindingscan.h"
#include "bindings/conflicts.h"
#include "bindings/insertion.h"
#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

#include <QToolBar>

namespace varkel {

namespace {

// Editor lines the device panel leaves the script windows below it.
constexpr int kPanelEditorLines = 20;

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

KeyBindings::KeyBindings(const GameDictionary &dict, QObject *parent)
    : QObject(parent)
    , m_dict(dict)
{
}

void KeyBindings::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

// --- the device panel ------------------------------------------------------

DevicePanel *KeyBindings::BuildDevicePanel(QWidget *parent)
{
    if (m_panel)
        return m_panel;
    m_panel = new DevicePanel(parent);
    // The script windows below keep twenty lines where the panel can shrink for them.
    m_panel->SetEditorLines(kPanelEditorLines);
    m_panel->setVisible(mGlobal::ShowKeyboard);
    m_panel->SetKeyNameSource([this](int slot) {
        return slot >= 0 && slot < kDeviceSlotCount ? m_dict.KeyNames()[static_cast<size_t>(slot)] : std::string();
    });
    m_panel->SetBoundTextSource([this](int slot) {
        return slot >= 0 && slot < kDeviceSlotCount ? m_bindings.BoundText[static_cast<size_t>(slot)] : std::string();
    });

    connect(m_panel, &DevicePanel::contextMenuRequested, this, [this] { CallHook(m_hooks.showMainPopup); });
    connect(m_panel, &DevicePanel::filesDropped, this, [this](const QStringList &files) { CallHook(m_hooks.openFiles, files); });
    connect(m_panel, &DevicePanel::pointerMoved, this, [this] { CallHook(m_hooks.resetStatusTip); });
    connect(m_panel, &DevicePanel::lockStatesChanged, this,
            [this](bool num, bool caps, bool scroll) { CallHook(m_hooks.lockStates, num, caps, scroll); });
    connect(m_panel, &DevicePanel::slotSelected, this, &KeyBindings::OnPanelSlotSelected);
    connect(m_panel, &DevicePanel::slotLeft, this, &KeyBindings::OnPanelSlotLeft);
    // The lights were read while the panel was built, before anyone listened.
    CallHook(m_hooks.lockStates, m_panel->LockState(0), m_panel->LockState(1), m_panel->LockState(2));
    return m_panel;
}

void KeyBindings::ToggleKeyboard()
{
    if (!m_panel)
        return;
    // isHidden, not isVisible: the frame itself may not be shown yet.
    const bool show = m_panel->isHidden();
    m_panel->setVisible(show);
    mGlobal::ShowKeyboard = show;
    WriteProfileString(kSectionGeneral, "ShowKeyboard", BoolText(show), mGlobal::IniPath);
}

void KeyBindings::SetDevicePanelEnabled(bool enabled)
{
    if (m_panel)
        m_panel->SetDevicePanelEnabled(enabled);
}

void KeyBindings::ReleaseMouseButtons()
{
    if (m_panel)
        m_panel->ReleaseMouseButtons();
}

void KeyBindings::UpdateLockLEDs()
{
    if (m_panel)
        m_panel->UpdateLockLEDs();
}

// --- the insertion tools ---------------------------------------------------

void KeyBindings::BuildCommandBar(QToolBar *band)
{
    m_commandBar = new CommandBar(band);
    CommandBar::Hooks hooks;
    hooks.activeEditor = [this] { return CallHook(m_hooks.activeEditor); };
    hooks.documentOpen = [this] { return CallHook(m_hooks.documentOpen); };
    hooks.realTimeHiLite = [this](int line) { CallHook(m_hooks.realTimeHiLite, line); };
    hooks.refreshBindings = [this] { RefreshBindings(); };
    hooks.refreshAll = [this] { RefreshAll(); };
    hooks.statusTip = [this](const QString &text) { CallHook(m_hooks.statusTip, text, mGlobal::AllowStatusReset); };
    m_commandBar->SetHooks(std::move(hooks));
    m_commandBar->SetUserVariables(&m_bindings.userVariables);
    // The pick lists start in the colours of their keyword classes.
    m_commandBar->SetTextColors(true);
    band->addWidget(m_commandBar);
    band->show();
}

void KeyBindings::FillCommandBar()
{
    if (m_commandBar)
        m_commandBar->FillFromDictionary(m_dict);
}

void KeyBindings::SetEditStates(bool docOpen)
{
    if (m_commandBar)
        m_commandBar->SetEditStates(docOpen);
}

void KeyBindings::SetTextColors(bool coloured)
{
    if (m_commandBar)
        m_commandBar->SetTextColors(coloured);
}

void KeyBindings::RefreshAll()
{
    // Re-read after an insertion by drag and keep the user's place: the
    // document takes the focus back, its line is coloured, and the key shown
    // in the binding row is selected again.
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e || e->isHidden())
        return;
    const int slot = KeyIndex(m_dict, m_commandBar ? m_commandBar->KeynameText() : std::string());
    e->setFocus();
    if (mGlobal::AutoSyntaxType != 0)
        CallHook(m_hooks.realTimeHiLite, -1);
    if (mGlobal::AutoRefresh)
        RefreshBindings();
    if (slot >= 0 && m_panel && !m_panel->ClickSlot(slot) && slot <= 100 && m_commandBar)
        m_commandBar->SetBindingRow(std::string(), m_commandBar->BindingText());
}

// The alias / vstr list and the binding row live in the command bar.
std::string KeyBindings::AliasBoxText() const
{
    return m_commandBar ? m_commandBar->AliasText() : std::string();
}

void KeyBindings::SetAliasList(const std::vector<std::string> &names, const std::string &text)
{
    if (m_commandBar)
        m_commandBar->SetAliasList(names, text);
}

void KeyBindings::SetBindingRow(const std::string &keyName, const std::string &command)
{
    if (m_commandBar)
        m_commandBar->SetBindingRow(keyName, command);
}

void KeyBindings::ClearBindingRow()
{
    if (m_commandBar)
        m_commandBar->SetBindingRow(std::string(), std::string());
}

// --- reading bindings and conflicts ---------------------------------------

void KeyBindings::ClearData()
{
    PanelSink sink(m_panel);
    varkel::ClearData(m_bindings, &sink);
    if (m_panel) {
        m_panel->ReleaseMouseButtons();
        m_panel->ResetSelection();
    }
    ClearBindingRow();
}

void KeyBindings::GetBindings(std::string_view text, bool quiet, bool keepImages)
{
    const std::string previous = AliasBoxText();
    if (!quiet)
        CallHook(m_hooks.statusTip, QStringLiteral("Reading Bindings..."), mGlobal::AllowStatusReset);
    PanelSink sink(m_panel);
    varkel::GetBindings(m_bindings, text, m_dict, static_cast<ConflictType>(mGlobal::ConflictType), keepImages, &sink);
    SetAliasList(m_bindings.aliasList, varkel::AliasBoxText(m_bindings, previous, mGlobal::QVersion));
    // Done reading: "Ready" again, unless a longer operation holds the text.
    if (!quiet)
        CallHook(m_hooks.resetStatusTip);
}

void KeyBindings::RefreshBindings()
{
    ClearData();
    if (RichEdit *e = CallHook(m_hooks.activeEditor))
        GetBindings(e->TextView(), false, false);
    UpdateLockLEDs();
}

void KeyBindings::RefreshDocumentBindings(RichEdit *editor)
{
    if (!editor)
        return;
    if (mGlobal::ConflictType != 1) {
        ClearData();
        GetBindings(editor->TextView(), true, false);
    } else {
        ShowAllConflicts();
    }
}

void KeyBindings::ShowAllConflicts()
{
    const std::vector<RichEdit *> editors = CallHook(m_hooks.openEditors);
    RichEdit *active = CallHook(m_hooks.activeEditor);
    ClearData();
    if (editors.empty() || !active)
        return;
    std::vector<std::string_view> texts;
    size_t activeIndex = 0;
    // Each view stays valid: scanning changes no text.
    for (size_t i = 0; i < editors.size(); ++i) {
        texts.push_back(editors[i]->TextView());
        if (editors[i] == active)
            activeIndex = i;
    }
    const std::string previous = AliasBoxText();
    CallHook(m_hooks.statusTip, QStringLiteral("Reading Bindings..."), mGlobal::AllowStatusReset);
    PanelSink sink(m_panel);
    varkel::ShowAllConflicts(m_bindings, m_dict, texts, activeIndex, &sink);
    SetAliasList(m_bindings.aliasList, varkel::AliasBoxText(m_bindings, previous, mGlobal::QVersion));
    CallHook(m_hooks.resetStatusTip);
}

void KeyBindings::ToggleAutoRefresh()
{
    mGlobal::AutoRefresh = !mGlobal::AutoRefresh;
    CallHook(m_hooks.checkCommand, std::string_view("cmnuAutoRefresh"), mGlobal::AutoRefresh);
    WriteProfileString("General", "AutoRefresh", BoolText(mGlobal::AutoRefresh), mGlobal::IniPath);
    if (mGlobal::AutoRefresh && CallHook(m_hooks.documentOpen))
        RefreshBindings();
}

void KeyBindings::SetConflictState()
{
    static constexpr const char *kModes[] = {"Conflicts_None", "Conflicts_All", "Conflicts_Active"};
    const int type = mGlobal::ConflictType;
    if (type >= 0 && type <= 2)
        CallHook(m_hooks.radioCheck, std::string("cmnu") + kModes[type], std::string("tb") + kModes[type]);
    if (CallHook(m_hooks.documentOpen))
        RefreshBindings();
    WriteProfileInt("General", "ConflictType", type, mGlobal::IniPath);
}

void KeyBindings::SelectMatch(const TextMatch &match)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e)
        return;
    if (match.found())
        e->SetSel(static_cast<long>(match.position), static_cast<long>(match.length));
    else
        e->SetSelLength(0);
    CallHook(m_hooks.displayCharPos);
}

void KeyBindings::FindNextConflict(long start)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
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

void KeyBindings::OnPanelSlotSelected(int slot, const QString &, const QString &)
{
    if (slot < 0 || slot >= kDeviceSlotCount)
        return;
    const std::string &key = m_dict.KeyNames()[static_cast<size_t>(slot)];
    SetBindingRow(key, m_bindings.BoundText[static_cast<size_t>(slot)]);
    // The click fills the binding row, even where it shows the text it
    // already had: the binding box receives the next command insertion.
    mGlobal::InsertTarget = NextInsertTarget(TargetEvent::BindingBoxChanged);
    if (RichEdit *e = CallHook(m_hooks.activeEditor))
        SelectMatch(varkel::FindSlotBinding(e->TextView(), m_bindings, m_dict, slot));
    CallHook(m_hooks.enableCommand, std::string_view("cmnuFindNextConflict"), true);
}

void KeyBindings::OnPanelSlotLeft()
{
    CallHook(m_hooks.enableCommand, std::string_view("cmnuFindNextConflict"), false);
}

} // namespace varkel
