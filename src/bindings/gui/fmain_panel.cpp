// The frame's side of the input-device panel: where it sits, showing and
// hiding it, enabling it with the documents, the lock lights and the
// status-bar panels that mirror them, and what a selected key enables.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "bindings/gui/devicepanel.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace varkel {

void fMain::BuildDevicePanel()
{
    if (m_panel)
        return;
    m_panel = new DevicePanel(centralWidget());
    // Across the top of the documents, above the file tabs.
    if (auto *layout = qobject_cast<QVBoxLayout *>(centralWidget()->layout()))
        layout->insertWidget(0, m_panel);
    m_panel->setVisible(mGlobal::ShowKeyboard);
    m_panel->SetKeyNameSource([this](int slot) {
        return slot >= 0 && slot < kDeviceSlotCount ? m_dict.KeyNames()[static_cast<size_t>(slot)] : std::string();
    });
    m_panel->SetBoundTextSource([this](int slot) {
        return slot >= 0 && slot < kDeviceSlotCount ? m_bindings.BoundText[static_cast<size_t>(slot)] : std::string();
    });

    connect(m_panel, &DevicePanel::contextMenuRequested, this, &fMain::ShowMainPopup);
    connect(m_panel, &DevicePanel::filesDropped, this, &fMain::OpenDroppedFiles);
    connect(m_panel, &DevicePanel::pointerMoved, this, &fMain::ResetStatusBarTip);
    connect(m_panel, &DevicePanel::lockStatesChanged, this, &fMain::ShowLockStates);
    connect(m_panel, &DevicePanel::slotSelected, this, &fMain::OnPanelSlotSelected);
    connect(m_panel, &DevicePanel::slotLeft, this, &fMain::OnPanelSlotLeft);
    // The lights were read while the panel was built, before anyone listened.
    ShowLockStates(m_panel->LockState(0), m_panel->LockState(1), m_panel->LockState(2));
}

void fMain::ToggleKeyboard()
{
    if (!m_panel)
        return;
    // isHidden, not isVisible: the frame itself may not be shown yet.
    const bool show = m_panel->isHidden();
    m_panel->setVisible(show);
    mGlobal::ShowKeyboard = show;
    WriteProfileString(kSectionGeneral, "ShowKeyboard", BoolText(show), mGlobal::IniPath);
}

void fMain::SetDevicePanelEnabled(bool enabled)
{
    if (m_panel)
        m_panel->SetDevicePanelEnabled(enabled);
}

void fMain::UpdateLockLEDs()
{
    if (m_panel)
        m_panel->UpdateLockLEDs();
}

void fMain::ShowLockStates(bool num, bool caps, bool scroll)
{
    // Status-bar panels 5, 6 and 7 read "NUM", "CAPS" and "SCRL".
    const bool states[3] = {num, caps, scroll};
    for (size_t i = 0; i < 3 && 4 + i < m_panels.size(); ++i)
        m_panels[4 + i]->setEnabled(states[i]);
    statusBar()->update();
}

void fMain::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    // Lock keys may have been pressed in another window meanwhile.
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        UpdateLockLEDs();
}

} // namespace varkel
