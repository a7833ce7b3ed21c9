#include "app/gui/fmain.h"

#include "app/colourscheme.h"
#include "app/mglobal.h"
#include "app/settings.h"
#include "bindings/gui/bindingstable.h"
#include "bindings/gui/keybindings.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/problemslist.h"
#include "bindings/gui/scriptchecks.h"
#include "commands/gui/icons.h"
#include "commands/gui/menucommands.h"
#include "commands/gui/popupmenu.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/fedit.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "language/gui/colouring.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPalette>
#include <QScreen>
#include <QStatusBar>
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
    , m_colouring(std::make_unique<Colouring>(this))
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Varkel"));
    setWindowIcon(IconFor("varkel"));
    setAcceptDrops(true);

    // The device panel sits across the top of the documents, above the file
    // tabs; it joins the layout once the load has built it.
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_documents = new DocumentArea(central);
    layout->addWidget(m_documents, 1);
    setCentralWidget(central);
    m_bindings = new KeyBindings(m_colouring->Dictionary(), this);
    m_commands = new MenuCommands(this);
    m_checks = new ScriptChecks(this);
    WireParts();
    SetPrompts(std::make_unique<Prompts>());
}

fMain::~fMain()
{
    // The parts call each other through hooks that lead back here. The
    // document windows stop calling first (hiding the frame would move the
    // keyboard focus out of the active editor), every hook is cut, and the
    // widgets go while the parts they may still call are whole.
    m_documents->DetachEditors();
    m_documents->SetHooks({});
    m_colouring->SetHooks({});
    m_bindings->SetHooks({});
    m_commands->SetHooks({});
    m_checks->SetHooks({});
    qDeleteAll(findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
}

void fMain::SetPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
    m_documents->SetPrompts(m_prompts.get());
    m_colouring->SetPrompts(m_prompts.get());
    m_commands->SetPrompts(m_prompts.get());
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
    m_commands->BuildToolbar();
    m_commands->BuildMenu();
    m_commands->BuildUserToolsMenu("ADD");
    m_commands->BuildRebar();
    m_bindings->BuildCommandBar(m_commands->CommandBand());
    if (auto *layout = qobject_cast<QVBoxLayout *>(centralWidget()->layout()))
        layout->insertWidget(0, m_bindings->BuildDevicePanel(centralWidget()));
    addDockWidget(static_cast<Qt::DockWidgetArea>(mGlobal::BindingsTableArea), m_bindings->BuildBindingsTable(this));
    resizeDocks({m_bindings->Table()}, {m_bindings->Table()->sizeHint().width()}, Qt::Horizontal);
    addDockWidget(static_cast<Qt::DockWidgetArea>(mGlobal::ProblemsArea), m_checks->BuildProblemsList(this));
    m_colouring->BuildDictionary(mGlobal::QVersion);
    m_commands->ShowCommandSet(mGlobal::QVersion, std::string());
    m_colouring->SetAutoSyntax(mGlobal::AutoSyntaxType, false);
    m_bindings->ToggleAutoRefresh();
    m_bindings->SetConflictState();
    m_commands->SetRecentFiles(std::string(), QString());
    if (QToolButton *open = m_commands->ToolButton("tbOpen"))
        open->setMenu(m_commands->Menu()->Submenu("cmnuRecentFiles"));
    if (!commandLine.isEmpty()) {
        OpenCommandLine(commandLine, args);
        m_documents->Arrange(1);
    }
    m_bindings->UpdateLockLEDs();
    m_bindings->SetDevicePanelEnabled(false);
    m_bindings->ClearData();
    m_commands->SetEditStates();
    // A script named on the command line was activated while it loaded; its
    // bindings are read again now that the panel is set up.
    if (fEdit *w = m_documents->ActiveWindow())
        m_documents->OnWindowActivated(w);
    mGlobal::AllowStatusReset = true;
    m_commands->ResetStatusBarTip();
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
        m_documents->OpenConfig(commandLine.toStdString());
        return;
    }
    for (const QByteArray &arg : args)
        m_documents->OpenConfig(arg.toStdString());
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
    // Colours never chosen follow the desktop: the dark preset on a dark palette.
    const QPalette desktop = QGuiApplication::palette();
    auto bgr = [](const QColor &c) {
        return Bgr(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
    };
    const bool darkDesktop =
        IsDarkScheme(bgr(desktop.color(QPalette::Window)), bgr(desktop.color(QPalette::WindowText)));
    const Settings s = ReadSettings(mGlobal::IniPath, darkDesktop);
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
    mGlobal::ShowBindingsTable = s.ShowBindingsTable;
    mGlobal::BindingsTableArea = s.BindingsTableArea;
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
    mGlobal::DetectGame = s.DetectGame;
    mGlobal::ShowLineNumbers = s.ShowLineNumbers;
    mGlobal::CheckScripts = s.CheckScripts;
    mGlobal::OfferCompletions = s.OfferCompletions;
    mGlobal::ShowProblems = s.ShowProblems;
    mGlobal::ProblemsArea = s.ProblemsArea;
}

void fMain::closeEvent(QCloseEvent *e)
{
    // Every modified script is asked about first; a Cancel keeps everything open.
    if (!m_documents->QueryCloseAll()) {
        e->ignore();
        return;
    }
    m_documents->UnloadAll();
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
    m_commands->SetStatusBarTip(text, true);
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
    m_documents->OpenDroppedFiles(files);
}

void fMain::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    // Lock keys may have been pressed in another window meanwhile.
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        m_bindings->UpdateLockLEDs();
}

} // namespace varkel
