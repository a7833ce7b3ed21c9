#include "app/gui/fmain.h"

#include "app/gui/prompts.h"
#include "app/mglobal.h"
#include "app/settings.h"
#include "commands/gui/icons.h"
#include "commands/gui/popupmenu.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <sys/stat.h>

namespace varkel {

namespace {
constexpr int kMinFrameWidthTwips = 12495;

QRect screenRect(const QWidget *w)
{
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}
} // namespace

fMain::fMain(QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(std::make_unique<Prompts>())
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Varkel"));
    setWindowIcon(IconFor("varkel"));
    setAcceptDrops(true);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabOpenFiles = new QTabBar(central);
    tabOpenFiles->setObjectName(QStringLiteral("tabOpenFiles"));
    tabOpenFiles->setDocumentMode(true);
    tabOpenFiles->setExpanding(false);
    tabOpenFiles->setDrawBase(true);
    tabOpenFiles->setUsesScrollButtons(true);
    layout->addWidget(tabOpenFiles);
    m_mdi = new QMdiArea(central);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->viewport()->setMouseTracking(true);
    m_mdi->viewport()->installEventFilter(this);
    layout->addWidget(m_mdi, 1);
    setCentralWidget(central);

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

fMain::~fMain()
{
    // The document windows outlive this destructor: the widget base class
    // deletes them later, after hiding the frame, which takes the keyboard
    // focus from the active editor. By then this frame is half destroyed, so
    // the documents stop calling it now.
    for (fEdit *doc : findChildren<fEdit *>())
        doc->DetachFromFrame();
}

void fMain::SetPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
}

double fMain::TwipsPerPixel() const
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

void fMain::MDIForm_Load(const QString &commandLine, const QStringList &args)
{
    QList<QByteArray> localArgs;
    for (const QString &arg : args)
        localArgs << QFile::encodeName(arg);
    MDIForm_Load(QFile::encodeName(commandLine), localArgs);
}

void fMain::MDIForm_Load(const QByteArray &commandLine, const QList<QByteArray> &args)
{
    GetSettings();
    BuildToolbar();
    BuildMenu();
    BuildUserToolsMenu("ADD");
    BuildRebar();
    BuildDevicePanel();
    BuildDictionary(mGlobal::QVersion);
    SetAutoSyntax(mGlobal::AutoSyntaxType, false);
    ToggleAutoRefresh();
    SetConflictState();
    SetRecentFiles(std::string(), QString());
    if (QToolButton *open = ToolButton("tbOpen"))
        open->setMenu(m_cMenu->Submenu("cmnuRecentFiles"));
    if (!commandLine.isEmpty()) {
        OpenCommandLine(commandLine, args);
        Arrange(1);
    }
    UpdateLockLEDs();
    SetDevicePanelEnabled(false);
    ClearData();
    SetEditStates();
    // A script named on the command line was activated while it loaded; its
    // bindings are read again now that the panel is set up.
    if (fEdit *w = ActiveWindow())
        OnWindowActivated(w);
    mGlobal::AllowStatusReset = true;
    ResetStatusBarTip();
    if (m_pendingWindowState == 0) {
        const int minWidth = static_cast<int>(kMinFrameWidthTwips / TwipsPerPixel() + 0.5);
        if (width() < minWidth)
            resize(minWidth, height());
    }
    mGlobal::HelpDir = mGlobal::AppDir + "/help";
    mGlobal::KeyClickSound = mGlobal::AppDir + "/Data/keyclick.wav";
}

void fMain::OpenCommandLine(const QByteArray &commandLine, const QList<QByteArray> &args)
{
    if (commandLine.isEmpty())
        return;
    // A command line of several arguments names several files unless the
    // joined text itself names a file.
    struct stat st;
    if (args.size() <= 1 || (::stat(commandLine.constData(), &st) == 0 && S_ISREG(st.st_mode))) {
        OpenConfig(commandLine.toStdString());
        return;
    }
    for (const QByteArray &arg : args)
        OpenConfig(arg.toStdString());
}

void fMain::ActivateFromInstance(const QByteArray &commandLine, const QList<QByteArray> &args)
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    OpenCommandLine(commandLine, args);
}

void fMain::GetSettings()
{
    // A folder, pipe or device where the settings file should be is never
    // opened: every setting keeps its default, and the user learns why.
    if (const Error refused = CheckIniPath(mGlobal::IniPath))
        ReportError(refused);
    const Settings s = ReadSettings(mGlobal::IniPath);
    mGlobal::FontName = s.FontName;
    mGlobal::FontSize = s.FontSize;
    mGlobal::FontBold = s.FontBold;
    mGlobal::FontItalic = s.FontItalic;
    mGlobal::BGColor = s.BGColor;
    mGlobal::AutoSyntaxType = s.AutoSyntaxType;
    // Stored inverted: the load's toggle puts it right and writes it back.
    mGlobal::AutoRefresh = !s.AutoRefresh;
    mGlobal::ConflictType = s.ConflictType;
    for (int i = 0; i < 8; ++i)
        mGlobal::SyntaxColors[i + 1] = s.SyntaxColors[static_cast<size_t>(i)];
    mGlobal::ColorStringElements = s.ColorStringElements;
    mGlobal::QVersion = s.QVersion;
    mGlobal::ShowKeyboard = s.ShowKeyboard;
    mGlobal::CommentAutoSize = s.CommentAutoSize;
    mGlobal::CommentChar = s.CommentChar;
    mGlobal::CommentSize = s.CommentSize;
    mGlobal::CommentAlignment = s.CommentAlignment;
    mGlobal::CommentUCase = s.CommentUCase;

    const QRect screen = screenRect(this);
    const double tpp = TwipsPerPixel();
    const FrameGeometry g = ReadFrameGeometry(mGlobal::IniPath, static_cast<int>(screen.width() * tpp + 0.5),
                                              static_cast<int>(screen.height() * tpp + 0.5));
    m_pendingWindowState = g.windowState == 2 ? 2 : 0;
    if (g.applyRect) {
        move(screen.left() + static_cast<int>(g.left / tpp + 0.5), screen.top() + static_cast<int>(g.top / tpp + 0.5));
        resize(static_cast<int>(g.width / tpp + 0.5), static_cast<int>(g.height / tpp + 0.5));
    }
    if (m_pendingWindowState == 2)
        setWindowState(windowState() | Qt::WindowMaximized);

    mGlobal::ToolNames = s.ToolNames;
    mGlobal::ToolPaths = s.ToolPaths;
    mGlobal::ShowTipOday = s.ShowTipOday;
}

void fMain::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (m_pendingArrange >= 0) {
        const int mode = m_pendingArrange;
        m_pendingArrange = -1;
        Arrange(mode);
    }
}

void fMain::closeEvent(QCloseEvent *e)
{
    // Every modified script is asked about first; a Cancel keeps everything open.
    for (int d = 1; d <= m_docs.DocCount(); ++d) {
        if (m_docs[d].Closed)
            continue;
        if (!QueryCloseDocument(d)) {
            e->ignore();
            return;
        }
    }
    m_closingAll = true;
    for (int d = 1; d <= m_docs.DocCount(); ++d)
        if (!m_docs[d].Closed)
            UnloadDocument(d);
    MDIForm_Unload();
    e->accept();
}

void fMain::MDIForm_Unload()
{
    const Qt::WindowStates state = windowState();
    const double tpp = TwipsPerPixel();
    const QRect screen = screenRect(this);
    const int windowStateValue = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
    const QPoint pos = this->pos() - screen.topLeft();
    WriteFrameGeometry(mGlobal::IniPath, windowStateValue, static_cast<int>(pos.x() * tpp + 0.5),
                       static_cast<int>(pos.y() * tpp + 0.5), static_cast<int>(width() * tpp + 0.5),
                       static_cast<int>(height() * tpp + 0.5));
}

void fMain::ReportError(const Error &error)
{
    const QString text = QString::fromStdString(error.description());
    SetStatusBarTip(text, true);
    QApplication::restoreOverrideCursor();
    m_prompts->Exclamation(this, QStringLiteral("Error %1").arg(error.number()), text);
}

void fMain::dragEnterEvent(QDragEnterEvent *e)
{
    if (!DroppedFiles(e->mimeData()).isEmpty()) {
        e->setDropAction(Qt::CopyAction);
        e->accept();
    } else {
        e->ignore();
    }
}

void fMain::dropEvent(QDropEvent *e)
{
    const QStringList files = DroppedFiles(e->mimeData());
    if (files.isEmpty())
        return;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    OpenDroppedFiles(files);
}

bool fMain::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        // Pointer over a toolbar button: its tool tip goes to the status text.
        if (auto *button = qobject_cast<QToolButton *>(watched); button && button->parent() == tbrMain) {
            if (!m_panels.empty())
                m_panels[0]->setText(button->toolTip());
            return QMainWindow::eventFilter(watched, e);
        }
    }
    if (watched == m_mdi->viewport()) {
        if (e->type() == QEvent::MouseMove)
            OnPointerMoved();
        else if (e->type() == QEvent::MouseButtonRelease &&
                 static_cast<QMouseEvent *>(e)->button() == Qt::RightButton)
            ShowMainPopup();
    }
    return QMainWindow::eventFilter(watched, e);
}

} // namespace varkel
