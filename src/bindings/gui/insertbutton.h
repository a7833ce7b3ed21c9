#pragma once
// An insert button of the insertion tools: a left click inserts (the usual
// clicked signal); the right button held down and moved starts a drag.

#include <QToolButton>

namespace varkel {

class InsertButton : public QToolButton {
    Q_OBJECT
public:
    explicit InsertButton(QWidget *parent = nullptr);

signals:
    // Any mouse button went down on the button.
    void buttonDown();
    // The pointer moved with the right button held: a drag should start.
    void dragWanted();
    // A mouse button came up on the button without a drag having started.
    void buttonUp();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    bool m_rightDown = false;
};

} // namespace varkel
