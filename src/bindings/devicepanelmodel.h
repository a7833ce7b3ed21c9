#pragma once
// The input-device panel without its widgets: the picture each slot shows, the
// pressed value of the five mouse buttons and the selection rules. A slot's
// state is nothing but the key of the picture it shows; the widget draws what
// this model says and reports the user's clicks back to it.
//
// Selection: a left click on a key or joystick button (or a click that leaves
// a mouse button pressed) selects the slot: it remembers the picture the slot
// showed ("saved picture") and shows it highlighted (keys and joystick
// buttons; a mouse button shows as pressed instead). Clicking the selected key
// again keeps the picture saved by the first click. Leaving the slot puts the
// saved picture back (RestoreKeyState).

#include "bindings/devicelayout.h"
#include "bindings/imagekeys.h"

#include <array>
#include <functional>
#include <string>

namespace varkel {

class DevicePanelModel
{
public:
    DevicePanelModel();

    // Called after a slot's picture or pressed value changed.
    std::function<void(int slot)> onPictureChanged;
    std::function<void(int slot)> onPressedChanged;

    // The key of the picture a slot shows ("" outside 0..109).
    const std::string &Picture(int slot) const;
    // The state that picture shows.
    KeyPicture State(int slot) const;

    // Image setters. Off, On and CON leave the void keys alone; slots 101..105
    // take the mouse pictures, 106..109 the joystick pictures. SetKeyHL shows a
    // keyboard key highlighted (void keys included) or a joystick button
    // "imgJOY_HL", and does nothing for a mouse button. Slots outside 0..109
    // are ignored.
    void SetKeyOff(int slot);
    void SetKeyOn(int slot);
    void SetKeyCON(int slot);
    void SetKeyHL(int slot);

    // Pressed value of a mouse button (false for every other slot).
    bool Pressed(int slot) const;
    void SetPressed(int slot, bool pressed);
    void ReleaseMouseButtons();

    // A click on a mouse button: the buttons toggle as one group in which at
    // most one is pressed. Returns true when the click left the button pressed
    // (the caller then selects it).
    bool ClickMouseButton(int slot);

    // Selects a slot (the left-click handling): releases the mouse buttons for
    // a key or joystick button, records the clicked slot, saves the picture
    // unless the slot is already selected, and shows it highlighted. A slot
    // still selected from before gets its saved picture back first, so only
    // one slot is ever highlighted.
    void SelectSlot(int slot);

    // Puts the saved picture back on the selected slot; no slot is selected
    // afterwards.
    void RestoreKeyState();

    // The binding table was cleared: every slot Off (void keys untouched),
    // mouse buttons released, no selection.
    void ClearKeyStates();

    int SelectedSlot() const { return m_selectedSlot; }
    // Forgets the selection without touching any picture (a rescan redraws
    // the whole panel).
    void ResetSelection() { m_selectedSlot = -1; }
    int ClickedSlot() const { return m_clickedSlot; }
    const std::string &SavedPicture() const { return m_savedPicture; }

private:
    void setPicture(int slot, const std::string &key);
    void setState(int slot, KeyPicture state);

    std::array<std::string, kPanelSlotCount> m_pictures;
    std::array<bool, kLastMouseSlot - kFirstMouseSlot + 1> m_pressed{};
    int m_selectedSlot = -1;
    int m_clickedSlot = -1;
    std::string m_savedPicture;
};

} // namespace varkel
