// The tip of the day dialog, the splash window and the About box as a user
// meets them: captions, the Next Tip button, the start-up check box, the
// version lines and the two links (which open nothing here: the opener is
// replaced).

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
    void tipsCaptions()
    {
        cTips tips;
        tips.Add("First tip");
        frmTips dialog(tips);
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Tip of the Day"));
        QCOMPARE(dialog.findChild<QLabel *>("lblHeading")->text(), QStringLiteral("Did You Know..."));
        QCOMPARE(dialog.chkShowTips->text(), QStringLiteral("&Show tips at startup"));
        QVERIFY(dialog.chkShowTips->isChecked());
        QCOMPARE(dialog.cmdAnother->text(), QStringLiteral("&Next Tip"));
        QCOMPARE(dialog.cmdOK->text(), QStringLiteral("&Close"));
        QCOMPARE(dialog.lblTip->text(), QStringLiteral("First tip"));
        QVERIFY(dialog.findChild<QLabel *>("lblHeading")->font().family() != dialog.lblTip->font().family());
    }

    void nextTipSkipsTheShownText()
    {
        cTips tips;
        for (const char *t : {"A", "B", "A", "B", "A"})
            tips.Add(t);
        frmTips dialog(tips);
        QString shown = dialog.lblTip->text();
        QVERIFY(shown == "A" || shown == "B");
        for (int i = 0; i < 6; ++i) {
            QTest::mouseClick(dialog.cmdAnother, Qt::LeftButton);
            QVERIFY(dialog.lblTip->text() != shown);
            shown = dialog.lblTip->text();
        }
    }

    void nextTipWithOneTipEnds()
    {
        cTips tips;
        tips.Add("Only one \xE9");
        frmTips dialog(tips);
        QTest::mouseClick(dialog.cmdAnother, Qt::LeftButton);
        QCOMPARE(dialog.lblTip->text(), QString::fromLatin1("Only one \xE9"));
    }

    void closeTakesTheCheckBox()
    {
        {
            cTips tips;
            tips.Add("x");
            frmTips dialog(tips);
            dialog.show();
            dialog.chkShowTips->setChecked(false);
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QVERIFY(!tips.ShowAtStartup());
        }
        {
            cTips tips;
            tips.Add("x");
            frmTips dialog(tips);
            dialog.show();
            QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
            QVERIFY(tips.ShowAtStartup());
        }
        {
            // Escape (or the close box) does not turn the tips off behind the
            // user's back: the box still shows them on.
            cTips tips;
            tips.Add("x");
            frmTips dialog(tips);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            QVERIFY(tips.ShowAtStartup());
        }
    }

    void splashShowsTheVersion()
    {
        fSplash splash;
        QCOMPARE(splash.lblAbout->text(), QStringLiteral("by Talmoor Software"));
        QCOMPARE(splash.lblVersion->text(), "Version " + QString::fromStdString(VersionText()));
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QVERIFY(!fSplash::WantedAtStartup());
    }

    void aboutCaptions()
    {
        fAbout about(fAbout::Contact{});
        QCOMPARE(about.windowTitle(), QStringLiteral("About Varkel"));
        QCOMPARE(about.lblAbout.size(), 5);
        QCOMPARE(about.lblAbout[0]->text(), QStringLiteral("Quake Scripting Editor"));
        QCOMPARE(about.lblAbout[1]->text(), QStringLiteral("by Talmoor Software"));
        QCOMPARE(about.lblAbout[2]->text(), "Version: " + QString::fromStdString(VersionText()) + " Beta");
        QCOMPARE(about.lblAbout[3]->text(), QString());
        QCOMPARE(about.lblAbout[4]->text(),
                 QStringLiteral("Quake, Quake II & Quake III Arena are Registered Trademarks of id software, inc."));
        QCOMPARE(about.lblAbout[4]->textFormat(), Qt::PlainText);
        QCOMPARE(about.cmdOK->text(), QStringLiteral("OK"));
        // No address set at build time: the rows are hidden, not invented.
        about.show();
        QVERIFY(!about.lblEmail->isVisible());
        QVERIFY(!about.lblHomepage->isVisible());
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
        {
            fAbout about(contact);
            about.show();
            QVERIFY(about.lblEmail->isVisible());
            QCOMPARE(about.lblEmail->text(), QStringLiteral("maker@example.org"));
            // Other buttons do nothing.
            QTest::mouseClick(about.lblEmail, Qt::RightButton);
            QTest::mouseClick(about.lblHomepage, Qt::MiddleButton);
            QVERIFY(opened.isEmpty());
            QVERIFY(about.isVisible());
            QTest::mouseClick(about.lblEmail, Qt::LeftButton);
            QVERIFY(!about.isVisible());
        }
        {
            fAbout about(contact);
            about.show();
            QTest::mouseClick(about.lblHomepage, Qt::LeftButton);
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

    // With VARKEL_SCREENSHOT_DIR set, saves pictures of the three windows.
    void screenshots()
    {
        const QString out = qEnvironmentVariable("VARKEL_SCREENSHOT_DIR");
        if (out.isEmpty())
            QSKIP("VARKEL_SCREENSHOT_DIR not set");
        cTips tips;
        tips.Add("Quote a bind's command when it holds spaces or semicolons: bind f \"say Hello; wait; say "
                 "Goodbye\". Without the quotes only the part before the first semicolon is bound, and the rest "
                 "runs at once.");
        frmTips dialog(tips);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.grab().save(out + "/tips.png");
        fSplash splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        splash.grab().save(out + "/splash.png");
        fAbout about(fAbout::Contact{"varkel@example.org", "https://example.org/varkel"});
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.grab().save(out + "/about.png");
        fAbout plain(fAbout::Contact{});
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        plain.grab().save(out + "/about-plain.png");
    }
};

QTEST_MAIN(TipsAboutTest)
#include "tst_tipsabout.moc"
