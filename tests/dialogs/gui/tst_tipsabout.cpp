// The tip of the day dialog, the splash window and the About box as a user
// meets them: the Next Tip button, the start-up check box, the version lines
// and the two links (which open nothing here: the opener is replaced).

#include "app/gui/fmain.h"
#include "dialogs/ctips.h"
#include "dialogs/gui/fabout.h"
#include "dialogs/gui/frmtips.h"
#include "dialogs/gui/fsplash.h"
#include "dialogs/versiontext.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace varkel;

class TipsAboutTest : public QObject {
    Q_OBJECT

private slots:
    void nextTipSkipsTheShownText()
    {
        cTips tips;
        for (const char *t : {"A", "B", "A", "B", "A"})
            tips.Add(t);
        frmTips dialog(tips);
        const QString shown = dialog.lblTip->text();
        QTest::mouseClick(dialog.cmdAnother, Qt::LeftButton);
        QVERIFY(dialog.lblTip->text() != shown && (shown == "A" || shown == "B"));
        // With one tip the button ends on it; Latin-1 text shows as such.
        cTips one;
        one.Add("Only one \xE9");
        frmTips single(one);
        QTest::mouseClick(single.cmdAnother, Qt::LeftButton);
        QCOMPARE(single.lblTip->text(), QString::fromLatin1("Only one \xE9"));
    }

    void closeTakesTheCheckBox()
    {
        // Unchecked and closed, checked and closed, and Escape (or the close
        // box), which does not turn the tips off behind the user's back.
        for (int how : {0, 1, 2}) {
            cTips tips;
            tips.Add("x");
            frmTips dialog(tips);
            QVERIFY(dialog.chkShowTips->isChecked());
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            if (how == 0)
                dialog.chkShowTips->setChecked(false);
            if (how == 2)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(tips.ShowAtStartup(), how != 0);
        }
    }

    void versionLinesAndHiddenContactRows()
    {
        fSplash splash;
        QCOMPARE(splash.lblVersion->text(), "Version " + QString::fromStdString(VersionText()));
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QVERIFY(!fSplash::WantedAtStartup());

        fAbout about(fAbout::Contact{});
        QCOMPARE(about.lblAbout[2]->text(), "Version: " + QString::fromStdString(VersionText()) + " Beta");
        QCOMPARE(about.lblAbout[4]->textFormat(), Qt::PlainText);
        // No address set at build time: the rows are hidden, not invented.
        about.show();
        QVERIFY(!about.lblEmail->isVisible() && !about.lblHomepage->isVisible());
        QTest::mouseClick(about.cmdOK, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void linksOpenThroughTheDesktopAndClose()
    {
        QList<QUrl> opened;
        fAbout::SetUrlOpener([&](const QUrl &url) {
            opened << url;
            return true;
        });
        const fAbout::Contact contact{"maker@example.org", "example.org/varkel"};
        for (bool email : {true, false}) {
            fAbout about(contact);
            about.show();
            QLabel *link = email ? about.lblEmail : about.lblHomepage;
            QVERIFY(link->isVisible());
            // Other buttons do nothing.
            QTest::mouseClick(link, Qt::RightButton);
            QTest::mouseClick(link, Qt::MiddleButton);
            QVERIFY(about.isVisible());
            QTest::mouseClick(link, Qt::LeftButton);
            QVERIFY(!about.isVisible());
        }
        fAbout::SetUrlOpener(nullptr);
        QCOMPARE(opened, (QList<QUrl>{QUrl("mailto:maker@example.org"), QUrl("http://example.org/varkel")}));
    }

    void aboutCommandOpensTheBoxModally()
    {
        fMain frame;
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto *about = qobject_cast<fAbout *>(QApplication::activeModalWidget())) {
                seen = about->windowTitle();
                about->close();
            }
        });
        frame.Dispatch("cmnuAbout");
        QCOMPARE(seen, QStringLiteral("About Varkel"));
    }
};

QTEST_MAIN(TipsAboutTest)
#include "tst_tipsabout.moc"
