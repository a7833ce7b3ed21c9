#pragma once
// The rich-text editor control of a document: one QsciScintilla holding the
// script's bytes (code page 0, or UTF-8 mode for a UTF-8 script; positions
// are byte offsets in both), its
// caret, selection, colours (one Scintilla style per keyword class) and undo.
// There is no other text model.

#include "app/errors.h"
#include "documents/encoding.h"
#include "documents/editlog.h"

#include <Qsci/qsciscintilla.h>

#include <string>
#include <string_view>

namespace varkel {

class RichEdit : public QsciScintilla {
    Q_OBJECT
public:
    explicit RichEdit(QWidget *parent = nullptr);

    // The whole text as bytes. TextView does not copy: it stays valid until
    // the next change of the text.
    std::string Text() const;
    std::string_view TextView() const;
    long TextLength() const;
    // Replaces the whole text; not undoable, empties the undo history.
    void SetText(std::string_view bytes);

    long SelStart() const;
    void SetSelStart(long pos);          // caret at pos, nothing selected
    long SelLength() const;
    void SetSelLength(long length);      // selects from SelStart
    void SetSel(long start, long length);
    std::string SelText() const;
    void SetSelText(std::string_view bytes); // replaces the selection (undoable)

    // Case-insensitive search in [start, end) (end < 0: to the end). Returns the
    // match position or -1. Unless noHighlight, a match becomes the selection:
    // whole characters, as long as the text matched (in UTF-8, letters of any
    // alphabet match their other case, which may take other bytes than the
    // query's; in Latin-1, ASCII letters only). matchedLength, when given,
    // gets the length of the bytes matched.
    long Find(std::string_view text, long start, long end = -1, bool noHighlight = false, bool matchCase = false,
              long *matchedLength = nullptr);
    // Replaces every match of `what` from the start by `with` as one undo
    // step, the caret after the last; the text's handlers hear of the change
    // once. Returns the number replaced.
    int ReplaceEach(std::string_view what, std::string_view with, bool matchCase);

    int GetLineFromChar(long pos) const;
    int LineCount() const;               // EM_GETLINECOUNT
    long LineIndex(int line) const;      // EM_LINEINDEX
    long LineLength(int line) const;     // EM_LINELENGTH (without the line end)

    bool CanUndo() const;
    void EditUndo();
    bool CanRedo() const;
    void EditRedo();
    void EmptyUndoBuffer();

    // Plain-text file access, byte for byte. Loading sets the encoding the
    // bytes call for (DetectEncoding).
    Error LoadFile(const std::string &path);
    Error SaveFile(const std::string &path);

    // How the bytes are shown and what typed text becomes: Latin-1 (code
    // page 0) or UTF-8 (the control's UTF-8 mode). The bytes never change;
    // positions stay byte offsets in both.
    void SetEncoding(Encoding encoding);
    Encoding GetEncoding() const { return m_encoding; }
    // Text typed, pasted or dropped that the encoding cannot hold is refused
    // (inputRefused); true when text was refused.
    bool RefuseUnheldText(const QString &text);
    // The control's own clipboard, selection and drag traffic, in the
    // encoding: text that it cannot hold comes in as nothing. (A drag of
    // such text is let in, so that its drop can be refused out loud.)
    QByteArray fromMimeData(const QMimeData *source, bool &rectangular) const override;
    QMimeData *toMimeData(const QByteArray &text, bool rectangular) const override;

    // 0 wraps at the window edge; any other value turns wrapping off.
    void SetRightMargin(int margin);
    // Sets the editor font. A family that is not installed shows as the
    // system's fixed-width font (see ShownFontFamily).
    void SetEditorFont(const std::string &name, int pointSize, bool bold, bool italic);
    // The family the editor font shows as: name when that family is
    // installed, otherwise the system's fixed-width font, as scripts are
    // laid out in columns.
    static QString ShownFontFamily(const std::string &name);
    void SetBackColor(unsigned bgr);
    // The line-number margin, wide enough for the last line's number at the
    // text's present zoom.
    void SetLineNumbers(bool show);
    bool LineNumbers() const { return m_lineNumbers; }
    int LineNumberWidth() const;
    // The colour the caret's line is shown in.
    QColor CurrentLineColor() const;
    // Colour of keyword class style (1..8); style 0 is text no pass coloured.
    void SetStyleColor(int style, unsigned bgr);
    // Paints a run of text with a style; never part of undo, never a text change.
    void StyleRange(long start, long length, int style);
    // Paints styles[i] at start + i for every byte of styles except 0xFF,
    // which leaves that position's style as it was.
    void ApplyStyles(long start, std::string_view styles);
    int StyleAt(long pos) const;
    // Bytes of [start, start + length) without copying the rest of the text.
    std::string_view RangeView(long start, long length) const;

    // Every change of the text, for the passes that redo only what changed.
    const EditLog &Log() const { return m_log; }

    // The line end the document uses; what Enter inserts.
    std::string_view LineEnd() const;

    // What the control does with things dragged onto it: 0 refuses every
    // drop; 1 (manual, the normal mode) opens dropped files and leaves text
    // to the control; 2 (automatic, set while an insertion tool drags) places
    // dropped text at the drop point.
    void SetOLEDropMode(int mode) { m_oleDropMode = mode; }
    int OLEDropMode() const { return m_oleDropMode; }

signals:
    // The text changed (typing, a drop, an undo, an edit through this class).
    void contentChanged();
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    void mouseUp(Qt::MouseButton button);
    // The left button released with Ctrl held, at this text position.
    void ctrlClicked(long position);
    void filesDropped(const QStringList &paths);
    // Text that the encoding cannot hold was kept out; character is the
    // first one that could not be written.
    void inputRefused(const QString &character);
    void gotFocus();
    void lostFocus();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    void onModified(int position, int type, int length);
    void flushContentChanged();
    // Handles a drag of files or of no text; false leaves it to the editor.
    bool acceptFileDrag(QDropEvent *e);
    void applyStyles();
    void adoptLineEnd();
    void updateLineNumberMargin();

    unsigned m_back = 0xFFFFFF;
    unsigned m_colors[9] = {};
    bool m_changePending = false;
    bool m_flushQueued = false;
    int m_oleDropMode = 1;
    bool m_lineNumbers = false;
    Encoding m_encoding = Encoding::Latin1;
    EditLog m_log;
};

// Local files named by dropped data, in order; empty when it holds none.
QStringList DroppedFiles(const QMimeData *data);

} // namespace varkel
