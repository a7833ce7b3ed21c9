#pragma once
// A document window: one rich-text editor filling the window. The window
// carries its document index as its tag; everything it does on an event is a
// call into the frame, which owns the shared state.

#include <QWidget>

namespace varkel {

class RichEdit;
class fMain;

class fEdit : public QWidget {
    Q_OBJECT
public:
    fEdit(int tag, fMain *frame);

    int Tag() const { return m_tag; }
    RichEdit *rtfEdit = nullptr;

    bool CanUndo() const;
    void EditUndo();
    bool CanRedo() const;
    void EditRedo();
    void ClearUndo();
    // Stops every call from this window into the frame: the frame calls it
    // when it is being destroyed, before the widget base class deletes this
    // window (and moves the keyboard focus while hiding the frame).
    void DetachFromFrame();

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    int m_tag;
    fMain *m_frame;
};

} // namespace varkel
