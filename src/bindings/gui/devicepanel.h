#pragma once
// The input-device panel (the frame's picContainer(1)): the 101-key keyboard
// (fraKeyboard, with the Num, Caps and Scroll Lock lights), the five-button
// mouse and the four joystick buttons (fraMouse, fraJoy), and a frame for the
// binding row above them (fraBinding). Every key and button shows its state as
// a picture: Off (not bound), On (bound), HL (selected) or CON (bound twice
// with different commands).
//
// The panel keeps the pictures and the selection (DevicePanelModel) and
// reports what the frame must act on through signals: a selected slot (the
// frame fills the binding row and finds the slot's `bind` line), a slot left,
// the right button released (the frame's popup menu), files dropped, the
// pointer moving (status text reset) and the lock-key states.

#include "bindings/devicepanelmodel.h"
#include "bindings/panelfit.h"
#include "bindings/gui/panelimages.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QAbstractButton;
class QFrame;
class QLabel;

namespace varkel {

class SlotControl;

class DevicePanel : public QWidget
{
    Q_OBJECT
public:
    explicit DevicePanel(QWidget *parent = nullptr);
    ~DevicePanel() override;

    // Where the panel reads a slot's key name (lower case, as in the key-name
    // table) and bound command (BoundText, as UTF-8 text) for tool tips and
    // selections. Both read as empty until set.
    using SlotText = std::function<std::string(int slot)>;
    void SetKeyNameSource(SlotText source);
    void SetBoundTextSource(SlotText source);

    // --- the image setters the binding scan calls --------------------------
    // Off, On and CON leave the void keys alone and route slots 101..105 to the
    // mouse pictures and 106..109 to the joystick pictures; SetKeyHL shows a
    // key (void keys included) or joystick button highlighted and does nothing
    // for a mouse button.
    void SetKeyOff(int slot);
    void SetKeyOn(int slot);
    void SetKeyCON(int slot);
    void SetKeyHL(int slot);

    // Enables or disables every key that can be bound, the mouse buttons and
    // the joystick buttons with their labels. The void keys stay disabled.
    void SetDevicePanelEnabled(bool enabled);

    // Puts the saved picture back on the selected slot; none is selected after.
    void RestoreKeyState();
    // Releases the five mouse buttons (pressed value false).
    void ReleaseMouseButtons();
    // The panel's part of clearing the binding table: every slot Off (void
    // keys untouched), mouse buttons released, no selection.
    void ClearKeyStates();
    // Forgets the selected slot without changing any picture.
    void ResetSelection();
    // The selected slot, or the key number of the selected side button; -1
    // when nothing is selected.
    int SelectedSlot() const;

    // The side buttons on the mouse picture stand for the keys numbered
    // `back` (MOUSE4) and `forward` (MOUSE5) of the current game; a button
    // whose number is -1 is hidden. The setters above take these numbers as
    // they take the mouse buttons' slots: Off, On and CON change the picture,
    // HL does nothing, and a click presses the button as one of the mouse's.
    void SetSideButtonKeys(int back, int forward);
    // Whether the panel shows a key: a slot 0..109 or a visible side button.
    bool ShowsKey(int keyNumber) const;

    // Selects a slot as a left click on it would (the key or joystick button
    // also takes the focus; a mouse button is pressed). Does nothing for a
    // disabled control; returns whether the slot was selected.
    bool ClickSlot(int slot);
    // Shows a slot selected, as a click would, but without taking the focus
    // or reporting it; -1 puts the selected slot's picture back.
    void ShowSelectedSlot(int slot);

    // Shows the current lock-key states on the lights and emits
    // lockStatesChanged when they differ from what was shown.
    void UpdateLockLEDs();
    // Toggles Num (0), Caps (1) or Scroll (2) Lock of the system keyboard.
    void ToggleLockKey(int index);
    // The lock state the light shows.
    bool LockState(int index) const;

    // The key click (mGlobal::KeyClickSound), played without waiting.
    void PlayKeyClick();
    // How many clicks were asked for since the panel was made.
    int KeyClickCount() const { return m_keyClicks; }

    // --- what the panel shows ----------------------------------------------
    QString ImageKey(int slot) const;
    KeyPicture KeyState(int slot) const;
    QString ToolTipFor(int slot) const;

    // The controls: cmdKey(0..100), cmdMouseBut(101..105), picJoyBut(106..109).
    // A side button's number gives its control (cmdMouseSide4, cmdMouseSide5).
    QAbstractButton *SlotButton(int slot) const;
    QLabel *JoyLabel(int slot) const;           // lblJoyBut(106..109)
    QLabel *LockLight(int index) const;         // imgKeyLockLED(0..2)
    QLabel *LockLabel(int index) const;         // lblKeyLock(0..2)
    QFrame *KeyboardFrame() const { return fraKeyboard; }
    QFrame *MouseFrame() const { return fraMouse; }
    QFrame *JoyFrame() const { return fraJoy; }
    QWidget *MousePicture() const { return imgMouse; }
    // The frame of the binding row; whatever is laid out in it sits above the
    // keyboard, left-aligned with it.
    QFrame *BindingFrame() const { return fraBinding; }
    const PanelImages &Images() const { return m_images; }

    // The scale of the designed size the panel is drawn at (1 at full size):
    // the largest that fits the width of the area it sits in and leaves the
    // script windows their lines (PanelScale). Follows the area's size.
    double Scale() const { return m_scale; }
    // With lines > 0 the panel shares its area's height with script windows
    // below it: it leaves them at least that many editor lines, and never
    // fewer than it takes itself. With 0 (at first) only the width counts.
    void SetEditorLines(int lines);
    // Beside the command bar the panel is drawn at the scale its place
    // chose; 0 lets it fit the area above the script windows again.
    void SetFixedScale(double scale);
    PanelFitInput FitInput() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A left click selected a slot (also a click that left a mouse button
    // pressed). keyName is the slot's key name, boundText its command.
    void slotSelected(int slot, const QString &keyName, const QString &boundText);
    // A key or joystick button lost the focus: the selection was undone.
    void slotLeft(int slot);
    // The right mouse button was released over a key, button or frame.
    void contextMenuRequested();
    // Files were dropped on the panel.
    void filesDropped(const QStringList &files);
    // The pointer moved over the panel, a key or a mouse button.
    void pointerMoved();
    // The lock lights changed (and the first time they are shown).
    void lockStatesChanged(bool num, bool caps, bool scroll);

protected:
    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    friend class SlotControl;
    // Events of the slot controls.
    void OnSlotClick(int slot);
    void OnSlotMouseUp(SlotControl *control, Qt::MouseButton button);
    void OnSlotMouseMove(SlotControl *control);
    void OnSlotKeyUp(SlotControl *control);
    void OnSlotLostFocus(SlotControl *control, Qt::FocusReason reason);

    void BuildControls();
    void ApplyFonts();
    void Refit();
    void FollowArea();
    void Relayout();
    void PlaceFrames();
    void ShowPicture(int slot);
    int SideIndexOf(int keyNumber) const;
    void SetSideState(int index, KeyPicture state);
    void ShowSidePicture(int index);
    void PressSideButton(int index);
    void ReleaseSideButtons();
    void SelectAndReport(int slot);
    int px(int twips) const;
    int py(int twips) const;
    QRect Scaled(const TwipsRect &r) const;
    int BindingHeight() const;

    DevicePanelModel m_model;
    PanelImages m_images;
    SlotText m_keyName;
    SlotText m_boundText;

    QFrame *fraKeyboard = nullptr;
    QFrame *fraMouse = nullptr;
    QFrame *fraJoy = nullptr;
    QFrame *fraBinding = nullptr;
    QWidget *imgMouse = nullptr;
    std::array<SlotControl *, kPanelSlotCount> m_controls{};
    std::array<SlotControl *, kSideButtonCount> m_side{};
    std::array<int, kSideButtonCount> m_sideKeys{-1, -1};
    std::array<KeyPicture, kSideButtonCount> m_sideStates{};
    int m_selectedSide = -1; // index of the pressed side button that was selected
    std::array<QLabel *, 4> lblJoyBut{};
    std::array<QLabel *, 3> imgKeyLockLED{};
    std::array<QLabel *, 3> lblKeyLock{};
    std::array<bool, 3> m_lockStates{};
    bool m_lockStatesShown = false;
    std::optional<bool> m_enabled;
    int m_keyClicks = 0;
    double m_scale = 1.0;
    int m_editorLines = 0;
    double m_fixedScale = 0.0;
    QWidget *m_area = nullptr; // the parent whose size the panel follows
};

} // namespace varkel
