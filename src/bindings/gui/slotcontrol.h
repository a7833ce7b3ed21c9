#pragma once
// One control of the input-device panel: a keyboard key (cmdKey), a mouse
// button laid over the mouse picture (cmdMouseBut, a toggle with a pressed
// value) or a joystick button (picJoyBut). It shows the picture the panel
// gives it, a key also its caption, and passes its events on to the panel.

#include <QAbstractButton>
#include <QPixmap>

namespace varkel {

class DevicePanel;

class SlotControl : public QAbstractButton
{
public:
    enum class Kind { Key, MouseButton, JoyButton };

    SlotControl(Kind kind, int slot, DevicePanel *panel, QWidget *parent);

    Kind kind() const { return m_kind; }
    int slot() const { return m_slot; }
    // A side button stands for whichever key number the game gives it.
    void SetSlot(int slot) { m_slot = slot; }
    // Stops every call into the panel: the panel calls it as it is being
    // destroyed, since hiding it may still move the focus out of a control.
    void DetachFromPanel() { m_panel = nullptr; }

    // The picture the control shows (the slot's state).
    void SetPicture(const QPixmap &picture);
    QPixmap Picture() const { return m_picture; }
    // Where the caption is centred, relative to the control; the whole
    // control when empty.
    void SetCaptionRect(const QRectF &rect) { m_captionRect = rect; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void nextCheckState() override;
    bool hitButton(const QPoint &pos) const override;

private:
    Kind m_kind;
    int m_slot;
    DevicePanel *m_panel;
    QPixmap m_picture;
    QRectF m_captionRect;
};

} // namespace varkel
