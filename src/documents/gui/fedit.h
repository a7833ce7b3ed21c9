#pragma once
// A document window: one rich-text editor filling the window. The window
// carries its document index as its tag; everything it does on an event is a
// call into the document area, which owns the documents.

#include <QWidget>

namespace varkel {

class RichEdit;
class DocumentArea;

class fEdit : public QWidget {
    Q_OBJECT
public:
    fEdit(int tag, DocumentArea *area);

    int Tag() const { return m_tag; }
    RichEdit *rtfEdit = nullptr;

    bool CanUndo() const;
    void EditUndo();
    bool CanRedo() const;
    void EditRedo();
    void ClearUndo();
    // Stops every call from this window into the document area: called while
    // the window is being destroyed, before the widget base class deletes
    // this window (and moves the keyboard focus while hiding the frame).
    void DetachFromArea();

protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    int m_tag;
    DocumentArea *m_area;
    int m_wheelZoom = 0; // wheel turn with Ctrl not yet a whole step
};

} // namespace varkel
