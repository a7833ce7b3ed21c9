#include "documents/gui/documentarea.h"

#include "app/callhook.h"
#include "app/mglobal.h"
#include "app/recentfiles.h"
#include "documents/gui/childwindow.h"
#include "documents/gui/fedit.h"
#include "documents/gui/localpath.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "documents/gui/textcodec.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace varkel {


namespace {
QString encodingName(Encoding encoding)
{
    const std::string_view name = EncodingName(encoding);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

const QString kOpenTitle = QStringLiteral("Open a Quake Configuration File");
const QString kOpenFilter = QStringLiteral("Quake Config (*.cfg *.rc);;Text Files (*.txt);;All Files (*)");
const QString kSaveTitle = QStringLiteral("Save a Quake Configuration File");
const QString kQuakeConfigFilter = QStringLiteral("Quake Config");
const QString kSaveFilter = QStringLiteral("Quake Config(*.cfg *.rc);;Text Files (*.txt);;All Files (*)");
} // namespace

DocumentArea::DocumentArea(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("documentArea"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabOpenFiles = new QTabBar(this);
    tabOpenFiles->setObjectName(QStringLiteral("tabOpenFiles"));
    tabOpenFiles->setDocumentMode(true);
    tabOpenFiles->setExpanding(false);
    tabOpenFiles->setDrawBase(true);
    tabOpenFiles->setUsesScrollButtons(true);
    layout->addWidget(tabOpenFiles);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->viewport()->setMouseTracking(true);
    m_mdi->viewport()->installEventFilter(this);
    layout->addWidget(m_mdi, 1);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (sub)
            OnWindowActivated(qobject_cast<fEdit *>(sub->widget()));
    });
    connect(tabOpenFiles, &QTabBar::tabBarClicked, this, [this](int i) {
        if (i < 0)
            return;
        // Keys are "ChildTab" + d; the document index follows the prefix.
        const int d = tabOpenFiles->tabData(i).toString().mid(8).toInt();
        if (QMdiSubWindow *sub = SubWindowOf(d)) {
            tabOpenFiles->repaint();
            if (sub->isMinimized())
                sub->showNormal();
            m_mdi->setActiveSubWindow(sub);
            sub->raise();
        }
    });
}

DocumentArea::~DocumentArea()
{
    DetachEditors();
}

void DocumentArea::SetHooks(Hooks hooks)
{
    m_hooks = std::move(hooks);
}

void DocumentArea::DetachEditors()
{
    for (fEdit *doc : findChildren<fEdit *>())
        doc->DetachFromArea();
}

fEdit *DocumentArea::Editor(int d) const
{
    if (d <= 0 || d >= static_cast<int>(m_editors.size()))
        return nullptr;
    return m_editors[static_cast<size_t>(d)];
}

QMdiSubWindow *DocumentArea::SubWindowOf(int d) const
{
    fEdit *w = Editor(d);
    return w ? qobject_cast<QMdiSubWindow *>(w->parentWidget()) : nullptr;
}

fEdit *DocumentArea::ActiveWindow() const
{
    QMdiSubWindow *sub = m_mdi->currentSubWindow();
    if (!sub)
        sub = m_mdi->activeSubWindow();
    fEdit *w = sub ? qobject_cast<fEdit *>(sub->widget()) : nullptr;
    if (w && m_docs.IsValid(w->Tag()) && !m_docs[w->Tag()].Closed)
        return w;
    return nullptr;
}

int DocumentArea::ActiveDoc() const
{
    fEdit *w = ActiveWindow();
    return w ? w->Tag() : 0;
}

RichEdit *DocumentArea::ActiveEditor() const
{
    fEdit *w = ActiveWindow();
    return w ? w->rtfEdit : nullptr;
}

void DocumentArea::SetWindowCaption(int d, const QString &caption)
{
    if (QMdiSubWindow *sub = SubWindowOf(d))
        sub->setWindowTitle(caption);
    if (fEdit *w = Editor(d))
        w->setWindowTitle(caption);
}

int DocumentArea::TabIndexOf(int d) const
{
    const QString key = QStringLiteral("ChildTab%1").arg(d);
    for (int i = 0; i < tabOpenFiles->count(); ++i)
        if (tabOpenFiles->tabData(i).toString() == key)
            return i;
    return -1;
}

void DocumentArea::AddFileTab(int d, const QString &caption)
{
    const int i = tabOpenFiles->addTab(m_hooks.childIcon, caption);
    tabOpenFiles->setTabData(i, QStringLiteral("ChildTab%1").arg(d));
    tabOpenFiles->setCurrentIndex(i);
}

void DocumentArea::RemoveFileTab(int d)
{
    const int i = TabIndexOf(d);
    if (i >= 0)
        tabOpenFiles->removeTab(i);
}

int DocumentArea::NewConfig()
{
    CallHook(m_hooks.clearData);
    const int d = m_docs.FindFreeIndex();
    const QString name = QString::fromStdString(UntitledName(d));
    m_docs[d].Path = UntitledName(d);
    m_docs[d].CommandSet = CallHook(m_hooks.defaultCommandSet);

    auto *w = new fEdit(d, this);
    m_editors.resize(static_cast<size_t>(d) + 1, nullptr);
    m_editors[static_cast<size_t>(d)] = w;
    CallHook(m_hooks.applyEditorSettings, w->rtfEdit);

    auto *sub = new ChildWindow;
    sub->setWidget(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    m_mdi->addSubWindow(sub);
    connect(sub, &ChildWindow::maximizeRequested, this, [this, sub] { OnChildMaximize(sub); });
    sub->setWindowIcon(m_hooks.childIcon);
    SetWindowCaption(d, name);
    AddFileTab(d, name);
    w->rtfEdit->zoomTo(m_zoom);
    sub->show();
    if (m_mdi->subWindowList().size() == 1)
        Arrange(1);
    else
        PlaceNewWindow(sub);
    m_mdi->setActiveSubWindow(sub);
    w->rtfEdit->setFocus();
    return d;
}

void DocumentArea::OpenDroppedFiles(const QStringList &files)
{
    for (const QString &f : files)
        OpenConfig(f);
}

void DocumentArea::OpenConfig(const QString &path)
{
    OpenConfig(LocalPath(path));
}

void DocumentArea::OpenConfig(std::string &path)
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
        CallHook(m_hooks.statusTip, QStringLiteral("Loading File..."), false);
        const int d = NewConfig();
        SetWindowCaption(d, file);
        m_docs[d].Path = p;
        m_docs[d].HasFile = true;
        RichEdit *editor = Editor(d)->rtfEdit;
        const Error err = editor->LoadFile(p);
        if (err) {
            UnloadDocument(d);
            CallHook(m_hooks.recentFile, p, QStringLiteral("Remove"));
            m_prompts->Critical(this, QStringLiteral("Unable to Open ") + file);
            mGlobal::AllowStatusReset = true;
            CallHook(m_hooks.resetStatusTip);
            mGlobal::Loading = false;
            return;
        }
        m_docs[d].Modified = false;
        m_docs[d].TextEncoding = editor->GetEncoding();
        if (auto [set, why] = CallHook(m_hooks.detectCommandSet, editor->TextView()); !set.empty())
            SetCommandSet(d, set, why);
        m_lastFolder = FolderOfPath(p);
        CallHook(m_hooks.recentFile, p, QStringLiteral("Add"));
        ShowDocumentState(d);
        if (mGlobal::AutoSyntaxType != 0)
            CallHook(m_hooks.syntaxHiLiteAll, editor);
        opened = true;
    }
    if (opened)
        if (const int shown = m_docs.FindOpenPath(path))
            CallHook(m_hooks.setCaption, FrameCaption(shown));
    mGlobal::AllowStatusReset = true;
    CallHook(m_hooks.resetStatusTip);
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
    CallHook(m_hooks.setEditStates);
}

bool DocumentArea::SaveConfig(int d, const QString &path)
{
    return SaveConfig(d, LocalPath(path));
}

bool DocumentArea::SaveConfig(int d, const std::string &path)
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
    m_lastFolder = FolderOfPath(path);
    ShowDocumentState(d);
    CallHook(m_hooks.setEditStates);
    return true;
}

bool DocumentArea::SaveConfigAs(int d, const QString &path)
{
    return SaveConfigAs(d, LocalPath(path));
}

bool DocumentArea::SaveConfigAs(int d, const std::string &path)
{
    if (!m_docs.IsValid(d) || m_docs[d].Closed || !Editor(d))
        return false;
    // A name without a folder (an untitled document) is offered in the
    // document's folder, else the last folder used, else the home folder:
    // never the folder the program runs from.
    std::string proposed = path.empty() ? m_docs[d].Path : path;
    if (!proposed.empty() && proposed.front() != '/') {
        std::string folder = SaveStartFolder(m_docs[d].Path, m_docs[d].HasFile, m_lastFolder,
                                             LocalPath(QDir::homePath()));
        if (!folder.ends_with('/'))
            folder += '/';
        proposed = folder + proposed;
    }
    const QString shownProposed = DisplayPath(proposed);
    QString filter;
    const QString answer = m_prompts->SaveFile(this, kSaveTitle, shownProposed, kSaveFilter, &filter);
    if (answer.isEmpty())
        return false;
    // The dialog speaks Qt's strings: an answer that is the proposed name
    // keeps that name's own bytes, which a name that is not valid UTF-8
    // would not survive the round trip with. A relative answer such as
    // "Untitled 1" names a file in the current folder; made absolute it can
    // no longer be taken for an untitled document.
    std::string chosen = AbsoluteLocalPath(answer == shownProposed ? proposed : LocalPath(answer));
    // A name typed without an extension under the Quake Config filter is a
    // config file.
    if (filter.startsWith(kQuakeConfigFilter))
        chosen = WithDefaultExtension(chosen, "cfg");
    if (!SaveConfig(d, chosen))
        return false;
    CallHook(m_hooks.recentFile, chosen, QStringLiteral("Add"));
    m_docs[d].Path = chosen;
    const QString shown = DisplayPath(chosen);
    SetWindowCaption(d, shown);
    CallHook(m_hooks.documentRenamed, d, m_docs[d].Path);
    ShowDocumentState(d);
    CallHook(m_hooks.setCaption, FrameCaption(d));
    return true;
}

void DocumentArea::SaveAllFiles()
{
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed && m_docs[d].Modified)
            SaveConfig(d, m_docs[d].Path);
}

void DocumentArea::RevertFile()
{
    const int d = ActiveDoc();
    if (!d)
        return;
    if (m_prompts->Ask(this, QStringLiteral("Reload file and discard changes?"), QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    mGlobal::Loading = true;
    CallHook(m_hooks.statusTip, QStringLiteral("Loading File..."), false);
    RichEdit *editor = Editor(d)->rtfEdit;
    const Error err = editor->LoadFile(m_docs[d].Path);
    editor->SetEncoding(m_docs[d].TextEncoding);
    if (err) {
        mGlobal::Loading = false;
        m_docs[d].Modified = true;
        QApplication::restoreOverrideCursor();
        CallHook(m_hooks.reportError, err);
        CallHook(m_hooks.setEditStates);
        return;
    }
    m_docs[d].Modified = false;
    ShowDocumentState(d);
    CallHook(m_hooks.setEditStates);
    if (mGlobal::AutoSyntaxType != 0)
        CallHook(m_hooks.syntaxHiLiteAll, editor);
    mGlobal::Loading = false;
    CallHook(m_hooks.statusTip, QStringLiteral("Ready"), true);
    editor->setFocus();
    CallHook(m_hooks.refreshBindings);
    QApplication::restoreOverrideCursor();
}

void DocumentArea::CloseAllFiles()
{
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed)
            if (QMdiSubWindow *sub = SubWindowOf(d))
                sub->close();
    CallHook(m_hooks.setEditStates);
}

bool DocumentArea::QueryCloseDocument(int d)
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

void DocumentArea::UnloadDocument(int d)
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
        CallHook(m_hooks.setCaption, QStringLiteral("Varkel"));
        CallHook(m_hooks.clearCaret);
        CallHook(m_hooks.showEncoding, QString());
    }
    CallHook(m_hooks.setEditStates);
}



void DocumentArea::OnWindowActivated(fEdit *w)
{
    if (!w || !m_docs.IsValid(w->Tag()) || m_docs[w->Tag()].Closed)
        return;
    const int tab = TabIndexOf(w->Tag());
    if (tab >= 0)
        tabOpenFiles->setCurrentIndex(tab);
    DisplayCharPos(w);
    CallHook(m_hooks.setEditStates);
    CallHook(m_hooks.documentActivated);
    CallHook(m_hooks.setCaption, FrameCaption(w->Tag()));
    CallHook(m_hooks.commandSetActivated, m_docs[w->Tag()].CommandSet, m_docs[w->Tag()].SetExplanation);
    CallHook(m_hooks.showEncoding, encodingName(m_docs[w->Tag()].TextEncoding));
    CallHook(m_hooks.refreshDocumentBindings, w->rtfEdit);
}

void DocumentArea::DisplayCharPos(fEdit *w)
{
    if (!w || w != ActiveWindow())
        return;
    RichEdit *e = w->rtfEdit;
    const long s = e->SelStart();
    const int line = e->GetLineFromChar(s);
    CallHook(m_hooks.showCaret, line + 1, e->LineCount(), s - e->LineIndex(line), s);
}

void DocumentArea::OnEditorTextChanged(fEdit *w)
{
    if (mGlobal::HiLiteBusy || mGlobal::Loading)
        return;
    const int d = w->Tag();
    if (!m_docs.IsValid(d) || m_docs[d].Closed)
        return;
    if (!m_docs[d].Modified) {
        m_docs[d].Modified = true;
        ShowDocumentState(d);
    }
    CallHook(m_hooks.setEditStates);
}

void DocumentArea::OnEditorSelectionChanged(fEdit *)
{
    if (!mGlobal::HiLiteBusy)
        CallHook(m_hooks.setEditStates);
}

void DocumentArea::OnEditorKeyDown(fEdit *w, int key)
{
    // Colouring by line: the line the caret is about to leave is coloured.
    if (mGlobal::AutoSyntaxType == 2 &&
        (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        w->rtfEdit->GetLineFromChar(w->rtfEdit->SelStart()) == mGlobal::LastLine)
        CallHook(m_hooks.realTimeHiLite, w, 0, -1);
}

void DocumentArea::OnEditorKeyUp(fEdit *w, int key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
        DisplayCharPos(w);
    } else {
        if (mGlobal::AutoRefresh)
            CallHook(m_hooks.refreshDocumentBindings, w->rtfEdit);
        if (mGlobal::AutoSyntaxType == 1)
            CallHook(m_hooks.realTimeHiLite, w, 0, -1);
        else if (mGlobal::AutoSyntaxType == 2)
            mGlobal::LastLine = w->rtfEdit->GetLineFromChar(w->rtfEdit->SelStart());
    }
    CallHook(m_hooks.updateLockLEDs);
    CallHook(m_hooks.setEditStates);
}

void DocumentArea::OnEditorMouseUp(fEdit *w, Qt::MouseButton button)
{
    DisplayCharPos(w);
    CallHook(m_hooks.setEditStates);
    if (button == Qt::RightButton)
        CallHook(m_hooks.showEditPopup);
    RichEdit *e = w->rtfEdit;
    if (mGlobal::AutoSyntaxType == 2 && e->SelLength() == 0) {
        const int line = e->GetLineFromChar(e->SelStart());
        if (line != mGlobal::LastLine) {
            CallHook(m_hooks.realTimeHiLite, w, 0, mGlobal::LastLine);
            mGlobal::LastLine = line;
        }
    }
}

void DocumentArea::OnEditorCtrlClick(fEdit *w, long position)
{
    CallHook(m_hooks.ctrlClick, w->rtfEdit, position);
}

void DocumentArea::OnEditorFocus(fEdit *, bool gotFocus)
{
    if (gotFocus)
        CallHook(m_hooks.editorFocused);
    if (gotFocus)
        CallHook(m_hooks.setEditStates);
    else
        mGlobal::InsertTarget = "EDITBOX";
}

void DocumentArea::ToggleWordWrap()
{
    const int d = ActiveDoc();
    if (!d)
        return;
    DocRecord &doc = m_docs[d];
    doc.WordWrap = !doc.WordWrap;
    Editor(d)->rtfEdit->SetRightMargin(doc.WordWrap ? 0 : 65535);
    CallHook(m_hooks.checkCommand, std::string_view("cmnuWordWrap"), doc.WordWrap);
}

void DocumentArea::GoToLine()
{
    RichEdit *e = ActiveEditor();
    if (!e)
        return;
    const int count = e->LineCount();
    const int current = e->GetLineFromChar(e->SelStart()) + 1;
    const QString answer = m_prompts->InputText(this, QStringLiteral("Line number (1 - %1):").arg(count),
                                                QStringLiteral("Go to Line"), QString::number(current));
    if (answer.isEmpty())
        return;
    bool ok = false;
    const long long line = answer.trimmed().toLongLong(&ok);
    if (!ok) {
        QApplication::beep();
        return;
    }
    // A number past either end goes to the first or the last line.
    const int target = static_cast<int>(std::clamp<long long>(line, 1, count)) - 1;
    e->SetSelStart(e->LineIndex(target));
    e->ensureLineVisible(target);
    e->setFocus();
    DisplayCharPos(ActiveWindow());
    CallHook(m_hooks.setEditStates);
}

void DocumentArea::Zoom(int steps)
{
    // Scintilla shows text from 10 points below to 20 points above the font.
    m_zoom = std::clamp(m_zoom + steps, -10, 20);
    for (fEdit *w : OpenWindows())
        w->rtfEdit->zoomTo(m_zoom);
}

void DocumentArea::ResetZoom()
{
    Zoom(-m_zoom);
}

QString DocumentArea::FrameCaption(int d) const
{
    if (!m_docs.IsValid(d))
        return QStringLiteral("Varkel");
    return QStringLiteral("Varkel [") + DisplayPath(m_docs[d].Path) + QStringLiteral("]") +
           (m_docs[d].Modified ? QStringLiteral(" *") : QString());
}

void DocumentArea::ShowDocumentState(int d)
{
    if (!m_docs.IsValid(d) || m_docs[d].Closed)
        return;
    const int tab = TabIndexOf(d);
    if (tab >= 0)
        tabOpenFiles->setTabText(tab, DisplayPath(ParseNameFromPath(m_docs[d].Path)) +
                                          (m_docs[d].Modified ? QStringLiteral(" *") : QString()));
    if (d == ActiveDoc())
        CallHook(m_hooks.setCaption, FrameCaption(d));
}

void DocumentArea::PlaceNewWindow(QMdiSubWindow *sub)
{
    const QRect area = m_mdi->viewport()->rect();
    if (area.isEmpty() || area.contains(sub->geometry()))
        return;
    // The area is full: the window goes down the diagonal from the top left,
    // one title bar further for each window already open; along an edge
    // that has no more room the step starts again from the corner.
    const int step = std::max(8, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub));
    QSize size = sub->size().boundedTo(QSize(area.width() * 2 / 3, area.height() * 2 / 3))
                     .expandedTo(sub->minimumSizeHint());
    const int others = std::max(0, static_cast<int>(m_mdi->subWindowList().size()) - 2);
    size = size.boundedTo(area.size());
    auto offset = [&](int room) { return (others % (room > 0 ? room / step + 1 : 1)) * step; };
    sub->setGeometry(QRect(QPoint(offset(area.width() - size.width()), offset(area.height() - size.height())), size));
}

void DocumentArea::Arrange(int mode)
{
    if (!m_mdi->isVisible()) {
        // Before the frame is shown the area has no size yet: arrange on show.
        m_pendingArrange = mode;
        return;
    }
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    const QRect area = m_mdi->viewport()->rect();
    switch (mode) {
    case 0:
        m_mdi->cascadeSubWindows();
        break;
    case 1:
    case 2: {
        // Horizontal tiling stacks the windows one above the other at full
        // width; vertical tiling puts them side by side at full height.
        const int n = static_cast<int>(windows.size());
        if (n == 0)
            break;
        for (int i = 0; i < n; ++i) {
            QMdiSubWindow *sub = windows[i];
            if (sub->isMaximized())
                sub->showNormal();
            if (mode == 1) {
                const int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
                sub->setGeometry(0, top, area.width(), bottom - top);
            } else {
                const int left = area.width() * i / n, right = area.width() * (i + 1) / n;
                sub->setGeometry(left, 0, right - left, area.height());
            }
        }
        break;
    }
    case 3: {
        // Line the minimised windows up along the bottom edge.
        int x = 0;
        for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
            if (!sub->isMinimized())
                continue;
            const QSize size = sub->size();
            sub->move(x, area.height() - size.height());
            x += size.width();
        }
        break;
    }
    default:
        break;
    }
}


void DocumentArea::OnChildMaximize(ChildWindow *w)
{
    if (!w)
        return;
    if (w->isMinimized())
        w->showNormal();
    const QSize area = m_mdi->viewport()->size();
    const QRect fill(QPoint(0, 0), area);
    if (w->geometry() == fill) {
        QRect r = w->savedRect;
        if (r.height() <= 0)
            r.setHeight(qRound(area.height() * 0.8));
        if (r.width() <= 0)
            r.setWidth(qRound(area.width() * 0.9));
        w->savedRect = r;
        w->setGeometry(r);
    } else {
        w->savedRect = w->geometry();
        w->setGeometry(fill);
    }
}


std::vector<fEdit *> DocumentArea::OpenWindows() const
{
    std::vector<fEdit *> windows;
    for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (auto *w = qobject_cast<fEdit *>(sub->widget()); w && m_docs.IsValid(w->Tag()) && !m_docs[w->Tag()].Closed)
            windows.push_back(w);
    return windows;
}

void DocumentArea::ActivateDocument(int d)
{
    if (QMdiSubWindow *sub = SubWindowOf(d)) {
        if (sub->isMinimized())
            sub->showNormal();
        m_mdi->setActiveSubWindow(sub);
    }
}

int DocumentArea::DocOf(const RichEdit *editor) const
{
    for (size_t d = 1; d < m_editors.size(); ++d)
        if (m_editors[d] && m_editors[d]->rtfEdit == editor)
            return static_cast<int>(d);
    return 0;
}

void DocumentArea::SetCommandSet(int d, const std::string &set, const std::string &explanation)
{
    if (!m_docs.IsValid(d))
        return;
    m_docs[d].CommandSet = set;
    m_docs[d].SetExplanation = explanation;
}

void DocumentArea::CloseActive()
{
    if (QMdiSubWindow *sub = SubWindowOf(ActiveDoc()))
        sub->close();
}

bool DocumentArea::QueryCloseAll()
{
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed && !QueryCloseDocument(d))
            return false;
    m_closingAll = true;
    return true;
}

void DocumentArea::UnloadAll()
{
    m_closingAll = true;
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed)
            UnloadDocument(d);
}

void DocumentArea::ReopenAs(Encoding encoding)
{
    const int d = ActiveDoc();
    if (!d || m_docs[d].TextEncoding == encoding)
        return;
    RichEdit *editor = Editor(d)->rtfEdit;
    if (m_docs[d].HasFile) {
        if (m_docs[d].Modified) {
            switch (m_prompts->Ask(this, QStringLiteral("Save changes to ") + DisplayPath(m_docs[d].Path) +
                                             QStringLiteral("?"),
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
            case QMessageBox::Yes:
                if (!SaveConfig(d, m_docs[d].Path))
                    return;
                break;
            case QMessageBox::No:
                break;
            default:
                return;
            }
        }
        mGlobal::Loading = true;
        const Error err = editor->LoadFile(m_docs[d].Path);
        mGlobal::Loading = false;
        if (err) {
            editor->SetEncoding(m_docs[d].TextEncoding);
            CallHook(m_hooks.reportError, err);
            return;
        }
        m_docs[d].Modified = false;
    }
    // Without a file the bytes in the control are the document: they stay,
    // and only the way they read changes.
    editor->SetEncoding(encoding);
    m_docs[d].TextEncoding = encoding;
    ShowDocumentState(d);
    CallHook(m_hooks.showEncoding, encodingName(encoding));
    if (mGlobal::AutoSyntaxType != 0)
        CallHook(m_hooks.syntaxHiLiteAll, editor);
    CallHook(m_hooks.refreshBindings);
    CallHook(m_hooks.setEditStates);
    DisplayCharPos(Editor(d));
    editor->setFocus();
}

void DocumentArea::OnEditorInputRefused(fEdit *w, const QString &character)
{
    if (!w)
        return;
    QApplication::beep();
    CallHook(m_hooks.statusTip, RefusedCharacterMessage(character, m_docs[w->Tag()].TextEncoding), true);
}

void DocumentArea::EditUndo()
{
    if (fEdit *w = ActiveWindow()) {
        w->EditUndo();
        CallHook(m_hooks.afterEdit);
    }
}

void DocumentArea::EditRedo()
{
    if (fEdit *w = ActiveWindow()) {
        w->EditRedo();
        CallHook(m_hooks.afterEdit);
    }
}

void DocumentArea::EditCut()
{
    RichEdit *e = ActiveEditor();
    if (!e)
        return;
    EditCopy();
    e->SetSelText("");
    CallHook(m_hooks.afterEdit);
}

void DocumentArea::EditCopy()
{
    RichEdit *e = ActiveEditor();
    if (!e)
        return;
    QClipboard *cb = QApplication::clipboard();
    cb->clear();
    cb->setText(BytesToText(e->SelText(), e->GetEncoding()));
}

void DocumentArea::EditPaste()
{
    RichEdit *e = ActiveEditor();
    if (!e)
        return;
    const QMimeData *data = QApplication::clipboard()->mimeData();
    std::string bytes;
    if (!data || !data->hasText()) {
        QApplication::beep();
    } else if (auto held = TextToBytes(data->text(), e->GetEncoding())) {
        bytes = std::move(*held);
    } else {
        // Nothing is written when a character has no place in the script.
        e->RefuseUnheldText(data->text());
        return;
    }
    e->SetSelText(bytes);
    CallHook(m_hooks.afterEdit);
}

void DocumentArea::EditDelete()
{
    RichEdit *e = ActiveEditor();
    if (!e)
        return;
    e->SetSelText("");
    CallHook(m_hooks.afterEdit);
}

void DocumentArea::EditSelectAll()
{
    if (RichEdit *e = ActiveEditor())
        e->SetSel(0, e->TextLength());
}

bool DocumentArea::OnEditorCommandKey(fEdit *w, QKeyCombination key)
{
    return w == ActiveWindow() && CallHook(m_hooks.commandKey, w, key);
}

void DocumentArea::OnPointerMoved()
{
    CallHook(m_hooks.pointerMoved);
}

void DocumentArea::FollowAreaSize(const QSize &oldSize, const QSize &newSize)
{
    // A window that filled the area (maximised, or the only one tiled) keeps
    // filling it when the panel, a tool bar or a dock changes its size.
    if (!oldSize.isValid() || oldSize.isEmpty() || oldSize == newSize)
        return;
    const QRect filled(QPoint(0, 0), oldSize);
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        if (!sub->isMinimized() && !sub->isMaximized() && sub->geometry() == filled)
            sub->setGeometry(QRect(QPoint(0, 0), newSize));
}

void DocumentArea::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (m_pendingArrange >= 0) {
        const int mode = m_pendingArrange;
        m_pendingArrange = -1;
        Arrange(mode);
    }
}

bool DocumentArea::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_mdi->viewport()) {
        if (e->type() == QEvent::Resize)
            FollowAreaSize(static_cast<QResizeEvent *>(e)->oldSize(), static_cast<QResizeEvent *>(e)->size());
        else if (e->type() == QEvent::MouseMove)
            OnPointerMoved();
        else if (e->type() == QEvent::MouseButtonRelease &&
                 static_cast<QMouseEvent *>(e)->button() == Qt::RightButton)
            CallHook(m_hooks.showMainPopup);
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace varkel
