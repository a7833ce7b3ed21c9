#include "documents/gui/fedit.h"

#include "documents/gui/documentarea.h"
#include "documents/gui/richedit.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace varkel {

fEdit::fEdit(int tag, DocumentArea *area)
    : m_tag(tag)
    , m_area(area)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    rtfEdit = new RichEdit(this);
    rtfEdit->setObjectName(QStringLiteral("rtfEdit"));
    layout->addWidget(rtfEdit);
    setFocusProxy(rtfEdit);
    rtfEdit->viewport()->setMouseTracking(true);
    rtfEdit->viewport()->installEventFilter(this);
    // Keys reach the control before the frame's menu shortcuts; the area
    // sees each one first, so that a command key runs its command.
    rtfEdit->installEventFilter(this);

    connect(rtfEdit, &RichEdit::contentChanged, this, [this] { m_area->OnEditorTextChanged(this); });
    connect(rtfEdit, &RichEdit::selectionChanged, this, [this] { m_area->OnEditorSelectionChanged(this); });
    connect(rtfEdit, &RichEdit::cursorPositionChanged, this, [this] { m_area->DisplayCharPos(this); });
    connect(rtfEdit, &RichEdit::keyDown, this, [this](int key, Qt::KeyboardModifiers) { m_area->OnEditorKeyDown(this, key); });
    connect(rtfEdit, &RichEdit::keyUp, this, [this](int key, Qt::KeyboardModifiers) { m_area->OnEditorKeyUp(this, key); });
    connect(rtfEdit, &RichEdit::mouseUp, this, [this](Qt::MouseButton b) { m_area->OnEditorMouseUp(this, b); });
    connect(rtfEdit, &RichEdit::ctrlClicked, this, [this](long position) { m_area->OnEditorCtrlClick(this, position); });
    connect(rtfEdit, &RichEdit::gotFocus, this, [this] { m_area->OnEditorFocus(this, true); });
    connect(rtfEdit, &RichEdit::lostFocus, this, [this] { m_area->OnEditorFocus(this, false); });
    connect(rtfEdit, &RichEdit::inputRefused, this, [this](const QString &c) { m_area->OnEditorInputRefused(this, c); });
    connect(rtfEdit, &RichEdit::filesDropped, this, [this](const QStringList &files) { m_area->OpenDroppedFiles(files); });
}

bool fEdit::CanUndo() const
{
    return rtfEdit->CanUndo();
}

void fEdit::EditUndo()
{
    rtfEdit->EditUndo();
}

bool fEdit::CanRedo() const
{
    return rtfEdit->CanRedo();
}

void fEdit::EditRedo()
{
    rtfEdit->EditRedo();
}

void fEdit::ClearUndo()
{
    rtfEdit->EmptyUndoBuffer();
}

void fEdit::DetachFromArea()
{
    rtfEdit->disconnect(this);
    rtfEdit->removeEventFilter(this);
    rtfEdit->viewport()->removeEventFilter(this);
}

void fEdit::closeEvent(QCloseEvent *e)
{
    if (!m_area->QueryCloseDocument(m_tag)) {
        e->ignore();
        return;
    }
    e->accept();
    m_area->UnloadDocument(m_tag);
}

bool fEdit::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseMove)
        m_area->OnPointerMoved();
    // Ctrl with the wheel zooms every editor's text, a step per notch.
    if (watched == rtfEdit->viewport() && e->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(e);
        if (wheel->modifiers() & Qt::ControlModifier) {
            m_wheelZoom += wheel->angleDelta().y();
            const int steps = m_wheelZoom / QWheelEvent::DefaultDeltasPerStep;
            m_wheelZoom -= steps * QWheelEvent::DefaultDeltasPerStep;
            if (steps)
                m_area->Zoom(steps);
            return true;
        }
    }
    if (watched == rtfEdit && e->type() == QEvent::KeyPress &&
        m_area->OnEditorCommandKey(this, static_cast<QKeyEvent *>(e)->keyCombination()))
        return true;
    return QWidget::eventFilter(watched, e);
}

void fEdit::dragEnterEvent(QDragEnterEvent *e)
{
    if (!DroppedFiles(e->mimeData()).isEmpty()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void fEdit::dropEvent(QDropEvent *e)
{
    const QStringList files = DroppedFiles(e->mimeData());
    if (files.isEmpty())
        return;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    m_area->OpenDroppedFiles(files);
}

} // namespace varkel
