#include "language/gui/colouring.h"

#include "app/callhook.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "documents/gui/fedit.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "documents/gui/textcodec.h"
#include "language/commentblock.h"
#include "language/syntaxhilite.h"

#include <QApplication>
#include <QTimer>

namespace varkel {

namespace {
constexpr char kUntouched = '\xFF';

CommentBlockSettings currentCommentSettings()
{
    CommentBlockSettings s;
    s.CommentChar = mGlobal::CommentChar;
    s.CommentSize = mGlobal::CommentSize;
    s.CommentAutoSize = mGlobal::CommentAutoSize;
    s.CommentAlignment = mGlobal::CommentAlignment;
    s.CommentUCase = mGlobal::CommentUCase;
    return s;
}
} // namespace

Colouring::Colouring(QWidget *parent)
    : m_parent(parent)
    , m_idleTimer(std::make_unique<QTimer>())
{
    m_idleTimer->setSingleShot(true);
    m_idleTimer->setInterval(0);
    QObject::connect(m_idleTimer.get(), &QTimer::timeout, [this] { hiLiteIdleSlice(); });
}

Colouring::~Colouring() = default;

void Colouring::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

void Colouring::ApplyEditorSettings(RichEdit *editor)
{
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    for (int c = 1; c <= 8; ++c)
        editor->SetStyleColor(c, mGlobal::SyntaxColors[static_cast<size_t>(c)]);
    // Text that no pass has coloured shows in the plain-text colour.
    editor->SetStyleColor(0, mGlobal::SyntaxColors[1]);
    editor->SetEditorFont(mGlobal::FontName, mGlobal::FontSize, mGlobal::FontBold, mGlobal::FontItalic);
    editor->SetBackColor(mGlobal::BGColor);
    editor->SetLineNumbers(mGlobal::ShowLineNumbers);
    mGlobal::HiLiteBusy = wasBusy;
}

void Colouring::ApplyEditorSettingsToAll()
{
    for (RichEdit *e : CallHook(m_hooks.openEditors))
        ApplyEditorSettings(e);
    CallHook(m_hooks.refreshPreviews);
}

void Colouring::BuildDictionary(const std::string &commandSet)
{
    mGlobal::QVersion = commandSet;
    // The set read before is kept for the documents that use it.
    if (m_dict.completedStep() == BuildStep::Complete && m_dict.Set() != commandSet)
        m_other[m_dict.Set()] = std::move(m_dict);
    m_other.erase(commandSet);
    const Error err = varkel::BuildDictionary(m_dict, mGlobal::AppDir + "/Data", commandSet);
    // The insertion lists take what the build got to, also when it failed.
    CallHook(m_hooks.dictionaryBuilt);
    if (err) {
        CallHook(m_hooks.reportError, err);
        return;
    }
    CallHook(m_hooks.radioCheck, "cmnu" + commandSet, "tb" + commandSet);
    WriteProfileString("General", "QVersion", commandSet, mGlobal::IniPath);
}

void Colouring::UseCommandSet(const std::string &commandSet)
{
    if (commandSet.empty() || (commandSet == m_dict.Set() && m_dict.completedStep() == BuildStep::Complete))
        return;
    auto it = m_other.find(commandSet);
    if (it == m_other.end()) {
        // Not read yet: read it the way the Options menu does, without
        // storing it as the default.
        GameDictionary next;
        if (const Error err = varkel::BuildDictionary(next, mGlobal::AppDir + "/Data", commandSet)) {
            CallHook(m_hooks.reportError, err);
            return;
        }
        it = m_other.emplace(commandSet, std::move(next)).first;
    }
    GameDictionary next = std::move(it->second);
    m_other.erase(it);
    if (m_dict.completedStep() == BuildStep::Complete)
        m_other[m_dict.Set()] = std::move(m_dict);
    m_dict = std::move(next);
    CallHook(m_hooks.dictionaryBuilt);
    CallHook(m_hooks.radioCheck, "cmnu" + commandSet, "tb" + commandSet);
}

const GameDictionary &Colouring::DictionaryFor(const std::string &commandSet)
{
    if (commandSet.empty() || commandSet == m_dict.Set())
        return m_dict;
    if (auto it = m_other.find(commandSet); it != m_other.end())
        return it->second;
    GameDictionary dict;
    if (varkel::BuildDictionary(dict, mGlobal::AppDir + "/Data", commandSet))
        return m_dict; // a set that cannot be read colours with the one in use
    return m_other.emplace(commandSet, std::move(dict)).first->second;
}

GameDetection Colouring::DetectCommandSet(std::string_view text, const std::string &defaultSet)
{
    if (!m_detectorTried) {
        m_detectorTried = true;
        // The detector learns from the dictionaries colouring keeps anyway,
        // so each set's data files are read once. Without all three, every
        // script keeps the default set.
        const GameDictionary &q1 = DictionaryFor("Q1");
        const GameDictionary &q2 = DictionaryFor("Q2");
        const GameDictionary &q3 = DictionaryFor("Q3");
        const auto whole = [](const GameDictionary &d, std::string_view set) {
            return d.Set() == set && d.completedStep() == BuildStep::Complete;
        };
        if (whole(q1, "Q1") && whole(q2, "Q2") && whole(q3, "Q3"))
            m_detector.Learn(q1, q2, q3);
    }
    if (m_detector.empty()) {
        GameDetection none;
        none.set = defaultSet;
        none.weak = true;
        return none;
    }
    return m_detector.Detect(text, defaultSet);
}

void Colouring::SwitchCommandSet(const std::string &commandSet)
{
    BuildDictionary(commandSet);
    CallHook(m_hooks.commandSetChosen, commandSet);
    RichEdit *editor = CallHook(m_hooks.activeEditor);
    if (!editor)
        return;
    if (mGlobal::AutoSyntaxType != 0)
        SyntaxHiLiteAll(editor);
    CallHook(m_hooks.rereadBindings, editor);
}

void Colouring::SyntaxHiLiteAll(RichEdit *control)
{
    SyntaxHiLite(control, control->TextView(), 0, false, false);
}

void Colouring::SyntaxHiLiteAllSoon(RichEdit *control)
{
    if (!control)
        return;
    endIdlePass(control, false);
    m_passes.erase(control);
    const GameDictionary &dict = DictionaryFor(CallHook(m_hooks.commandSetOf, control));
    IdlePass pass;
    pass.editor = control;
    pass.serial = control->Log().Serial();
    pass.set = dict.Set();
    pass.colorStrings = mGlobal::ColorStringElements;
    // The first piece is coloured as a whole pass is: the status bar tells
    // of it and a selection collapses.
    const long selStart = control->SelStart();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CallHook(m_hooks.statusTip, QStringLiteral("Parsing Keywords..."), false);
    const bool more = hiLiteNextPiece(pass);
    control->SetSelStart(selStart);
    QApplication::restoreOverrideCursor();
    if (!mGlobal::Loading)
        CallHook(m_hooks.statusTip, QStringLiteral("Ready"), true);
    if (more) {
        // An edit before the pass ends waits for the rest to be coloured as
        // the text still is: the styles it leaves untouched (the rest of the
        // text after a string it leaves open) are then those a whole pass
        // at the open gave, exactly as when the open coloured everything.
        pass.beforeChange = QObject::connect(
            control, &QsciScintillaBase::SCN_MODIFIED, control,
            [this, control](int, int type, const char *, int, int, int, int, int, int, int) {
                if (type & (QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE))
                    endIdlePass(control, true);
            });
        m_idle[control] = std::move(pass);
        m_idleTimer->start();
    }
}

bool Colouring::HiLitePending(const RichEdit *control) const
{
    return m_idle.count(control) != 0;
}

void Colouring::FinishPendingHiLite()
{
    while (!m_idle.empty())
        hiLiteIdleSlice();
    m_idleTimer->stop();

}

bool Colouring::hiLiteNextPiece(IdlePass &pass)
{
    RichEdit *control = pass.editor;
    const std::string_view text = control->TextView();
    const std::size_t start = pass.next;
    if (start >= text.size())
        return false;
    // A piece ends after a line feed. While every piece so far was
    // line-local, a whole pass starts the piece's first line afresh, so the
    // piece coloured alone takes the styles the whole pass gives it; after a
    // piece that is not, only the whole rest coloured at once does.
    std::size_t end = text.size();
    if (text.size() - start > s_idlePieceSize) {
        const std::size_t lf = text.find('\n', start + s_idlePieceSize - 1);
        end = lf == std::string_view::npos ? text.size() : lf + 1;
    }
    const GameDictionary &dict = DictionaryFor(pass.set);
    bool lineLocal = true;
    std::string styles =
        hiLiteStyles(text.substr(start, end - start), start, dict, pass.colorStrings, kUntouched, &lineLocal);
    if (!lineLocal && end < text.size()) {
        end = text.size();
        styles = hiLiteStyles(text.substr(start), start, dict, pass.colorStrings, kUntouched, &lineLocal);
    }
    pass.lineLocal = pass.lineLocal && lineLocal;
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    control->ApplyStyles(static_cast<long>(start), styles);
    mGlobal::HiLiteBusy = wasBusy;
    pass.next = end;
    if (end < text.size())
        return true;
    // The pass is whole: colouring only the changed lines starts from here.
    PassMark &mark = m_passes[control];
    mark.editor = control;
    mark.serial = pass.serial;
    mark.set = pass.set;
    mark.colorStrings = pass.colorStrings;
    mark.lineLocal = pass.lineLocal;
    return false;
}

void Colouring::endIdlePass(const RichEdit *control, bool finish)
{
    const auto it = m_idle.find(control);
    if (it == m_idle.end())
        return;
    IdlePass pass = std::move(it->second);
    m_idle.erase(it);
    QObject::disconnect(pass.beforeChange);
    if (finish && pass.editor && pass.colorStrings == mGlobal::ColorStringElements &&
        pass.set == DictionaryFor(CallHook(m_hooks.commandSetOf, pass.editor)).Set())
        while (hiLiteNextPiece(pass)) {
        }
}

void Colouring::hiLiteIdleSlice()
{
    // One piece of each pending pass per slice, so that input waits for
    // one piece at most.
    for (auto it = m_idle.begin(); it != m_idle.end();) {
        IdlePass &pass = it->second;
        RichEdit *control = pass.editor;
        bool more = false;
        if (!control) {
        } else if (control->Log().Serial() != pass.serial || pass.colorStrings != mGlobal::ColorStringElements ||
                   pass.set != DictionaryFor(CallHook(m_hooks.commandSetOf, control)).Set()) {
            // The text or the way it is coloured changed under the pass: one
            // whole pass now gives the right styles.
            QObject::disconnect(pass.beforeChange);
            it = m_idle.erase(it);
            SyntaxHiLite(control, control->TextView(), 0, true, false);
            continue;
        } else {
            more = hiLiteNextPiece(pass);
        }
        if (!more)
            QObject::disconnect(pass.beforeChange);
        it = more ? std::next(it) : m_idle.erase(it);
    }
    if (!m_idle.empty())
        m_idleTimer->start();
}

void Colouring::SyntaxHiLiteEdited(RichEdit *control)
{
    if (!control)
        return;
    const GameDictionary &dict = DictionaryFor(CallHook(m_hooks.commandSetOf, control));
    const auto it = m_passes.find(control);
    std::vector<TextRange> changed;
    std::vector<StyledSpan> spans;
    if (it == m_passes.end() || it->second.editor != control || !it->second.lineLocal ||
        it->second.set != dict.Set() || it->second.colorStrings != mGlobal::ColorStringElements ||
        !control->Log().ChangedSince(it->second.serial, changed) ||
        !hiLiteChangedLines(control->TextView(), changed, dict, mGlobal::ColorStringElements, kUntouched, spans)) {
        SyntaxHiLiteAll(control);
        return;
    }
    it->second.serial = control->Log().Serial();
    std::vector<std::pair<long, std::string>> styles;
    for (StyledSpan &span : spans)
        styles.emplace_back(static_cast<long>(span.start), std::move(span.styles));
    // Only a whole pass takes long enough for the status bar to tell of it.
    applyStyles(control, styles, true, false);
}

void Colouring::SyntaxHiLite(RichEdit *control, std::string_view text, long offset, bool quiet, bool /*noDocument*/)
{
    if (!control)
        return;
    // Runs are painted into a buffer first, so that a later run overwrites an
    // earlier one as the scan intends; the control then takes the result in
    // a few calls and repaints once. Styles never enter the undo history and
    // never change the text, so the document's modified state stays as it is.
    const GameDictionary &dict = DictionaryFor(CallHook(m_hooks.commandSetOf, control));
    const bool whole = offset == 0 && static_cast<long>(text.size()) == control->TextLength();
    bool lineLocal = false;
    std::vector<std::pair<long, std::string>> styles;
    styles.emplace_back(offset, hiLiteStyles(text, static_cast<size_t>(offset), dict, mGlobal::ColorStringElements,
                                             kUntouched, whole ? &lineLocal : nullptr));
    if (whole) {
        // A whole pass is where colouring only the changed lines starts
        // from, and it ends a pass still under way in idle time.
        endIdlePass(control, false);
        PassMark &mark = m_passes[control];
        mark.editor = control;
        mark.serial = control->Log().Serial();
        mark.set = dict.Set();
        mark.colorStrings = mGlobal::ColorStringElements;
        mark.lineLocal = lineLocal;
    }
    applyStyles(control, styles, !quiet, !quiet);
}

void Colouring::applyStyles(RichEdit *control, const std::vector<std::pair<long, std::string>> &styles,
                            bool collapseSelection, bool showStatus)
{
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    const long selStart = control->SelStart();
    if (showStatus) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        CallHook(m_hooks.statusTip, QStringLiteral("Parsing Keywords..."), false);
    }
    for (const auto &[offset, bytes] : styles)
        control->ApplyStyles(offset, bytes);
    // The caret stays where it was; a selection collapses to its start. A
    // line pass while typing leaves the selection alone, so selecting with
    // Shift and the arrow keys keeps working.
    if (collapseSelection)
        control->SetSelStart(selStart);
    if (showStatus) {
        QApplication::restoreOverrideCursor();
        if (!mGlobal::Loading)
            CallHook(m_hooks.statusTip, QStringLiteral("Ready"), true);
    }
    mGlobal::HiLiteBusy = wasBusy;
}

void Colouring::RealTimeHiLite(fEdit *w, int lineOffset, int line)
{
    if (!w)
        return;
    RichEdit *e = w->rtfEdit;
    if (line < 0)
        line = e->GetLineFromChar(e->SelStart()) + lineOffset;
    if (line < 0 || line >= e->LineCount())
        return;
    // The line with its line end; the pass costs time for this line only.
    const long start = e->LineIndex(line);
    const long next = line + 1 < e->LineCount() ? e->LineIndex(line + 1) : e->TextLength();
    if (next <= start)
        return;
    SyntaxHiLite(e, e->RangeView(start, next - start), start, true, false);
}

void Colouring::SetAutoSyntax(int mode, bool fromDialog)
{
    mGlobal::AutoSyntaxType = mode;
    static constexpr const char *kKeys[] = {"cmnuAutoSyntax_None", "cmnuAutoSyntax_ByChar", "cmnuAutoSyntax_ByLine"};
    if (mode >= 0 && mode <= 2)
        CallHook(m_hooks.radioCheck, std::string(kKeys[mode]), std::string());
    WriteProfileInt("General", "AutoSyntaxType", mode, mGlobal::IniPath);
    if (CallHook(m_hooks.anyFormOpen))
        SetSyntaxColors(fromDialog);
}

void Colouring::SetSyntaxColors(bool /*fromDialog*/)
{
    // The options dialog stores the colours it applies before calling here;
    // the editors take the new palette, then every document is re-coloured.
    ApplyEditorSettingsToAll();
    CallHook(m_hooks.textColorsChanged, mGlobal::AutoSyntaxType != 0);
    const std::vector<RichEdit *> editors = CallHook(m_hooks.openEditors);
    if (editors.empty())
        return;
    if (mGlobal::AutoSyntaxType == 0) {
        SetEditorForeColor();
        return;
    }
    for (RichEdit *e : editors)
        SyntaxHiLiteAll(e);
}

void Colouring::SetEditorForeColor()
{
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    for (RichEdit *e : CallHook(m_hooks.openEditors)) {
        e->StyleRange(0, e->TextLength(), PlainText);
        e->SetSelStart(0);
        m_passes.erase(e);
    }
    mGlobal::HiLiteBusy = wasBusy;
}

void Colouring::SetEditorBGColor()
{
    unsigned chosen = 0;
    if (!m_prompts->ChooseColorValue(m_parent, mGlobal::BGColor, chosen))
        return;
    mGlobal::BGColor = chosen;
    ApplyEditorSettingsToAll();
    WriteProfileString("Font", "BGColor", std::to_string(chosen), mGlobal::IniPath);
    CallHook(m_hooks.setEditStates);
}

void Colouring::SetEditorFont()
{
    // The dialog starts at the font the editor really shows, which for a
    // family that is not installed is the system's fixed-width font.
    const QString shown = RichEdit::ShownFontFamily(mGlobal::FontName);
    QFont initial(shown, mGlobal::FontSize);
    initial.setBold(mGlobal::FontBold);
    initial.setItalic(mGlobal::FontItalic);
    QFont chosen;
    if (!m_prompts->ChooseFont(m_parent, initial, chosen))
        return;
    // Only a family the user picked is stored: keeping the stand-in leaves
    // the stored name as it was, so the script font comes back wherever that
    // family is installed.
    if (chosen.family() != shown)
        mGlobal::FontName = chosen.family().toStdString();
    mGlobal::FontSize = chosen.pointSize() > 0 ? chosen.pointSize() : mGlobal::FontSize;
    mGlobal::FontBold = chosen.bold();
    mGlobal::FontItalic = chosen.italic();
    WriteProfileString("Font", "Name", mGlobal::FontName, mGlobal::IniPath);
    WriteProfileString("Font", "Size", std::to_string(mGlobal::FontSize), mGlobal::IniPath);
    WriteProfileString("Font", "Bold", BoolText(mGlobal::FontBold), mGlobal::IniPath);
    WriteProfileString("Font", "Italic", BoolText(mGlobal::FontItalic), mGlobal::IniPath);
    ApplyEditorSettingsToAll();
}

void Colouring::InsertCommentBlock()
{
    RichEdit *editor = CallHook(m_hooks.activeEditor);
    if (!editor)
        return;
    const QString typed = m_prompts->InputText(m_parent, QStringLiteral("Enter Comment Text"),
                                               QStringLiteral("Insert Comment Block"), QString());
    if (typed.isEmpty())
        return;
    // In a UTF-8 script upper case is made from the characters, as its
    // bytes are not letters of their own.
    CommentBlockSettings settings = currentCommentSettings();
    QString shown = typed;
    if (editor->GetEncoding() == Encoding::Utf8 && settings.CommentUCase) {
        shown = typed.toUpper();
        settings.CommentUCase = false;
    }
    auto held = TextToBytes(shown, editor->GetEncoding());
    if (!held) {
        editor->RefuseUnheldText(shown);
        return;
    }
    std::string text = std::move(*held);
    const std::string block = BuildCommentBlock(text, settings, editor->LineEnd(), editor->GetEncoding());
    editor->SetSelText(block);
    editor->setFocus();
    if (mGlobal::AutoSyntaxType != 0)
        SyntaxHiLiteAll(editor);
}

} // namespace varkel
