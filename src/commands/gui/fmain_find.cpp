// Find, Find Next, Find Previous and the find-and-replace dialog.

#include "app/gui/fmain.h"
#include "app/gui/prompts.h"
#include "app/mglobal.h"
#include "commands/gui/replacedialog.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

namespace varkel {

namespace {
std::string latin1(const QString &s)
{
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}
} // namespace

void fMain::FindText()
{
    fEdit *w = ActiveWindow();
    if (!w)
        return;
    RichEdit *e = w->rtfEdit;
    const std::string proposed = e->SelLength() >= 1 ? e->SelText() : mGlobal::LastSearchText;
    const QString answer = m_prompts->InputText(this, QStringLiteral("Enter Search Text"), QStringLiteral("Find"),
                                                QString::fromLatin1(proposed.data(), static_cast<qsizetype>(proposed.size())));
    mGlobal::LastSearchText = latin1(answer);
    if (!mGlobal::LastSearchText.empty())
        e->Find(mGlobal::LastSearchText, 0);
    DisplayCharPos(w);
    SetEditStates();
}

void fMain::FindNext()
{
    fEdit *w = ActiveWindow();
    if (!w)
        return;
    RichEdit *e = w->rtfEdit;
    if (e->SelLength() >= 1)
        e->Find(e->SelText(), e->SelStart() + 1);
    else if (!mGlobal::LastSearchText.empty())
        e->Find(mGlobal::LastSearchText, e->SelStart());
    DisplayCharPos(w);
}

void fMain::FindPrevious()
{
    fEdit *w = ActiveWindow();
    if (!w)
        return;
    RichEdit *e = w->rtfEdit;
    const std::string text = e->SelLength() >= 1 ? e->SelText() : mGlobal::LastSearchText;
    if (!text.empty()) {
        // The last occurrence that starts after position 0 and ends by the
        // selection start; with none, the search starts at 0.
        const long limit = e->SelStart();
        long p = 0;
        long last = 0;
        for (;;) {
            last = p;
            const long r = e->Find(text, p + 1, limit, true);
            if (r < 0)
                break;
            p = r;
        }
        e->Find(text, last);
    }
    DisplayCharPos(w);
}

void fMain::ShowReplaceDialog()
{
    if (!ActiveEditor())
        return;
    if (!m_replace) {
        m_replace = new ReplaceDialog(this);
        connect(m_replace, &ReplaceDialog::findNextRequested, this, [this] { ReplaceStep(false); });
        connect(m_replace, &ReplaceDialog::replaceRequested, this, [this] { ReplaceStep(true); });
        connect(m_replace, &ReplaceDialog::replaceAllRequested, this, &fMain::ReplaceAll);
    }
    if (RichEdit *e = ActiveEditor(); e && e->SelLength() > 0)
        m_replace->setFindText(QString::fromLatin1(e->SelText().c_str()));
    else if (!mGlobal::LastSearchText.empty())
        m_replace->setFindText(QString::fromLatin1(mGlobal::LastSearchText.c_str()));
    m_replace->show();
    m_replace->raise();
    m_replace->activateWindow();
}

bool fMain::ReplaceStep(bool replace)
{
    fEdit *w = ActiveWindow();
    if (!w || !m_replace)
        return false;
    RichEdit *e = w->rtfEdit;
    const std::string what = latin1(m_replace->findText());
    if (what.empty())
        return false;
    mGlobal::LastSearchText = what;
    const bool matchCase = m_replace->matchCase();
    if (replace && e->SelLength() == static_cast<long>(what.size())) {
        const std::string sel = e->SelText();
        const bool same = matchCase ? sel == what
                                    : QString::fromLatin1(sel.c_str()).compare(QString::fromLatin1(what.c_str()),
                                                                               Qt::CaseInsensitive) == 0;
        if (same) {
            e->SetSelText(latin1(m_replace->replaceText()));
            AfterEditRefresh();
        }
    }
    long found = e->Find(what, e->SelStart() + e->SelLength(), -1, false, matchCase);
    if (found < 0)
        found = e->Find(what, 0, -1, false, matchCase); // wrap around
    DisplayCharPos(w);
    SetEditStates();
    return found >= 0;
}

int fMain::ReplaceAll()
{
    fEdit *w = ActiveWindow();
    if (!w || !m_replace)
        return 0;
    RichEdit *e = w->rtfEdit;
    const std::string what = latin1(m_replace->findText());
    if (what.empty())
        return 0;
    const std::string with = latin1(m_replace->replaceText());
    const bool matchCase = m_replace->matchCase();
    int count = 0;
    long pos = 0;
    // One undo step for the whole replacement.
    e->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
    for (;;) {
        const long found = e->Find(what, pos, -1, false, matchCase);
        if (found < 0)
            break;
        e->SetSelText(with);
        pos = found + static_cast<long>(with.size());
        ++count;
    }
    e->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
    if (count > 0)
        AfterEditRefresh();
    SetStatusBarTip(QStringLiteral("%1 occurrence(s) replaced").arg(count), true);
    DisplayCharPos(w);
    return count;
}

} // namespace varkel
