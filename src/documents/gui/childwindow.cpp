#include "documents/gui/childwindow.h"

#include <QWindowStateChangeEvent>

namespace varkel {

ChildWindow::ChildWindow(QWidget *parent)
    : QMdiSubWindow(parent)
{
}

void ChildWindow::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::WindowStateChange && isMaximized()) {
        // The system asked to maximise (the button or a double click on the
        // caption): take the request back before the window reacts to it,
        // and let the document area apply its own toggle instead.
        const auto *change = static_cast<QWindowStateChangeEvent *>(e);
        overrideWindowState(change->oldState() & ~Qt::WindowMaximized);
        emit maximizeRequested();
        return;
    }
    QMdiSubWindow::changeEvent(e);
}

} // namespace varkel
