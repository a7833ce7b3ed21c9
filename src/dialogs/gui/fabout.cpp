#include "dialogs/gui/fabout.h"

#include "dialogs/gui/pictures.h"
#include "dialogs/versiontext.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

// The maker's addresses come from the build (see the VARKEL_CONTACT_EMAIL and
// VARKEL_HOMEPAGE_URL cache variables); none is built in.
#ifndef VARKEL_CONTACT_EMAIL
#define VARKEL_CONTACT_EMAIL ""
#endif
#ifndef VARKEL_HOMEPAGE_URL
#define VARKEL_HOMEPAGE_URL ""
#endif

namespace varkel {

namespace {

fAbout::UrlOpener &urlOpener()
{
    static fAbout::UrlOpener opener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return opener;
}

QLabel *linkLabel(const QString &text, const QString &name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setCursor(Qt::PointingHandCursor);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, pal.color(QPalette::Link));
    label->setPalette(pal);
    return label;
}

} // namespace

fAbout::Contact fAbout::BuiltContact()
{
    return {QStringLiteral(VARKEL_CONTACT_EMAIL).trimmed(), QStringLiteral(VARKEL_HOMEPAGE_URL).trimmed()};
}

void fAbout::SetUrlOpener(UrlOpener opener)
{
    urlOpener() = opener ? std::move(opener) : [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

fAbout::fAbout(QWidget *parent)
    : fAbout(BuiltContact(), parent)
{
}

fAbout::fAbout(const Contact &contact, QWidget *parent)
    : QDialog(parent)
    , m_contact(contact)
{
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("About Varkel"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(SvgPicture(QStringLiteral(":/icons/varkel.svg"), 64, devicePixelRatioF()));
    imgLogo->setAlignment(Qt::AlignTop);

    const QStringList lines = {
        QStringLiteral("Quake Scripting Editor"),
        QStringLiteral("by Talmoor Software"),
        QStringLiteral("Version: ") + QString::fromStdString(VersionText()) + QStringLiteral(" Beta"),
        QString(),
        // Plain text: the ampersand is shown as it is, once.
        QStringLiteral("Quake, Quake II & Quake III Arena are Registered Trademarks of id software, inc."),
    };
    auto *text = new QVBoxLayout;
    text->setSpacing(3);
    for (int i = 0; i < lines.size(); ++i) {
        auto *label = new QLabel(lines[i], this);
        label->setObjectName(QStringLiteral("lblAbout%1").arg(i));
        label->setTextFormat(Qt::PlainText);
        if (i == 0) {
            QFont font = label->font();
            font.setBold(true);
            font.setPointSizeF(font.pointSizeF() * 1.3);
            label->setFont(font);
        }
        if (i == 4)
            label->setWordWrap(true);
        lblAbout << label;
        text->addWidget(label);
    }

    auto *contactGrid = new QGridLayout;
    contactGrid->setHorizontalSpacing(10);
    contactGrid->setColumnStretch(1, 1);
    lblEmail = linkLabel(m_contact.email, QStringLiteral("lblEmail"), this);
    lblHomepage = linkLabel(m_contact.homepage, QStringLiteral("lblHomepage"), this);
    auto *emailCaption = new QLabel(QStringLiteral("Email:"), this);
    auto *homeCaption = new QLabel(QStringLiteral("Homepage:"), this);
    contactGrid->addWidget(emailCaption, 0, 0);
    contactGrid->addWidget(lblEmail, 0, 1);
    contactGrid->addWidget(homeCaption, 1, 0);
    contactGrid->addWidget(lblHomepage, 1, 1);
    // An address the build did not set is not shown at all.
    emailCaption->setVisible(!m_contact.email.isEmpty());
    lblEmail->setVisible(!m_contact.email.isEmpty());
    homeCaption->setVisible(!m_contact.homepage.isEmpty());
    lblHomepage->setVisible(!m_contact.homepage.isEmpty());
    lblEmail->installEventFilter(this);
    lblHomepage->installEventFilter(this);
    text->addSpacing(8);
    text->addLayout(contactGrid);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(imgLogo, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(bottom);
    setFixedWidth(440);
}

QUrl fAbout::EmailUrl() const
{
    return m_contact.email.isEmpty() ? QUrl() : QUrl(QStringLiteral("mailto:") + m_contact.email);
}

QUrl fAbout::HomepageUrl() const
{
    return m_contact.homepage.isEmpty() ? QUrl() : QUrl::fromUserInput(m_contact.homepage);
}

bool fAbout::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == lblEmail || watched == lblHomepage) && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const QUrl url = watched == lblEmail ? EmailUrl() : HomepageUrl();
        if (url.isValid())
            urlOpener()(url);
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace varkel
