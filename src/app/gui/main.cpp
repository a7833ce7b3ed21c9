// Varkel's entry point: hands the command line to a running instance, or
// loads the frame and shows it.

#include "app/gui/fmain.h"
#include "documents/gui/fedit.h"
#include "documents/gui/localpath.h"
#include "app/gui/singleinstance.h"
#include "app/mglobal.h"
#include "app/settings.h"
#include "dialogs/gui/frmtips.h"
#include "dialogs/gui/fsplash.h"

#include <QApplication>
#include <QScreen>

#include <memory>

using namespace varkel;

int main(int argc, char **argv)
{
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
    if (fEdit *w = frame.ActiveWindow())
        w->setFocus();
    frmTips::RunAtStartup(&frame);
    return app.exec();
}
