// Varkel's entry point: hands the command line to a running instance, or
// loads the frame and shows it.

#include "app/gui/fmain.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/fedit.h"
#include "documents/gui/localpath.h"
#include "app/gui/singleinstance.h"
#include "app/mglobal.h"
#include "app/settings.h"
#include "dialogs/gui/frmtips.h"
#include "dialogs/gui/fsplash.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace varkel;

namespace {

constexpr const char *kUsage =
    "Usage: varkel [FILE]...\n"
    "\n"
    "Varkel edits the console scripts of Quake, Quake II and Quake III Arena.\n"
    "Each FILE opens in the Varkel already running on this desktop, or in a new\n"
    "one when none runs.\n"
    "\n"
    "Options:\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Every other argument names a file (a file called \"--help\" opens as\n"
    "./--help).\n";

// --help and --version answer on standard output before anything else
// starts: no window, no display, no talk with a running copy. Returns the
// exit code, or -1 when the program is to start.
int answerOption(int argc, char **argv)
{
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        help = help || std::strcmp(argv[i], "--help") == 0;
        version = version || std::strcmp(argv[i], "--version") == 0;
    }
    if (!help && !version)
        return -1;
    if (help)
        std::fputs(kUsage, stdout);
    else
        std::printf("varkel %d.%d.%d\n", VARKEL_VERSION_MAJOR, VARKEL_VERSION_MINOR, VARKEL_VERSION_PATCH);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int code = answerOption(argc, argv); code >= 0)
        return code;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varkel"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(VARKEL_VERSION_MAJOR)
                                            .arg(VARKEL_VERSION_MINOR)
                                            .arg(VARKEL_VERSION_PATCH));

    // The arguments as the file system's bytes (QApplication has taken its
    // own options out of argv), each relative path made absolute against the
    // folder the user started from: the frame later works from its own.
    QList<QByteArray> args;
    for (int i = 1; i < argc; ++i)
        args << QByteArray::fromStdString(AbsoluteLocalPath(argv[i]));
    const QByteArray commandLine = args.join(' ');

    SingleInstance instance;
    if (SingleInstance::HandOver(commandLine, args))
        return 0;
    if (!instance.Listen() && SingleInstance::HandOver(commandLine, args))
        return 0;

    // The splash stays up while the frame loads.
    std::unique_ptr<fSplash> splash;
    if (fSplash::WantedAtStartup()) {
        splash = std::make_unique<fSplash>();
        splash->ShowNow();
    }

    mGlobal::AppDir = QCoreApplication::applicationDirPath().toStdString();
    mGlobal::IniPath = ResolveIniPath(mGlobal::AppDir);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        mGlobal::ColorDepth = screen->depth();

    fMain frame;
    QObject::connect(&instance, &SingleInstance::received, &frame, &fMain::ActivateFromInstance);
    frame.MDIForm_Load(commandLine, args);
    splash.reset();
    if (frame.isMaximized())
        frame.showMaximized();
    else
        frame.show();
    if (fEdit *w = frame.documents().ActiveWindow())
        w->setFocus();
    frmTips::RunAtStartup(&frame);
    return app.exec();
}
