// The frame's script-language operations: the command-set switch, colouring
// of documents (whole text and line by line), the editor's colours and font,
// and comment blocks.

#include "app/gui/fmain.h"
#include "app/gui/prompts.h"
#include "app/mglobal.h"
#include "app/profile.h"
#include "app/settings.h"
#include "bindings/gui/commandbar.h"
#include "commands/gui/popupmenu.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "language/commentblock.h"
#include "language/syntaxhilite.h"

#include <QApplication>
#include <QToolButton>

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

void fMain::BuildDictionary(const std::string &commandSet)
{
    mGlobal::QVersion = commandSet;
    const Error err = varkel::BuildDictionary(m_dict, mGlobal::AppDir + "/Data", commandSet);
    // The insertion lists take what the build got to, also when it failed.
    FillCommandBar();
    if (err) {
        ReportError(err);
        return;
    }
    if (QToolButton *b = ToolButton("tb" + commandSet))
        b->setChecked(true);
    m_cMenu->SetRadioCheck(m_cMenu->IndexForKey("cmnu" + commandSet));
    WriteProfileString("General", "QVersion", commandSet, mGlobal::IniPath);
}

void fMain::SwitchCommandSet(const std::string &commandSet)
{
    BuildDictionary(commandSet);
    RichEdit *editor = ActiveEditor();
    if (!editor)
        return;
    if (mGlobal::AutoSyntaxType != 0)
        SyntaxHiLiteAll(editor);
    ClearData();
    GetBindings(editor->TextView(), false, false);
}

void fMain::SyntaxHiLiteAll(RichEdit *control)
{
    SyntaxHiLite(control, control->TextView(), 0, false, false);
}

void fMain::SyntaxHiLite(RichEdit *control, std::string_view text, long offset, bool quiet, bool /*noDocument*/)
{
    if (!control)
        return;
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    const long selStart = control->SelStart();
    if (!quiet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        SetStatusBarTip(QStringLiteral("Parsing Keywords..."), false);
    }
    // Runs are painted into a buffer first, so that a later run overwrites an
    // earlier one as the scan intends; the control then takes the result in
    // a few calls and repaints once. Styles never enter the undo history and
    // never change the text, so the document's modified state stays as it is.
    const std::string styles =
        hiLiteStyles(text, static_cast<size_t>(offset), m_dict, mGlobal::ColorStringElements, kUntouched);
    control->ApplyStyles(offset, styles);
    if (!quiet) {
        // The caret stays where it was; a selection collapses to its start.
        // A line pass while typing leaves the selection alone, so selecting
        // with Shift and the arrow keys keeps working.
        control->SetSelStart(selStart);
        QApplication::restoreOverrideCursor();
        if (!mGlobal::Loading)
            SetStatusBarTip(QStringLiteral("Ready"), true);
    }
    mGlobal::HiLiteBusy = wasBusy;
}

void fMain::RealTimeHiLite(fEdit *w, int lineOffset, int line)
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

void fMain::SetAutoSyntax(int mode, bool fromDialog)
{
    mGlobal::AutoSyntaxType = mode;
    static constexpr const char *kKeys[] = {"cmnuAutoSyntax_None", "cmnuAutoSyntax_ByChar", "cmnuAutoSyntax_ByLine"};
    if (mode >= 0 && mode <= 2)
        m_cMenu->SetRadioCheck(m_cMenu->IndexForKey(kKeys[mode]));
    WriteProfileInt("General", "AutoSyntaxType", mode, mGlobal::IniPath);
    if (AnyFormOpen())
        SetSyntaxColors(fromDialog);
}

void fMain::SetSyntaxColors(bool /*fromDialog*/)
{
    // The options dialog stores the colours it applies before calling here;
    // the editors take the new palette, then every document is re-coloured.
    ApplyEditorSettingsToAll();
    if (m_commandBar)
        m_commandBar->SetTextColors(mGlobal::AutoSyntaxType != 0);
    if (!m_docs.AnyOpen())
        return;
    if (mGlobal::AutoSyntaxType == 0) {
        SetEditorForeColor();
        return;
    }
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed && Editor(d))
            SyntaxHiLiteAll(Editor(d)->rtfEdit);
}

void fMain::SetEditorForeColor()
{
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    for (int d = 1; d <= m_docs.DocCount(); ++d) {
        if (m_docs[d].Closed || !Editor(d))
            continue;
        RichEdit *e = Editor(d)->rtfEdit;
        e->StyleRange(0, e->TextLength(), PlainText);
        e->SetSelStart(0);
    }
    mGlobal::HiLiteBusy = wasBusy;
}

void fMain::SetEditorBGColor()
{
    unsigned chosen = 0;
    if (!m_prompts->ChooseColorValue(this, mGlobal::BGColor, chosen))
        return;
    mGlobal::BGColor = chosen;
    ApplyEditorSettingsToAll();
    WriteProfileString("Font", "BGColor", std::to_string(chosen), mGlobal::IniPath);
    SetEditStates();
}

void fMain::SetEditorFont()
{
    // The dialog starts at the font the editor really shows, which for a
    // family that is not installed is the system's fixed-width font.
    const QString shown = RichEdit::ShownFontFamily(mGlobal::FontName);
    QFont initial(shown, mGlobal::FontSize);
    initial.setBold(mGlobal::FontBold);
    initial.setItalic(mGlobal::FontItalic);
    QFont chosen;
    if (!m_prompts->ChooseFont(this, initial, chosen))
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

void fMain::InsertCommentBlock()
{
    fEdit *w = ActiveWindow();
    if (!w)
        return;
    const QString typed = m_prompts->InputText(this, QStringLiteral("Enter Comment Text"),
                                               QStringLiteral("Insert Comment Block"), QString());
    if (typed.isEmpty())
        return;
    QByteArray latin = typed.toLatin1();
    std::string text(latin.constData(), static_cast<size_t>(latin.size()));
    const std::string block = BuildCommentBlock(text, currentCommentSettings(), w->rtfEdit->LineEnd());
    w->rtfEdit->SetSelText(block);
    w->rtfEdit->setFocus();
    if (mGlobal::AutoSyntaxType != 0)
        SyntaxHiLiteAll(w->rtfEdit);
}

} // namespace varkel
