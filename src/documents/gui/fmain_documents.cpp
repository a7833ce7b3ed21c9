// The frame's file operations: new, open, save, save as, save all, revert,
// close, and the document windows' reactions that belong to them.

#include "app/gui/fmain.h"
#include "app/gui/prompts.h"
#include "app/mglobal.h"
#include "commands/gui/icons.h"
#include "commands/gui/popupmenu.h"
#include "documents/gui/childwindow.h"
#include "documents/gui/fedit.h"
#include "documents/gui/localpath.h"
#include "documents/gui/richedit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>

namespace varkel {

namespace {
const QString kOpenTitle = QStringLiteral("Open a Quake Configuration File");
const QString kOpenFilter = QStringLiteral("Quake Config (*.cfg *.rc);;Text Files (*.txt);;All Files (*)");
const QString kSaveTitle = QStringLiteral("Save a Quake Configuration File");
const QString kSaveFilter = QStringLiteral("Quake Config(*.cfg *.rc);;Text Files (*.txt);;All Files (*)");
} // namespace

fEdit *fMain::Editor(int d) const
{
    if (d <= 0 || d >= static_cast<int>(m_editors.size()))
        return nullptr;
    return m_editors[static_cast<size_t>(d)];
}

QMdiSubWindow *fMain::SubWindowOf(int d) const
{
    fEdit *w = Editor(d);
    return w ? qobject_cast<QMdiSubWindow *>(w->parentWidget()) : nullptr;
}

fEdit *fMain::ActiveWindow() const
{
    QMdiSubWindow *sub = m_mdi->currentSubWindow();
    if (!sub)
        sub = m_mdi->activeSubWindow();
    fEdit *w = sub ? qobject_cast<fEdit *>(sub->widget()) : nullptr;
    if (w && m_docs.IsValid(w->Tag()) && !m_docs[w->Tag()].Closed)
        return w;
    return nullptr;
}

int fMain::ActiveDoc() const
{
    fEdit *w = ActiveWindow();
    return w ? w->Tag() : 0;
}

RichEdit *fMain::ActiveEditor() const
{
    fEdit *w = ActiveWindow();
    return w ? w->rtfEdit : nullptr;
}

void fMain::ApplyEditorSettings(RichEdit *editor)
{
    const bool wasBusy = mGlobal::HiLiteBusy;
    mGlobal::HiLiteBusy = true;
    for (int c = 1; c <= 8; ++c)
        editor->SetStyleColor(c, mGlobal::SyntaxColors[static_cast<size_t>(c)]);
    // Text that no pass has coloured shows in the plain-text colour.
    editor->SetStyleColor(0, mGlobal::SyntaxColors[1]);
    editor->SetEditorFont(mGlobal::FontName, mGlobal::FontSize, mGlobal::FontBold, mGlobal::FontItalic);
    editor->SetBackColor(mGlobal::BGColor);
    mGlobal::HiLiteBusy = wasBusy;
}

void fMain::SetWindowCaption(int d, const QString &caption)
{
    if (QMdiSubWindow *sub = SubWindowOf(d))
        sub->setWindowTitle(caption);
    if (fEdit *w = Editor(d))
        w->setWindowTitle(caption);
}

int fMain::TabIndexOf(int d) const
{
    const QString key = QStringLiteral("ChildTab%1").arg(d);
    for (int i = 0; i < tabOpenFiles->count(); ++i)
        if (tabOpenFiles->tabData(i).toString() == key)
            return i;
    return -1;
}

void fMain::AddFileTab(int d, const QString &caption)
{
    const int i = tabOpenFiles->addTab(IconFor("imgChild"), caption);
    tabOpenFiles->setTabData(i, QStringLiteral("ChildTab%1").arg(d));
    tabOpenFiles->setCurrentIndex(i);
}

void fMain::RemoveFileTab(int d)
{
    const int i = TabIndexOf(d);
    if (i >= 0)
        tabOpenFiles->removeTab(i);
}

int fMain::NewConfig()
{
    ClearData();
    const int d = m_docs.FindFreeIndex();
    const QString name = QString::fromStdString(UntitledName(d));
    m_docs[d].Path = UntitledName(d);

    auto *w = new fEdit(d, this);
    m_editors.resize(static_cast<size_t>(d) + 1, nullptr);
    m_editors[static_cast<size_t>(d)] = w;
    ApplyEditorSettings(w->rtfEdit);

    auto *sub = new ChildWindow;
    sub->setWidget(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    m_mdi->addSubWindow(sub);
    connect(sub, &ChildWindow::maximizeRequested, this, [this, sub] { OnChildMaximize(sub); });
    sub->setWindowIcon(IconFor("imgChild"));
    SetWindowCaption(d, name);
    AddFileTab(d, name);
    sub->show();
    if (m_mdi->subWindowList().size() == 1)
        Arrange(1);
    m_mdi->setActiveSubWindow(sub);
    w->rtfEdit->setFocus();
    return d;
}

void fMain::OpenDroppedFiles(const QStringList &files)
{
    for (const QString &f : files)
        OpenConfig(f);
}

void fMain::OpenConfig(const QString &path)
{
    OpenConfig(LocalPath(path));
}

void fMain::OpenConfig(std::string &path)
{
    QDir::setCurrent(QString::fromStdString(mGlobal::AppDir));
    mGlobal::Loading = true;
    std::vector<std::string> files;
    if (path.empty()) {
        for (const QString &name : m_prompts->OpenFiles(this, kOpenTitle, kOpenFilter))
            files.push_back(LocalPath(name));
        if (files.empty()) {
            mGlobal::Loading = false;
            return;
        }
    } else {
        files.push_back(path);
    }

    bool opened = false;
    for (const std::string &p : files) {
        path = p;
        const QString file = DisplayPath(p);
        if (const int existing = m_docs.FindOpenPath(p)) {
            if (QMdiSubWindow *sub = SubWindowOf(existing)) {
                sub->showNormal();
                m_mdi->setActiveSubWindow(sub);
                sub->raise();
            }
            continue;
        }
        SetStatusBarTip(QStringLiteral("Loading File..."), false);
        const int d = NewConfig();
        SetWindowCaption(d, file);
        m_docs[d].Path = p;
        m_docs[d].HasFile = true;
        RichEdit *editor = Editor(d)->rtfEdit;
        const Error err = editor->LoadFile(p);
        if (err) {
            UnloadDocument(d);
            SetRecentFiles(p, QStringLiteral("Remove"));
            m_prompts->Critical(this, QStringLiteral("Unable to Open ") + file);
            mGlobal::AllowStatusReset = true;
            ResetStatusBarTip();
            mGlobal::Loading = false;
            return;
        }
        m_docs[d].Modified = false;
        SetRecentFiles(p, QStringLiteral("Add"));
        const int tab = TabIndexOf(d);
        if (tab >= 0)
            tabOpenFiles->setTabText(tab, DisplayPath(ParseNameFromPath(p)));
        if (mGlobal::AutoSyntaxType != 0)
            SyntaxHiLiteAll(editor);
        opened = true;
    }
    if (opened)
        setWindowTitle(QStringLiteral("Varkel [") + DisplayPath(path) + QStringLiteral("]"));
    mGlobal::AllowStatusReset = true;
    ResetStatusBarTip();
    mGlobal::Loading = false;
    if (fEdit *w = ActiveWindow()) {
        w->rtfEdit->setFocus();
        // The window became active while it was still empty; now that its
        // script is in, it is activated again (caret, states, bindings).
        if (opened)
            OnWindowActivated(w);
        else
            DisplayCharPos(w);
    }
    SetEditStates();
}

bool fMain::SaveConfig(int d, const QString &path)
{
    return SaveConfig(d, LocalPath(path));
}

bool fMain::SaveConfig(int d, const std::string &path)
{
    if (!m_docs.IsValid(d) || m_docs[d].Closed || !Editor(d))
        return false;
    if (IsUntitledPath(path))
        return SaveConfigAs(d, path);
    const Error err = Editor(d)->rtfEdit->SaveFile(path);
    if (err) {
        m_prompts->Critical(this, QStringLiteral("Unable to Save ") + DisplayPath(path));
        return false;
    }
    m_docs[d].Modified = false;
    m_docs[d].HasFile = true;
    SetEditStates();
    return true;
}

bool fMain::SaveConfigAs(int d, const QString &path)
{
    return SaveConfigAs(d, LocalPath(path));
}

bool fMain::SaveConfigAs(int d, const std::string &path)
{
    if (!m_docs.IsValid(d) || m_docs[d].Closed || !Editor(d))
        return false;
    const std::string proposed = path.empty() ? m_docs[d].Path : path;
    const QString shownProposed = DisplayPath(proposed);
    const QString answer = m_prompts->SaveFile(this, kSaveTitle, shownProposed, kSaveFilter);
    if (answer.isEmpty())
        return false;
    // The dialog speaks Qt's strings: an answer that is the proposed name
    // keeps that name's own bytes, which a name that is not valid UTF-8
    // would not survive the round trip with. A relative answer such as
    // "Untitled 1" names a file in the current folder; made absolute it can
    // no longer be taken for an untitled document.
    const std::string chosen = AbsoluteLocalPath(answer == shownProposed ? proposed : LocalPath(answer));
    if (!SaveConfig(d, chosen))
        return false;
    SetRecentFiles(chosen, QStringLiteral("Add"));
    m_docs[d].Path = chosen;
    const QString shown = DisplayPath(chosen);
    SetWindowCaption(d, shown);
    // The window list keeps its numbering; only the path part changes.
    const std::string childKey = "cmnuChild" + std::to_string(d);
    if (m_cMenu->IndexForKey(childKey)) {
        const QString old = m_cMenu->Caption(childKey);
        const QString prefix = old.left(old.indexOf(QStringLiteral(") ")) + 2);
        m_cMenu->SetCaption(childKey, prefix.toStdString() + TruncLongPath(m_docs[d].Path));
    }
    const int tab = TabIndexOf(d);
    if (tab >= 0)
        tabOpenFiles->setTabText(tab, DisplayPath(ParseNameFromPath(m_docs[d].Path)));
    setWindowTitle(QStringLiteral("Varkel [") + shown + QStringLiteral("]"));
    return true;
}

void fMain::SaveAllFiles()
{
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed && m_docs[d].Modified)
            SaveConfig(d, m_docs[d].Path);
}

void fMain::RevertFile()
{
    const int d = ActiveDoc();
    if (!d)
        return;
    if (m_prompts->Ask(this, QStringLiteral("Reload file and discard changes?"), QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mGlobal::Loading = true;
    SetStatusBarTip(QStringLiteral("Loading File..."), false);
    RichEdit *editor = Editor(d)->rtfEdit;
    const Error err = editor->LoadFile(m_docs[d].Path);
    if (err) {
        mGlobal::Loading = false;
        m_docs[d].Modified = true;
        QApplication::restoreOverrideCursor();
        ReportError(err);
        SetEditStates();
        return;
    }
    m_docs[d].Modified = false;
    SetEditStates();
    if (mGlobal::AutoSyntaxType != 0)
        SyntaxHiLiteAll(editor);
    mGlobal::Loading = false;
    SetStatusBarTip(QStringLiteral("Ready"), true);
    editor->setFocus();
    RefreshBindings();
    QApplication::restoreOverrideCursor();
}

void fMain::CloseAllFiles()
{
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed)
            if (QMdiSubWindow *sub = SubWindowOf(d))
                sub->close();
    SetEditStates();
}

bool fMain::QueryCloseDocument(int d)
{
    if (m_closingAll || !m_docs.IsValid(d) || m_docs[d].Closed || !m_docs[d].Modified)
        return true;
    const QString caption = DisplayPath(m_docs[d].Path);
    switch (m_prompts->Ask(this, QStringLiteral("Save changes to ") + caption + QStringLiteral("?"),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return SaveConfig(d, m_docs[d].Path);
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void fMain::UnloadDocument(int d)
{
    if (!m_docs.IsValid(d) || m_docs[d].Closed)
        return;
    m_docs[d].Closed = true;
    m_docs[d].Modified = false;
    RemoveFileTab(d);
    if (QMdiSubWindow *sub = SubWindowOf(d)) {
        sub->hide();
        sub->deleteLater();
    }
    m_editors[static_cast<size_t>(d)] = nullptr;
    if (!m_docs.AnyOpen()) {
        setWindowTitle(QStringLiteral("Varkel"));
        ClearCharPos();
    }
    SetEditStates();
}

} // namespace varkel
