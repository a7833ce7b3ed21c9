#include "dialogs/gui/frmtips.h"

#include "app/mglobal.h"
#include "dialogs/ctips.h"
#include "dialogs/gui/pictures.h"
#include "dialogs/tipoftheday.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

namespace {

QString tipText(const std::string &text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

frmTips::frmTips(cTips &tips, QWidget *parent)
    : QDialog(parent)
    , m_tips(tips)
{
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral(" Tip of the Day"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    // A panel in the palette's text-field colours with the picture on a
    // darker strip at its left, the heading and the tip, over a row with the
    // check box and the two buttons. Every colour is the palette's, so the
    // panel is white on a light desktop and dark on a dark one.
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("fraTip"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Base);
    panel->setForegroundRole(QPalette::Text);

    auto *strip = new QLabel(panel);
    strip->setObjectName(QStringLiteral("imgTip"));
    strip->setAutoFillBackground(true);
    strip->setBackgroundRole(QPalette::Mid);
    strip->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    strip->setContentsMargins(10, 14, 10, 10);
    strip->setPixmap(SvgPicture(QStringLiteral(":/images/tipbulb.svg"), 48, devicePixelRatioF()));
    strip->setFixedWidth(70);

    auto *heading = new QLabel(QStringLiteral("Did You Know..."), panel);
    heading->setObjectName(QStringLiteral("lblHeading"));
    heading->setTextFormat(Qt::PlainText);
    QFont display;
    display.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Nimbus Roman"),
                         QStringLiteral("DejaVu Serif")});
    display.setStyleHint(QFont::Serif);
    display.setPointSize(16);
    display.setBold(true);
    heading->setFont(display);

    auto *rule = new QFrame(panel);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);

    lblTip = new QLabel(panel);
    lblTip->setObjectName(QStringLiteral("lblTip"));
    lblTip->setTextFormat(Qt::PlainText);
    lblTip->setWordWrap(true);
    lblTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTip->setMinimumHeight(lblTip->fontMetrics().lineSpacing() * 6);

    auto *text = new QVBoxLayout;
    text->setContentsMargins(14, 12, 14, 12);
    text->setSpacing(8);
    text->addWidget(heading);
    text->addWidget(rule);
    text->addWidget(lblTip, 1);
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(strip);
    panelLayout->addLayout(text, 1);

    chkShowTips = new QCheckBox(QStringLiteral("&Show tips at startup"), this);
    chkShowTips->setObjectName(QStringLiteral("chkShowTips"));
    chkShowTips->setChecked(true);
    cmdAnother = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdAnother->setObjectName(QStringLiteral("cmdAnother"));
    cmdAnother->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("&Close"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkShowTips);
    buttons->addStretch(1);
    buttons->addWidget(cmdAnother);
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);
    resize(460, 270);

    connect(cmdAnother, &QPushButton::clicked, this, &frmTips::cmdAnother_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    ShowTip(m_tips.RandomTip());
}

void frmTips::ShowTip(std::string text)
{
    m_shown = std::move(text);
    lblTip->setText(tipText(m_shown));
}

void frmTips::cmdAnother_Click()
{
    ShowTip(m_tips.AnotherTip(m_shown));
}

void frmTips::done(int result)
{
    // Closing by the caption's close box or Escape keeps what the check box
    // shows, like Close: only the user's own choice turns the tips off.
    m_tips.SetShowAtStartup(chkShowTips->isChecked());
    QDialog::done(result);
}

void frmTips::RunAtStartup(QWidget *parent)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")
        || qEnvironmentVariableIntValue("VARKEL_NO_TIPS") == 1)
        return;
    ShowStartupTip(mGlobal::AppDir, mGlobal::IniPath, [parent](cTips &tips) {
        frmTips dialog(tips, parent);
        dialog.exec();
    });
}

} // namespace varkel
