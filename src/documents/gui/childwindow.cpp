#include "documents/gui/childwindow.h"

#include <QEvent>

namespace varkel {

ChildWindow::ChildWindow(QWidget *parent)
    : QMdiSubWindow(parent)
{
}

void ChildWindow::changeEvent(QEvent *e)
{
    QMdiSubWindow::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && isMaximized()) {
        // Undo the system's maximise once it has settled, then let the frame
        // apply its own toggle.
        QMetaObject::invokeMethod(this, [this] {
            if (isMaximized())
                showNormal();
            emit maximizeRequested();
        }, Qt::QueuedConnection);
    }
}

} // namespace varkel
