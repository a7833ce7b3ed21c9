#include "bindings/gui/slotcontrol.h"

#include "bindings/gui/devicepanel.h"
#include "bindings/gui/panelimages.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace varkel {

SlotControl::SlotControl(Kind kind, int slot, DevicePanel *panel, QWidget *parent)
    : QAbstractButton(parent)
    , m_kind(kind)
    , m_slot(slot)
    , m_panel(panel)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_NoSystemBackground);
    // Mouse buttons keep a pressed value; the panel decides it, not the click.
    setCheckable(kind == Kind::MouseButton);
}

void SlotControl::SetPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

QSize SlotControl::sizeHint() const
{
    return m_picture.isNull() ? QSize(16, 16) : m_picture.deviceIndependentSize().toSize();
}

void SlotControl::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool pressed = isDown() || (m_kind == Kind::MouseButton && isChecked());
    if (!isEnabled())
        p.setOpacity(0.55);

    if (pressed && m_kind == Kind::MouseButton) {
        // A pressed mouse button sinks in and darkens; it has no highlighted
        // picture of its own.
        QPixmap sunk = m_picture;
        {
            QPainter s(&sunk);
            s.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            s.fillRect(QRect(QPoint(0, 0), sunk.size()), QColor(0, 0, 0, 80));
        }
        PanelImages::DrawStretched(p, rect().translated(1, 1), sunk);
    } else {
        PanelImages::DrawStretched(p, pressed ? rect().translated(1, 1) : rect(), m_picture);
    }
    p.setOpacity(1.0);

    if (m_kind == Kind::Key && !text().isEmpty()) {
        QRectF r = m_captionRect.isEmpty() ? QRectF(rect()) : m_captionRect;
        if (pressed)
            r.translate(1, 1);
        p.setFont(font());
        QColor ink = isEnabled() ? QColor(0x14, 0x14, 0x14) : palette().color(QPalette::Disabled, QPalette::ButtonText);
        if (!isEnabled() && property("voidKey").toBool())
            ink = QColor(0x3c, 0x3c, 0x3c);
        p.setPen(ink);
        p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text());
    }

    if (hasFocus()) {
        QRectF r = m_captionRect.isEmpty() ? QRectF(rect()).adjusted(2, 2, -2, -2) : m_captionRect;
        QPen pen(QColor(0, 0, 0, 150), 1, Qt::DotLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        if (m_kind == Kind::JoyButton)
            p.drawEllipse(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5));
        else
            p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void SlotControl::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        // Keep the other buttons here, so that their release comes back to
        // this control rather than to the frame behind it.
        e->accept();
        return;
    }
    QAbstractButton::mousePressEvent(e);
}

void SlotControl::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        QAbstractButton::mouseReleaseEvent(e); // a release over the control clicks it
    e->accept();
    if (m_panel)
        m_panel->OnSlotMouseUp(this, e->button());
}

void SlotControl::mouseMoveEvent(QMouseEvent *e)
{
    QAbstractButton::mouseMoveEvent(e);
    e->accept();
    if (m_panel)
        m_panel->OnSlotMouseMove(this);
}

void SlotControl::keyPressEvent(QKeyEvent *e)
{
    // A joystick button is a picture, not a button: keys do not click it.
    if (m_kind == Kind::JoyButton) {
        QWidget::keyPressEvent(e);
        return;
    }
    QAbstractButton::keyPressEvent(e);
}

void SlotControl::keyReleaseEvent(QKeyEvent *e)
{
    if (m_kind == Kind::JoyButton)
        QWidget::keyReleaseEvent(e);
    else
        QAbstractButton::keyReleaseEvent(e);
    if (m_panel)
        m_panel->OnSlotKeyUp(this);
}

void SlotControl::focusOutEvent(QFocusEvent *e)
{
    QAbstractButton::focusOutEvent(e);
    if (m_panel)
        m_panel->OnSlotLostFocus(this, e->reason());
}

void SlotControl::nextCheckState()
{
    // The pressed value follows the panel's rules (DevicePanel::OnSlotClick).
}

bool SlotControl::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

} // namespace varkel
