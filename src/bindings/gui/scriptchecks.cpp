#include "bindings/gui/scriptchecks.h"

#include "app/callhook.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "bindings/completion.h"
#include "bindings/diskscriptfiles.h"
#include "bindings/findingplaces.h"
#include "bindings/gui/problemslist.h"
#include "bindings/usernamesfile.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace varkel {

namespace {

using Sci = QsciScintillaBase;

QString FindingText(const LintFinding &f)
{
    const std::string_view code = LintCodeName(f.code);
    return QString::fromStdString(f.message) + QStringLiteral(" [") +
           QString::fromLatin1(code.data(), static_cast<int>(code.size())) + QLatin1Char(']');
}

bool LessByPosition(const LintFinding &a, const LintFinding &b)
{
    return a.position < b.position;
}

} // namespace

struct ScriptChecks::EditorState {
    RichEdit *editor = nullptr;
    const LintVocabulary *vocab = nullptr; // the vocabulary of the last whole check
    std::string set;                       // its command set
    ScriptNames names;                     // the names of the script's exec chain, as last checked
    std::unique_ptr<LineLinter> linter;    // re-checks typed lines with those names
    FindingPlaces findings;                // in text order; positions follow every change
    std::unique_ptr<QTimer> pause;         // the whole check once typing pauses
    long dirtyFrom = -1;                   // the range changed since the last report, in the present text
    long dirtyTo = -1;
    bool charTyped = false;                // the change came from a typed character
    bool statusShown = false;              // the status bar shows the caret's finding
    bool caretPending = false;             // a caret move waits to be shown
};

ScriptChecks::ScriptChecks(QObject *parent)
    : QObject(parent)
    , m_lastCompletion(std::make_unique<CompletionList>())
{
}

ScriptChecks::~ScriptChecks() = default;

void ScriptChecks::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

ScriptChecks::EditorState *ScriptChecks::StateOf(RichEdit *editor) const
{
    const auto it = m_editors.find(editor);
    return it == m_editors.end() ? nullptr : it->second.get();
}

const LintVocabulary &ScriptChecks::VocabularyFor(const std::string &set)
{
    auto &slot = m_vocabularies[set];
    if (!slot) {
        const GameDictionary *dict = CallHook(m_hooks.dictionaryFor, set);
        slot = dict ? std::make_unique<LintVocabulary>(*dict) : std::make_unique<LintVocabulary>();
        slot->setUserNames(ReadUserNames(UserNamesPath(mGlobal::IniPath, set)));
    }
    return *slot;
}

void ScriptChecks::Attach(RichEdit *editor)
{
    if (!editor || m_editors.count(editor))
        return;
    auto state = std::make_unique<EditorState>();
    EditorState &s = *state;
    s.editor = editor;
    s.pause = std::make_unique<QTimer>();
    s.pause->setSingleShot(true);
    connect(s.pause.get(), &QTimer::timeout, this, [this, &s] { CheckWhole(s); });
    m_editors.emplace(editor, std::move(state));

    connect(editor, &QObject::destroyed, this, [this, editor] { m_editors.erase(editor); });
    connect(editor, &Sci::SCN_MODIFIED, this,
            [this, &s](int position, int type, const char *, int length, int, int, int, int, int, int) {
                OnBeforeChange(s, position, type, length);
            });
    connect(editor, &RichEdit::contentChanged, this, [this, &s] { OnContentChanged(s); });
    connect(editor, &Sci::SCN_CHARADDED, this, [&s](int) { s.charTyped = true; });
    // The caret moves while the control paints: the status bar is told
    // afterwards, once.
    connect(editor, &QsciScintilla::cursorPositionChanged, this, [this, &s](int, int) {
        if (s.caretPending)
            return;
        s.caretPending = true;
        QMetaObject::invokeMethod(this, [this, editor = s.editor] {
            if (EditorState *state = StateOf(editor)) {
                state->caretPending = false;
                ShowCaretFinding(*state);
            }
        }, Qt::QueuedConnection);
    });
    editor->SendScintilla(Sci::SCI_SETMOUSEDWELLTIME, 500UL);
    connect(editor, &Sci::SCN_DWELLSTART, this, [this, &s](int position, int x, int y) { ShowHover(s, position, x, y); });
    connect(editor, &Sci::SCN_DWELLEND, this, [](int, int, int) { QToolTip::hideText(); });
    StyleIndicators(editor);
    // The text an editor is given when it opens is checked as a whole, once
    // the window shows it.
    s.pause->start(kPauseMs);
}

// --- following the text ------------------------------------------------------

void ScriptChecks::OnBeforeChange(EditorState &s, long position, int type, long length)
{
    // Off, a keystroke costs nothing here.
    if (!mGlobal::CheckScripts && !mGlobal::OfferCompletions)
        return;
    if (type & Sci::SC_MOD_BEFOREINSERT) {
        s.findings.Inserted(static_cast<std::size_t>(position), static_cast<std::size_t>(length));
        if (s.dirtyFrom < 0) {
            s.dirtyFrom = position;
            s.dirtyTo = position + length;
        } else {
            s.dirtyFrom = std::min(s.dirtyFrom, position);
            if (s.dirtyTo >= position)
                s.dirtyTo += length;
            s.dirtyTo = std::max(s.dirtyTo, position + length);
        }
    } else if (type & Sci::SC_MOD_BEFOREDELETE) {
        s.findings.Deleted(static_cast<std::size_t>(position), static_cast<std::size_t>(length));
        if (s.dirtyFrom < 0) {
            s.dirtyFrom = s.dirtyTo = position;
        } else {
            s.dirtyFrom = std::min(s.dirtyFrom, position);
            if (s.dirtyTo >= position + length)
                s.dirtyTo -= length;
            else if (s.dirtyTo > position)
                s.dirtyTo = position;
            s.dirtyTo = std::max(s.dirtyTo, position);
        }
    }
}

void ScriptChecks::OnContentChanged(EditorState &s)
{
    const bool typed = s.charTyped;
    s.charTyped = false;
    if (s.dirtyFrom < 0 || (!mGlobal::CheckScripts && !mGlobal::OfferCompletions))
        return;
    RichEdit *e = s.editor;
    const long length = e->TextLength();
    const long from = std::clamp(s.dirtyFrom, 0L, length);
    const long to = std::clamp(s.dirtyTo, from, length);
    s.dirtyFrom = s.dirtyTo = -1;
    if (mGlobal::CheckScripts) {
        const int first = e->GetLineFromChar(from);
        const int last = e->GetLineFromChar(to);
        // A keystroke's or a paste's lines are checked now, the rest after a
        // pause; a change of very many lines (a file read) waits for the pause
        // altogether, so that no edit waits for a check of the whole script.
        constexpr int kMostLinesNow = 5000;
        if (!s.linter || last - first > kMostLinesNow) {
            s.pause->start(kPauseMs);
        } else {
            CheckLines(s, first, last);
            s.pause->start(kPauseMs);
        }
    } else {
        s.pause->start(kPauseMs); // the names for completion
    }
    if (mGlobal::OfferCompletions && (typed || e->isListActive()))
        OfferCompletions(s);
}

void ScriptChecks::CheckLines(EditorState &s, int first, int last)
{
    RichEdit *e = s.editor;
    const std::string_view text = e->TextView();
    const std::size_t from = static_cast<std::size_t>(e->LineIndex(first));
    // The last line reaches past the end: a finding whose text was deleted there sits at the end.
    const std::size_t to = last + 1 < e->LineCount() ? static_cast<std::size_t>(e->LineIndex(last + 1)) : text.size() + 1;
    const std::size_t lo = s.findings.LowerBound(from);
    const std::size_t hi = s.findings.LowerBound(to);
    std::vector<LintFinding> fresh;
    for (int line = first; line <= last; ++line)
        s.linter->lintLine(text, static_cast<std::size_t>(e->LineIndex(line)), line, fresh);
    std::stable_sort(fresh.begin(), fresh.end(), LessByPosition);
    s.findings.Replace(lo, hi, std::move(fresh));
    Paint(s, static_cast<long>(from), static_cast<long>(to));
    ShowCaretFinding(s);
}

void ScriptChecks::CheckWhole(EditorState &s)
{
    s.pause->stop();
    RichEdit *e = s.editor;
    const std::string path = CallHook(m_hooks.pathOf, e);
    DiskScriptFiles disk;
    ScriptFiles *files = path.empty() ? nullptr : &disk;
    const std::string set = CallHook(m_hooks.commandSetOf, e);
    const LintVocabulary &vocab = VocabularyFor(set);
    s.vocab = &vocab;
    s.set = set;
    if (!mGlobal::CheckScripts) {
        if (mGlobal::OfferCompletions)
            s.names = CollectScriptNames(vocab, path, e->TextView(), files);
        Clear(s);
        return;
    }
    LintReport report = LintScript(vocab, path, e->TextView(), files);
    s.names = std::move(report.names);
    s.findings.Assign(std::move(report.findings));
    s.linter = std::make_unique<LineLinter>(vocab, s.names);
    StyleIndicators(e);
    Paint(s, 0, e->TextLength());
    if (e == CallHook(m_hooks.activeEditor))
        UpdateProblems();
    ShowCaretFinding(s);
}

void ScriptChecks::CheckNow(RichEdit *editor)
{
    if (EditorState *s = StateOf(editor); s && s->pause->isActive())
        CheckWhole(*s);
}

void ScriptChecks::Clear(EditorState &s)
{
    s.findings.Clear();
    s.linter.reset();
    Paint(s, 0, s.editor->TextLength());
    if (s.editor == CallHook(m_hooks.activeEditor))
        UpdateProblems();
    ShowCaretFinding(s);
}

void ScriptChecks::RecheckAll()
{
    for (auto &[editor, s] : m_editors)
        CheckWhole(*s);
    UpdateProblems();
}

void ScriptChecks::RecheckAllAfterPause()
{
    for (auto &[editor, s] : m_editors)
        s->pause->start(kPauseMs);
}

void ScriptChecks::RestyleAll()
{
    for (auto &[editor, s] : m_editors)
        StyleIndicators(editor);
}

void ScriptChecks::ApplySettings()
{
    for (auto &[editor, s] : m_editors) {
        if (!mGlobal::OfferCompletions && editor->isListActive())
            editor->cancelList();
        CheckWhole(*s);
    }
    UpdateProblems();
}

void ScriptChecks::ActiveChanged()
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    EditorState *s = StateOf(e);
    // A document whose command set changed meanwhile is checked with its new
    // one after the pause, as after typing.
    if (s && mGlobal::CheckScripts && s->linter && s->set != CallHook(m_hooks.commandSetOf, e))
        s->pause->start(kPauseMs);
    // A check still waiting (a script just read) waits a whole pause from
    // the moment its document shows, not from the moment its text arrived.
    else if (s && s->pause->isActive())
        s->pause->start(kPauseMs);
    UpdateProblems();
}

// --- showing the findings ----------------------------------------------------

void ScriptChecks::StyleIndicators(RichEdit *e)
{
    // Colours that stand out from the editor's background, light or dark.
    const unsigned long back = static_cast<unsigned long>(e->SendScintilla(Sci::SCI_STYLEGETBACK, Sci::STYLE_DEFAULT));
    const int r = static_cast<int>(back & 0xFF), g = static_cast<int>((back >> 8) & 0xFF),
              b = static_cast<int>((back >> 16) & 0xFF);
    const bool dark = r * 299 + g * 587 + b * 114 < 128000;
    const long warning = dark ? 0x5A6EFF : 0x1818D8; // 0xBBGGRR: a red
    const long note = dark ? 0xFFB064 : 0xD08000;    // a blue
    e->SendScintilla(Sci::SCI_INDICSETSTYLE, kWarningIndicator, static_cast<long>(Sci::INDIC_SQUIGGLEPIXMAP));
    e->SendScintilla(Sci::SCI_INDICSETFORE, kWarningIndicator, warning);
    e->SendScintilla(Sci::SCI_INDICSETSTYLE, kNoteIndicator, static_cast<long>(Sci::INDIC_DOTS));
    e->SendScintilla(Sci::SCI_INDICSETFORE, kNoteIndicator, note);
    e->SendScintilla(Sci::SCI_INDICSETALPHA, kNoteIndicator, 255L);
    for (const int indicator : {kWarningIndicator, kNoteIndicator})
        e->SendScintilla(Sci::SCI_INDICSETUNDER, static_cast<unsigned long>(indicator), 1L);
}

void ScriptChecks::Paint(EditorState &s, long from, long to)
{
    RichEdit *e = s.editor;
    to = std::min(to, e->TextLength());
    if (to <= from && !(from == 0 && to == 0))
        return;
    for (const int indicator : {kWarningIndicator, kNoteIndicator}) {
        e->SendScintilla(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(indicator));
        e->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(from), to - from);
    }
    int current = -1;
    for (std::size_t i = s.findings.LowerBound(static_cast<std::size_t>(from));
         i < s.findings.size() && s.findings.PositionAt(i) < static_cast<std::size_t>(to); ++i) {
        const LintFinding f = s.findings.At(i);
        const int indicator = f.severity == LintSeverity::Warning ? kWarningIndicator : kNoteIndicator;
        if (indicator != current)
            e->SendScintilla(Sci::SCI_SETINDICATORCURRENT, static_cast<unsigned long>(current = indicator));
        const long length = std::min(static_cast<long>(std::max<std::size_t>(f.length, 1)),
                                     e->TextLength() - static_cast<long>(f.position));
        if (length > 0)
            e->SendScintilla(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(f.position), length);
    }
}

std::vector<LintFinding> ScriptChecks::Findings(RichEdit *editor) const
{
    const EditorState *s = StateOf(editor);
    if (!s)
        return {};
    std::vector<LintFinding> found = s->findings.All();
    for (LintFinding &f : found) {
        f.line = editor->GetLineFromChar(static_cast<long>(f.position));
        f.column = f.position - static_cast<std::size_t>(editor->LineIndex(f.line));
    }
    return found;
}

std::optional<LintFinding> ScriptChecks::FindingAt(RichEdit *editor, long pos) const
{
    const EditorState *s = StateOf(editor);
    if (!s || pos < 0)
        return std::nullopt;
    const std::size_t p = static_cast<std::size_t>(pos);
    // The last finding that begins at or before pos and reaches it.
    std::size_t i = s->findings.LowerBound(p + 1);
    while (i > 0) {
        --i;
        const std::size_t at = s->findings.PositionAt(i);
        if (at + std::max<std::size_t>(s->findings.At(i).length, 1) >= p)
            return s->findings.At(i);
        if (p - at > 4096)
            break;
    }
    return std::nullopt;
}

ProblemRow ScriptChecks::RowOf(const EditorState &s, const LintFinding &f) const
{
    ProblemRow row;
    const long pos = static_cast<long>(f.position);
    const int line = s.editor->GetLineFromChar(pos);
    row.line = line + 1;
    row.column = static_cast<std::size_t>(pos - s.editor->LineIndex(line)) + 1;
    row.code = f.code;
    row.severity = f.severity;
    row.message = f.message;
    row.name = f.name;
    row.position = pos;
    row.length = static_cast<long>(std::max<std::size_t>(f.length, 1));
    return row;
}

void ScriptChecks::UpdateProblems()
{
    if (!m_problems)
        return;
    std::vector<ProblemRow> rows;
    const EditorState *s = StateOf(CallHook(m_hooks.activeEditor));
    if (s && mGlobal::CheckScripts && !m_problems->isHidden()) {
        const std::vector<LintFinding> all = s->findings.All();
        rows.reserve(all.size());
        for (const LintFinding &f : all)
            rows.push_back(RowOf(*s, f));
    }
    m_problems->SetRows(std::move(rows));
}

void ScriptChecks::ShowCaretFinding(EditorState &s)
{
    if (s.editor != CallHook(m_hooks.activeEditor))
        return;
    const long caret = s.editor->SendScintilla(Sci::SCI_GETCURRENTPOS);
    if (const std::optional<LintFinding> f = FindingAt(s.editor, caret)) {
        CallHook(m_hooks.statusTip, FindingText(*f), true);
        s.statusShown = true;
    } else if (s.statusShown) {
        s.statusShown = false;
        CallHook(m_hooks.resetStatusTip);
    }
}

void ScriptChecks::ShowHover(EditorState &s, long position, int x, int y)
{
    const std::optional<LintFinding> f = position >= 0 ? FindingAt(s.editor, position) : std::nullopt;
    // A menu that popped up while the pointer rested (a right click) is not covered.
    if (!f || QApplication::activePopupWidget()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(s.editor->viewport()->mapToGlobal(QPoint(x, y)), FindingText(*f), s.editor->viewport());
}

void ScriptChecks::GoToFinding(bool forward)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    EditorState *s = StateOf(e);
    if (!s || !mGlobal::CheckScripts)
        return;
    CheckNow(e);
    if (s->findings.empty()) {
        CallHook(m_hooks.statusTip, QStringLiteral("No problems found"), true);
        return;
    }
    const std::vector<LintFinding> all = s->findings.All();
    const std::size_t start = static_cast<std::size_t>(e->SelStart());
    const bool selected = e->SelLength() > 0;
    const LintFinding *to = nullptr;
    if (forward) {
        for (const LintFinding &f : all)
            if (f.position > start || (!selected && f.position == start)) {
                to = &f;
                break;
            }
        if (!to)
            to = &all.front();
    } else {
        for (auto it = all.rbegin(); it != all.rend(); ++it)
            if (it->position < start) {
                to = &*it;
                break;
            }
        if (!to)
            to = &all.back();
    }
    const LintFinding f = *to;
    e->SetSel(static_cast<long>(f.position), static_cast<long>(std::max<std::size_t>(f.length, 1)));
    e->ensureLineVisible(e->GetLineFromChar(static_cast<long>(f.position)));
    CallHook(m_hooks.statusTip, FindingText(f), true);
    s->statusShown = true;
}

// --- the user's own names ----------------------------------------------------

std::string ScriptChecks::MyNameForMenu()
{
    m_menuName.clear();
    RichEdit *e = CallHook(m_hooks.activeEditor);
    if (!e || !mGlobal::CheckScripts)
        return {};
    // The word under the mouse pointer (a right click), else the caret's.
    long pos = -1;
    const QPoint at = e->viewport()->mapFromGlobal(QCursor::pos());
    if (e->viewport()->rect().contains(at))
        pos = e->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(at.x()),
                               static_cast<long>(at.y()));
    std::optional<LintFinding> f = FindingAt(e, pos);
    if (!f)
        f = FindingAt(e, e->SendScintilla(Sci::SCI_GETCURRENTPOS));
    if (f && f->code == LintCode::UnknownName)
        m_menuName = f->name;
    return m_menuName;
}

void ScriptChecks::AddMyNameFromMenu()
{
    if (const std::string name = m_menuName; !name.empty())
        AddMyName(name);
}

void ScriptChecks::AddMyName(const std::string &name)
{
    RichEdit *e = CallHook(m_hooks.activeEditor);
    const std::string set = e ? CallHook(m_hooks.commandSetOf, e) : mGlobal::QVersion;
    if (const Error failed = AddUserName(UserNamesPath(mGlobal::IniPath, set), name)) {
        CallHook(m_hooks.reportError, failed);
        return;
    }
    m_vocabularies.erase(set); // read again with the new name
    RecheckAll();
    CallHook(m_hooks.statusTip, QStringLiteral("%1 added to my names").arg(QString::fromStdString(name)), true);
}

// --- the Problems dock ---------------------------------------------------------

ProblemsList *ScriptChecks::BuildProblemsList(QWidget *parent)
{
    if (m_problems)
        return m_problems;
    m_problems = new ProblemsList(parent);
    ProblemsList::Hooks hooks;
    hooks.rowChosen = [this](const ProblemRow &row) {
        RichEdit *e = CallHook(m_hooks.activeEditor);
        if (!e)
            return;
        const long length = e->TextLength();
        const long at = std::min(row.position, length);
        e->SetSel(at, std::min(row.length, length - at));
        e->ensureLineVisible(e->GetLineFromChar(at));
        CallHook(m_hooks.statusTip, QString::fromStdString(row.message), true);
    };
    hooks.addName = [this](const std::string &name) { AddMyName(name); };
    hooks.closed = [this] {
        mGlobal::ShowProblems = false;
        WriteProfileString(kSectionGeneral, "ShowProblems", BoolText(false), mGlobal::IniPath);
        CallHook(m_hooks.checkCommand, std::string_view("cmnuProblems"), false);
    };
    hooks.areaChanged = [](int area) {
        mGlobal::ProblemsArea = area;
        WriteProfileInt(std::string(kSectionGeneral), "ProblemsArea", area, mGlobal::IniPath);
    };
    m_problems->SetHooks(std::move(hooks));
    m_problems->setVisible(mGlobal::ShowProblems);
    CallHook(m_hooks.checkCommand, std::string_view("cmnuProblems"), mGlobal::ShowProblems);
    return m_problems;
}

ProblemsList *ScriptChecks::Problems() const
{
    return m_problems;
}

void ScriptChecks::ToggleProblemsList()
{
    if (!m_problems)
        return;
    const bool show = m_problems->isHidden();
    m_problems->setVisible(show);
    mGlobal::ShowProblems = show;
    WriteProfileString(kSectionGeneral, "ShowProblems", BoolText(show), mGlobal::IniPath);
    CallHook(m_hooks.checkCommand, std::string_view("cmnuProblems"), show);
    UpdateProblems();
}

// --- completion ----------------------------------------------------------------

const CompletionList &ScriptChecks::LastCompletion() const
{
    return *m_lastCompletion;
}

void ScriptChecks::OfferCompletions(EditorState &s)
{
    RichEdit *e = s.editor;
    const std::string set = CallHook(m_hooks.commandSetOf, e);
    const LintVocabulary &vocab = s.vocab && s.set == set ? *s.vocab : VocabularyFor(set);
    const std::string path = CallHook(m_hooks.pathOf, e);
    ScriptListing listing;
    if (const std::size_t slash = path.rfind('/'); slash != std::string::npos) {
        const std::string folder = path.substr(0, slash);
        listing = [folder](std::string_view sub) { return ListScriptFolder(folder + "/" + std::string(sub)); };
    }
    const long caret = e->SendScintilla(Sci::SCI_GETCURRENTPOS);
    *m_lastCompletion = CompletionsAt(e->TextView(), static_cast<std::size_t>(caret), vocab, s.names, listing);
    const CompletionList &c = *m_lastCompletion;
    const bool onlyTyped = c.candidates.size() == 1 && c.candidates.front().size() == c.typed.size() &&
                           std::equal(c.typed.begin(), c.typed.end(), c.candidates.front().begin(), [](char a, char b) {
                               return std::tolower(static_cast<unsigned char>(a)) ==
                                      std::tolower(static_cast<unsigned char>(b));
                           });
    if (c.context == CompletionContext::None || c.candidates.empty() || onlyTyped) {
        if (e->isListActive())
            e->cancelList();
        return;
    }
    std::string list;
    for (const std::string &candidate : c.candidates) {
        if (!list.empty())
            list += '\n';
        list += candidate;
    }
    e->SendScintilla(Sci::SCI_AUTOCSETSEPARATOR, static_cast<unsigned long>('\n'));
    e->SendScintilla(Sci::SCI_AUTOCSETIGNORECASE, 1UL);
    e->SendScintilla(Sci::SCI_AUTOCSETORDER, static_cast<unsigned long>(Sci::SC_ORDER_PERFORMSORT));
    e->SendScintilla(Sci::SCI_AUTOCSETAUTOHIDE, 1UL);
    e->SendScintilla(Sci::SCI_AUTOCSETMAXHEIGHT, 10UL);
    e->SendScintilla(Sci::SCI_AUTOCSETDROPRESTOFWORD, 0UL);
    e->SendScintilla(Sci::SCI_AUTOCSHOW, static_cast<unsigned long>(caret - static_cast<long>(c.start)), list.c_str());
}

} // namespace varkel
