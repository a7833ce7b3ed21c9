#include "bindings/gui/insertbutton.h"

#include <QMouseEvent>

namespace varkel {

InsertButton::InsertButton(QWidget *parent)
    : QToolButton(parent)
{
}

void InsertButton::mousePressEvent(QMouseEvent *e)
{
    emit buttonDown();
    if (e->button() == Qt::RightButton) {
        // The right button has no click of its own; it only drags. The event
        // is kept here so that the bar's context menu does not open.
        m_rightDown = true;
        e->accept();
        return;
    }
    QToolButton::mousePressEvent(e);
}

void InsertButton::mouseMoveEvent(QMouseEvent *e)
{
    if (m_rightDown && (e->buttons() & Qt::RightButton)) {
        // The drag runs to its end inside this call; the button's release
        // goes to the drag, so the state is reset here.
        m_rightDown = false;
        e->accept();
        emit dragWanted();
        return;
    }
    QToolButton::mouseMoveEvent(e);
}

void InsertButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::RightButton) {
        m_rightDown = false;
        e->accept();
        emit buttonUp();
        return;
    }
    QToolButton::mouseReleaseEvent(e);
    emit buttonUp();
}

} // namespace varkel
