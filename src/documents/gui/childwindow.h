#pragma once
// The frame around a document window. Its maximise command (the button or a
// double click on the caption) does not maximise: it asks the document area
// to make the window fill the client area, or to put it back, so that the
// caption, the file tabs and the side panels stay usable.

#include <QMdiSubWindow>

namespace varkel {

class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget *parent = nullptr);

    // The rectangle to return to (0 sizes until first saved).
    QRect savedRect;

signals:
    void maximizeRequested();

protected:
    void changeEvent(QEvent *e) override;

};

} // namespace varkel
