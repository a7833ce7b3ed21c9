#include "bindings/devicepanelmodel.h"

namespace varkel {

namespace {
const std::string kNoPicture;

bool inRange(int slot)
{
    return slot >= 0 && slot < kPanelSlotCount;
}
} // namespace

DevicePanelModel::DevicePanelModel()
{
    for (int slot = 0; slot < kPanelSlotCount; ++slot)
        m_pictures[static_cast<std::size_t>(slot)] =
            ImageKeyFor(slot, IsVoidSlot(slot) ? KeyPicture::Void : KeyPicture::Off);
}

const std::string &DevicePanelModel::Picture(int slot) const
{
    return inRange(slot) ? m_pictures[static_cast<std::size_t>(slot)] : kNoPicture;
}

KeyPicture DevicePanelModel::State(int slot) const
{
    return PictureOfImageKey(Picture(slot)).value_or(KeyPicture::Off);
}

void DevicePanelModel::setPicture(int slot, const std::string &key)
{
    if (!inRange(slot) || key.empty())
        return;
    std::string &current = m_pictures[static_cast<std::size_t>(slot)];
    if (current == key)
        return;
    current = key;
    if (onPictureChanged)
        onPictureChanged(slot);
}

void DevicePanelModel::setState(int slot, KeyPicture state)
{
    if (!inRange(slot) || IsVoidSlot(slot))
        return;
    setPicture(slot, ImageKeyFor(slot, state));
}

void DevicePanelModel::SetKeyOff(int slot)
{
    setState(slot, KeyPicture::Off);
}

void DevicePanelModel::SetKeyOn(int slot)
{
    setState(slot, KeyPicture::On);
}

void DevicePanelModel::SetKeyCON(int slot)
{
    setState(slot, KeyPicture::CON);
}

void DevicePanelModel::SetKeyHL(int slot)
{
    // Mouse buttons have no highlighted picture: ImageKeyFor gives none.
    setPicture(slot, ImageKeyFor(slot, KeyPicture::HL));
}

bool DevicePanelModel::Pressed(int slot) const
{
    if (DeviceOfSlot(slot) != SlotDevice::Mouse)
        return false;
    return m_pressed[static_cast<std::size_t>(slot - kFirstMouseSlot)];
}

void DevicePanelModel::SetPressed(int slot, bool pressed)
{
    if (DeviceOfSlot(slot) != SlotDevice::Mouse)
        return;
    bool &value = m_pressed[static_cast<std::size_t>(slot - kFirstMouseSlot)];
    if (value == pressed)
        return;
    value = pressed;
    if (onPressedChanged)
        onPressedChanged(slot);
}

void DevicePanelModel::ReleaseMouseButtons()
{
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
        SetPressed(slot, false);
}

bool DevicePanelModel::ClickMouseButton(int slot)
{
    if (DeviceOfSlot(slot) != SlotDevice::Mouse)
        return false;
    const bool pressed = !Pressed(slot);
    if (pressed) {
        for (int other = kFirstMouseSlot; other <= kLastMouseSlot; ++other)
            if (other != slot)
                SetPressed(other, false);
    }
    SetPressed(slot, pressed);
    return pressed;
}

void DevicePanelModel::SelectSlot(int slot)
{
    const SlotDevice device = DeviceOfSlot(slot);
    if (device == SlotDevice::None)
        return;
    if (device != SlotDevice::Mouse)
        ReleaseMouseButtons();
    m_clickedSlot = slot;
    if (device == SlotDevice::Mouse || m_selectedSlot != slot) {
        // Normally the previous slot lost the focus and was restored already;
        // when it was not, restore it now rather than leave it highlighted.
        if (m_selectedSlot >= 0 && m_selectedSlot != slot)
            RestoreKeyState();
        m_selectedSlot = slot;
        m_savedPicture = Picture(slot);
    }
    if (device != SlotDevice::Mouse)
        SetKeyHL(slot);
}

void DevicePanelModel::RestoreKeyState()
{
    if (m_selectedSlot >= 0)
        setPicture(m_selectedSlot, m_savedPicture);
    m_selectedSlot = -1;
}

void DevicePanelModel::ClearKeyStates()
{
    for (int slot = 0; slot <= kLastMouseSlot; ++slot)
        SetKeyOff(slot);
    ReleaseMouseButtons();
    for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot)
        SetKeyOff(slot);
    m_selectedSlot = -1;
}

} // namespace varkel
