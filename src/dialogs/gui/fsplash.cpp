#include "dialogs/gui/fsplash.h"

#include "dialogs/gui/pictures.h"
#include "dialogs/versiontext.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace varkel {

fSplash::fSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fSplash"));
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    frame->setAutoFillBackground(true);
    // The palette's window colours: light on a light desktop, dark on a dark one.
    frame->setBackgroundRole(QPalette::Window);
    frame->setForegroundRole(QPalette::WindowText);

    picLogo = new QLabel(frame);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setPixmap(SvgPicture(QStringLiteral(":/icons/varkel.svg"), 96, devicePixelRatioF()));

    auto *title = new QLabel(QStringLiteral("Varkel"), frame);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSize(30);
    big.setBold(true);
    title->setFont(big);

    auto *subtitle = new QLabel(QStringLiteral("Quake Scripting Editor"), frame);
    subtitle->setObjectName(QStringLiteral("lblSubtitle"));
    QFont medium = subtitle->font();
    medium.setPointSize(12);
    subtitle->setFont(medium);

    lblAbout = new QLabel(QStringLiteral("by Talmoor Software"), frame);
    lblAbout->setObjectName(QStringLiteral("lblAbout"));
    lblVersion = new QLabel(QStringLiteral("Version ") + QString::fromStdString(VersionText()), frame);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    for (QLabel *label : {title, subtitle, lblAbout, lblVersion})
        label->setTextFormat(Qt::PlainText);

    auto *text = new QVBoxLayout;
    text->setSpacing(2);
    text->addStretch(1);
    text->addWidget(title);
    text->addWidget(subtitle);
    text->addSpacing(18);
    text->addWidget(lblAbout);
    text->addWidget(lblVersion);
    text->addStretch(1);

    auto *inner = new QHBoxLayout(frame);
    inner->setContentsMargins(26, 22, 34, 22);
    inner->setSpacing(24);
    inner->addWidget(picLogo, 0, Qt::AlignVCenter);
    inner->addLayout(text, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    setFixedSize(sizeHint().expandedTo(QSize(420, 200)));
}

bool fSplash::WantedAtStartup()
{
    const QString platform = QGuiApplication::platformName();
    return qEnvironmentVariableIntValue("VARKEL_NO_SPLASH") != 1 && platform != QLatin1String("offscreen")
           && platform != QLatin1String("minimal");
}

void fSplash::ShowNow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
    // Start-up keeps the event loop busy until the frame is loaded; paint now.
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

} // namespace varkel
