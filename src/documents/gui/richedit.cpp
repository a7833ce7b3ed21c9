#include "documents/gui/richedit.h"

#include "documents/fileio.h"
#include "documents/gui/textcodec.h"
#include "documents/textsearch.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMimeData>
#include <QPalette>
#include <QUrl>

#include <algorithm>

namespace varkel {

namespace {
constexpr int kStyleDefault = QsciScintillaBase::STYLE_DEFAULT;

// The control's own accessible interface counts the characters from the start
// of the text up to the caret whenever the caret or the selection moves, so
// every keystroke costs time in proportion to the script. While no assistive
// technology listens, an editor is described as a plain editable widget;
// once one starts, the interfaces made so far are dropped, and the control's
// full text interface takes their place.
bool assistiveTechnologyListens = false;

QAccessibleInterface *plainEditorInterface(const QString &, QObject *object)
{
    if (assistiveTechnologyListens || QAccessible::isActive())
        return nullptr;
    auto *editor = qobject_cast<RichEdit *>(object);
    return editor ? new QAccessibleWidget(editor, QAccessible::EditableText) : nullptr;
}

class AssistiveStart : public QAccessible::ActivationObserver
{
public:
    void accessibilityActiveChanged(bool active) override
    {
        assistiveTechnologyListens = active;
        if (!active)
            return;
        for (QWidget *w : QApplication::allWidgets())
            if (auto *editor = qobject_cast<RichEdit *>(w))
                if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(editor))
                    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    }
};

// After the control's own factory, so that this one is asked first.
void describeEditorsPlainly()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(plainEditorInterface);
    static AssistiveStart observer;
    QAccessible::installActivationObserver(&observer);
}
} // namespace

RichEdit::RichEdit(QWidget *parent)
    : QsciScintilla(parent)
{
    describeEditorsPlainly();
    setUtf8(false);
    SendScintilla(SCI_SETCODEPAGE, 0);
    // No lexer: colours come only from Varkel's own passes, so nothing
    // repaints them behind its back.
    SendScintilla(SCI_SETLEXER, 0); // SCLEX_CONTAINER
    for (int m = 0; m < 5; ++m)
        SendScintilla(SCI_SETMARGINWIDTHN, m, 0L);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 3L);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 0UL);
    SendScintilla(SCI_SETEOLMODE, SC_EOL_CRLF);
    SendScintilla(SCI_SETWRAPMODE, SC_WRAP_NONE);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    setAutoIndent(false);
    setBraceMatching(NoBraceMatch);
    setAcceptDrops(true);
    // Only the "before" notifications of a change are asked for: the
    // after-change ones make the control convert the whole text up to the
    // change into a string for accessibility on every keystroke, which costs
    // time in proportion to the size of the script. A change is reported once
    // the event that made it has been handled.
    SendScintilla(SCI_SETMODEVENTMASK, static_cast<unsigned long>(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char *, int length, int, int, int, int, int, int) {
                onModified(position, type, length);
            });
    for (int i = 0; i <= 8; ++i)
        m_colors[i] = 0;
    // The line numbers need more room as the script grows or the text is
    // zoomed.
    connect(this, &QsciScintilla::linesChanged, this, &RichEdit::updateLineNumberMargin);
    connect(this, &QsciScintillaBase::SCN_ZOOM, this, &RichEdit::updateLineNumberMargin);
    applyStyles();
}

void RichEdit::SetLineNumbers(bool show)
{
    m_lineNumbers = show;
    updateLineNumberMargin();
}

int RichEdit::LineNumberWidth() const
{
    return static_cast<int>(SendScintilla(SCI_GETMARGINWIDTHN, 0UL));
}

void RichEdit::updateLineNumberMargin()
{
    if (!m_lineNumbers) {
        SendScintilla(SCI_SETMARGINWIDTHN, 0UL, 0L);
        return;
    }
    int digits = 1;
    for (int n = LineCount(); n >= 10; n /= 10)
        ++digits;
    const QByteArray sample(std::max(digits, 3), '9');
    const long width = SendScintilla(SCI_TEXTWIDTH, static_cast<unsigned long>(STYLE_LINENUMBER), sample.constData());
    SendScintilla(SCI_SETMARGINTYPEN, 0UL, static_cast<long>(SC_MARGIN_NUMBER));
    SendScintilla(SCI_SETMARGINWIDTHN, 0UL, width + 8);
}

void RichEdit::changeEvent(QEvent *e)
{
    QsciScintilla::changeEvent(e);
    // The margin and the current line take their colours from the palette.
    if (e->type() == QEvent::PaletteChange)
        applyStyles();
}

void RichEdit::onModified(int position, int type, int length)
{
    if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
        return;
    const auto pos = static_cast<std::size_t>(std::max(position, 0));
    const auto n = static_cast<std::size_t>(std::max(length, 0));
    if (type & SC_MOD_BEFOREINSERT)
        m_log.Record(pos, 0, n);
    else
        m_log.Record(pos, n, 0);
    m_changePending = true;
    if (!m_flushQueued) {
        // Changes that arrive outside the handlers below are reported from
        // the event loop.
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, [this] {
            m_flushQueued = false;
            flushContentChanged();
        }, Qt::QueuedConnection);
    }
}

void RichEdit::flushContentChanged()
{
    if (!m_changePending)
        return;
    m_changePending = false;
    emit contentChanged();
}

std::string_view RichEdit::TextView() const
{
    const long len = TextLength();
    if (len == 0)
        return {};
    const char *p = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return {p, static_cast<size_t>(len)};
}

std::string RichEdit::Text() const
{
    return std::string(TextView());
}

long RichEdit::TextLength() const
{
    return SendScintilla(SCI_GETLENGTH);
}

void RichEdit::SetText(std::string_view bytes)
{
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    SendScintilla(SCI_CLEARALL);
    if (!bytes.empty()) {
        // Room for the text and a gap about as big as the control would
        // grow it by, so that reading the text in place
        // (SCI_GETCHARACTERPOINTER) and the first edits do not move it all
        // to a bigger buffer.
        SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(bytes.size() + bytes.size() / 6 + 4096));
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(bytes.size()), bytes.data());
    }
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_GOTOPOS, 0UL);
    adoptLineEnd();
    flushContentChanged();
}

void RichEdit::adoptLineEnd()
{
    static_assert(SC_EOL_CRLF == 0 && SC_EOL_CR == 1 && SC_EOL_LF == 2);
    const Eol eol = DetectEol(TextView(), Eol::CrLf);
    SendScintilla(SCI_SETEOLMODE, eol == Eol::CrLf ? SC_EOL_CRLF : eol == Eol::Cr ? SC_EOL_CR : SC_EOL_LF);
}

std::string_view RichEdit::LineEnd() const
{
    switch (SendScintilla(SCI_GETEOLMODE)) {
    case SC_EOL_CR: return "\r";
    case SC_EOL_LF: return "\n";
    default: return "\r\n";
    }
}

long RichEdit::SelStart() const
{
    return SendScintilla(SCI_GETSELECTIONSTART);
}

long RichEdit::SelLength() const
{
    return SendScintilla(SCI_GETSELECTIONEND) - SendScintilla(SCI_GETSELECTIONSTART);
}

void RichEdit::SetSel(long start, long length)
{
    const long len = TextLength();
    start = std::clamp(start, 0L, len);
    const long end = std::clamp(start + std::max(length, 0L), start, len);
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(start), end);
}

void RichEdit::SetSelStart(long pos)
{
    SetSel(pos, 0);
}

void RichEdit::SetSelLength(long length)
{
    SetSel(SelStart(), length);
}

std::string RichEdit::SelText() const
{
    const long start = SelStart();
    const long length = SelLength();
    return std::string(RangeView(start, length));
}

void RichEdit::SetSelText(std::string_view bytes)
{
    // SCI_REPLACESEL stops at a NUL byte, so the target is replaced instead.
    const long start = SelStart();
    SendScintilla(SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(start + SelLength()));
    SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(bytes.size()), bytes.data());
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(start + static_cast<long>(bytes.size())));
    flushContentChanged();
}

long RichEdit::Find(std::string_view text, long start, long end, bool noHighlight, bool matchCase,
                    long *matchedLength)
{
    const long len = TextLength();
    if (end < 0 || end > len)
        end = len;
    if (text.empty() || start < 0 || start > end)
        return -1;
    long found = -1;
    long length = static_cast<long>(text.size());
    if (IsAscii(text)) {
        // An ASCII query is searched in the control's own buffer, which
        // matches as the control's search does: in UTF-8 text no byte of a
        // longer character is ASCII, so every match starts on a character.
        // (The control would also let "k" and "s" match the Kelvin sign and
        // the long s when case is ignored; those are left out.)
        const std::string_view within = RangeView(start, end - start);
        const std::size_t at = matchCase ? within.find(text) : FindIgnoringAsciiCase(within, text);
        if (at != std::string_view::npos)
            found = start + static_cast<long>(at);
    } else if (!matchCase && m_encoding == Encoding::Utf8) {
        // In UTF-8 other letters are compared through their case fold,
        // character by character; the match may be longer or shorter than
        // the query. (Latin-1 scripts keep the control's search, which
        // folds ASCII letters only.)
        const TextFound match = FindFoldingCase(TextView(), static_cast<std::size_t>(start),
                                                static_cast<std::size_t>(end), text, m_encoding);
        if (match.found()) {
            found = static_cast<long>(match.position);
            length = static_cast<long>(match.length);
        }
    } else {
        SendScintilla(SCI_SETSEARCHFLAGS, matchCase ? static_cast<unsigned long>(SCFIND_MATCHCASE) : 0UL);
        SendScintilla(SCI_SETTARGETSTART, static_cast<unsigned long>(start));
        SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(end));
        found = SendScintilla(SCI_SEARCHINTARGET, static_cast<uintptr_t>(text.size()), text.data());
    }
    if (found >= 0 && !noHighlight)
        SetSel(found, length);
    if (matchedLength)
        *matchedLength = found >= 0 ? length : 0;
    return found;
}

int RichEdit::ReplaceEach(std::string_view what, std::string_view with, bool matchCase)
{
    int count = 0;
    long pos = 0;
    SendScintilla(SCI_BEGINUNDOACTION);
    long length = 0;
    // A match without regard to case may take other bytes than the query.
    for (long found; (found = Find(what, pos, -1, true, matchCase, &length)) >= 0; ++count) {
        SendScintilla(SCI_SETTARGETSTART, static_cast<unsigned long>(found));
        SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(found + length));
        SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.data());
        pos = found + static_cast<long>(with.size());
    }
    SendScintilla(SCI_ENDUNDOACTION);
    if (count > 0)
        SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(pos));
    flushContentChanged();
    return count;
}

int RichEdit::GetLineFromChar(long pos) const
{
    return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos)));
}

int RichEdit::LineCount() const
{
    return static_cast<int>(SendScintilla(SCI_GETLINECOUNT));
}

long RichEdit::LineIndex(int line) const
{
    return SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
}

long RichEdit::LineLength(int line) const
{
    return SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line)) - LineIndex(line);
}

bool RichEdit::CanUndo() const
{
    return SendScintilla(SCI_CANUNDO) != 0;
}

void RichEdit::EditUndo()
{
    SendScintilla(SCI_UNDO);
    flushContentChanged();
}

bool RichEdit::CanRedo() const
{
    return SendScintilla(SCI_CANREDO) != 0;
}

void RichEdit::EditRedo()
{
    SendScintilla(SCI_REDO);
    flushContentChanged();
}

void RichEdit::EmptyUndoBuffer()
{
    SendScintilla(SCI_EMPTYUNDOBUFFER);
}

Error RichEdit::LoadFile(const std::string &path)
{
    ReadResult r = ReadFileBytes(path);
    if (r.error)
        return r.error;
    // The encoding comes first: the control then lays out the text once.
    SetEncoding(DetectEncoding(r.bytes));
    SetText(r.bytes);
    return {};
}

Error RichEdit::SaveFile(const std::string &path)
{
    return WriteFileSafely(path, TextView());
}

void RichEdit::SetEncoding(Encoding encoding)
{
    m_encoding = encoding;
    setUtf8(encoding == Encoding::Utf8);
}

bool RichEdit::RefuseUnheldText(const QString &text)
{
    QString refused;
    if (text.isEmpty() || TextToBytes(text, m_encoding, &refused))
        return false;
    emit inputRefused(refused);
    return true;
}

QByteArray RichEdit::fromMimeData(const QMimeData *source, bool &rectangular) const
{
    const QByteArray base = QsciScintilla::fromMimeData(source, rectangular);
    if (!source->hasText())
        return base;
    const auto bytes = TextToBytes(source->text(), m_encoding);
    return bytes ? QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())) : QByteArray();
}

QMimeData *RichEdit::toMimeData(const QByteArray &text, bool rectangular) const
{
    QMimeData *data = QsciScintilla::toMimeData(text, rectangular);
    data->setText(BytesToText(std::string_view(text.constData(), static_cast<size_t>(text.size())), m_encoding));
    return data;
}

void RichEdit::SetRightMargin(int margin)
{
    SendScintilla(SCI_SETWRAPMODE, margin == 0 ? SC_WRAP_WORD : SC_WRAP_NONE);
}

QString RichEdit::ShownFontFamily(const std::string &name)
{
    const QString family = QString::fromStdString(name);
    if (!family.isEmpty() && QFontDatabase::hasFamily(family))
        return family;
    // The family the system's fixed-width font really resolves to, so that
    // the font dialog can show it as the current choice.
    return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
}

void RichEdit::SetEditorFont(const std::string &name, int pointSize, bool bold, bool italic)
{
    const QByteArray family = ShownFontFamily(name).toUtf8();
    SendScintilla(SCI_STYLESETFONT, kStyleDefault, family.constData());
    SendScintilla(SCI_STYLESETSIZE, kStyleDefault, static_cast<long>(pointSize > 0 ? pointSize : 10));
    SendScintilla(SCI_STYLESETBOLD, kStyleDefault, static_cast<long>(bold));
    SendScintilla(SCI_STYLESETITALIC, kStyleDefault, static_cast<long>(italic));
    applyStyles();
}

void RichEdit::SetBackColor(unsigned bgr)
{
    m_back = bgr & 0xFFFFFF;
    applyStyles();
}

void RichEdit::SetStyleColor(int style, unsigned bgr)
{
    if (style < 0 || style > 8)
        return;
    m_colors[style] = bgr & 0xFFFFFF;
    SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(style), static_cast<long>(m_colors[style]));
}

void RichEdit::applyStyles()
{
    SendScintilla(SCI_STYLESETBACK, kStyleDefault, static_cast<long>(m_back));
    SendScintilla(SCI_STYLESETFORE, kStyleDefault, static_cast<long>(m_colors[1]));
    SendScintilla(SCI_STYLECLEARALL);
    for (int s = 0; s <= 8; ++s)
        SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(s), static_cast<long>(m_colors[s]));
    // Keep the caret visible on dark backgrounds.
    const unsigned r = m_back & 0xFF, g = (m_back >> 8) & 0xFF, b = (m_back >> 16) & 0xFF;
    const bool dark = (r * 299 + g * 587 + b * 114) < 128000;
    SendScintilla(SCI_SETCARETFORE, dark ? 0xFFFFFFUL : 0UL);

    // The line-number margin in the palette's window colours; the caret's
    // line a faint wash of the palette's highlight over the user's background.
    const QPalette pal = palette();
    auto bgrOf = [](const QColor &c) {
        return static_cast<long>(static_cast<unsigned>(c.red()) | (static_cast<unsigned>(c.green()) << 8) |
                                 (static_cast<unsigned>(c.blue()) << 16));
    };
    auto mix = [](const QColor &a, const QColor &b, double share) {
        return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                                static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                                static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
    };
    const QColor window = pal.color(QPalette::Window);
    SendScintilla(SCI_STYLESETBACK, static_cast<unsigned long>(STYLE_LINENUMBER), bgrOf(window));
    SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(STYLE_LINENUMBER),
                  bgrOf(mix(window, pal.color(QPalette::WindowText), 0.55)));
    SendScintilla(SCI_SETCARETLINEVISIBLE, 1UL);
    SendScintilla(SCI_SETCARETLINEVISIBLEALWAYS, 1UL);
    SendScintilla(SCI_SETCARETLINEBACK, static_cast<unsigned long>(
        bgrOf(mix(QColor(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b)),
                  pal.color(QPalette::Highlight), 0.12))));
    updateLineNumberMargin();
}

QColor RichEdit::CurrentLineColor() const
{
    const auto bgr = static_cast<unsigned>(SendScintilla(SCI_GETCARETLINEBACK));
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

void RichEdit::StyleRange(long start, long length, int style)
{
    if (length <= 0)
        return;
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start), 0L);
    SendScintilla(SCI_SETSTYLING, static_cast<unsigned long>(length), static_cast<long>(style));
}

void RichEdit::ApplyStyles(long start, std::string_view styles)
{
    if (styles.empty())
        return;
    // Untouched positions keep their style. Blanks and line ends show no
    // colour, so only other untouched bytes (a decimal point, the rest of the
    // text after an unterminated string) need their old style read back; the
    // result goes to the control in one call, which costs far less than one
    // styling call per token.
    const long length = static_cast<long>(styles.size());
    const std::string_view text = RangeView(start, length);
    std::string merged(styles);
    long i = 0;
    while (i < length) {
        if (merged[static_cast<size_t>(i)] != '\xFF') {
            ++i;
            continue;
        }
        long j = i;
        bool blank = true;
        while (j < length && merged[static_cast<size_t>(j)] == '\xFF') {
            const char c = text[static_cast<size_t>(j)];
            blank = blank && (c == ' ' || c == '\t' || c == '\r' || c == '\n');
            ++j;
        }
        if (blank) {
            std::fill(merged.begin() + i, merged.begin() + j, '\0');
        } else {
            std::string styled(static_cast<size_t>(2 * (j - i) + 2), '\0');
            SendScintilla(SCI_GETSTYLEDTEXT, start + i, start + j, styled.data());
            for (long k = i; k < j; ++k)
                merged[static_cast<size_t>(k)] = styled[static_cast<size_t>(2 * (k - i) + 1)];
        }
        i = j;
    }
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start), 0L);
    SendScintilla(SCI_SETSTYLINGEX, static_cast<uintptr_t>(length), merged.data());
}

int RichEdit::StyleAt(long pos) const
{
    return static_cast<int>(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
}

std::string_view RichEdit::RangeView(long start, long length) const
{
    const long len = TextLength();
    start = std::clamp(start, 0L, len);
    length = std::clamp(length, 0L, len - start);
    if (length == 0)
        return {};
    const long r = SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), length);
    return {reinterpret_cast<const char *>(r), static_cast<size_t>(length)};
}

void RichEdit::keyPressEvent(QKeyEvent *e)
{
    emit keyDown(e->key(), e->modifiers());
    // A printable character the encoding cannot hold is not typed at all
    // (the control would write "?" for it).
    if (const QString typed = e->text(); !typed.isEmpty() && typed.at(0).isPrint() && RefuseUnheldText(typed)) {
        e->accept();
        return;
    }
    QsciScintilla::keyPressEvent(e);
    flushContentChanged();
}

void RichEdit::inputMethodEvent(QInputMethodEvent *e)
{
    // A composed text the encoding cannot hold is dropped; the composition
    // ends without it.
    if (RefuseUnheldText(e->commitString())) {
        QInputMethodEvent ended;
        QsciScintilla::inputMethodEvent(&ended);
        e->accept();
        return;
    }
    QsciScintilla::inputMethodEvent(e);
    flushContentChanged();
}

void RichEdit::keyReleaseEvent(QKeyEvent *e)
{
    QsciScintilla::keyReleaseEvent(e);
    if (!e->isAutoRepeat() && hasFocus())
        emit keyUp(e->key(), e->modifiers());
}

void RichEdit::mouseReleaseEvent(QMouseEvent *e)
{
    QsciScintilla::mouseReleaseEvent(e);
    flushContentChanged();
    emit mouseUp(e->button());
    if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ControlModifier)) {
        const QPoint at = e->position().toPoint();
        const long under = SendScintilla(SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(at.x()),
                                         static_cast<long>(at.y()));
        emit ctrlClicked(under >= 0 ? under : SelStart());
    }
}

void RichEdit::contextMenuEvent(QContextMenuEvent *e)
{
    // The Edit menu pops up on release of the right button instead.
    e->accept();
}

void RichEdit::focusInEvent(QFocusEvent *e)
{
    QsciScintilla::focusInEvent(e);
    emit gotFocus();
}

void RichEdit::focusOutEvent(QFocusEvent *e)
{
    QsciScintilla::focusOutEvent(e);
    emit lostFocus();
}

QStringList DroppedFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool RichEdit::acceptFileDrag(QDropEvent *e)
{
    // Files are opened, not inserted; anything that is not text is refused;
    // text is left to the editor itself unless drops are switched off.
    if (m_oleDropMode == 0) {
        e->ignore();
        return true;
    }
    if (!DroppedFiles(e->mimeData()).isEmpty()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
        return true;
    }
    if (!e->mimeData()->hasText()) {
        e->ignore();
        return true;
    }
    return false;
}

void RichEdit::dragEnterEvent(QDragEnterEvent *e)
{
    if (!acceptFileDrag(e))
        QsciScintilla::dragEnterEvent(e);
}

void RichEdit::dragMoveEvent(QDragMoveEvent *e)
{
    if (!acceptFileDrag(e))
        QsciScintilla::dragMoveEvent(e);
}

void RichEdit::dropEvent(QDropEvent *e)
{
    if (m_oleDropMode == 0) {
        e->ignore();
        return;
    }
    const QStringList files = DroppedFiles(e->mimeData());
    if (!files.isEmpty()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
        emit filesDropped(files);
        return;
    }
    if (e->mimeData()->hasText() && RefuseUnheldText(e->mimeData()->text())) {
        e->ignore();
        return;
    }
    QsciScintilla::dropEvent(e);
    flushContentChanged();
}

void RichEdit::mousePressEvent(QMouseEvent *e)
{
    // The middle button pastes the X11 selection.
    if (e->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection())
        if (const QMimeData *data = QApplication::clipboard()->mimeData(QClipboard::Selection);
            data && data->hasText() && RefuseUnheldText(data->text())) {
            e->accept();
            return;
        }
    QsciScintilla::mousePressEvent(e);
}

} // namespace varkel
