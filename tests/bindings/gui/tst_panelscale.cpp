// The device panel inside the frame follows the frame's size: full size in a
// roomy window, smaller in a low one, and in a window too low for it and
// twenty editor lines it moves up beside the command bar. (Fitting the width
// above the scripts is left to the core's tests: the frame's tool bars keep
// it wider than the panel.)

#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/keybindings.h"
#include "documents/gui/richedit.h"

#include "support/guitest.h"

#include <Qsci/qsciscintillabase.h>
#include <QtTest>

using namespace varkel;
using varkel::test::FrameFixture;

class TestPanelScale : public QObject
{
    Q_OBJECT

private slots:
    void panelFitsTheFrameAndLeavesTheEditorItsLines()
    {
        FrameFixture fx;
        QByteArray script;
        for (int i = 0; i < 60; ++i)
            script += "bind x +attack\r\n";
        fx.frame->documents().OpenConfig(fx.write(QStringLiteral("a.cfg"), script));
        fx.frame->documents().Arrange(1);
        RichEdit *editor = fx.frame->documents().ActiveEditor();
        QVERIFY(editor);
        auto *panel = fx.frame->findChild<DevicePanel *>();
        QVERIFY(panel && panel->isVisible());
        QWidget *above = panel->parentWidget();
        CommandBar *bar = fx.frame->bindings().InsertionTools();
        auto editorLines = [&] { return static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN)); };

        fx.frame->resize(1600, 1000);
        QTRY_COMPARE(panel->Scale(), 1.0);
        QTRY_COMPARE(panel->height(), panel->sizeHint().height());
        QCOMPARE(panel->parentWidget(), above);
        const int fullHeight = panel->height();

        // A little lower: still above the scripts, smaller, and never higher
        // than the editor below it.
        fx.frame->resize(1600, 720);
        QTRY_VERIFY(panel->Scale() < 1.0);
        QTRY_COMPARE(panel->height(), panel->sizeHint().height());
        QCOMPARE(panel->parentWidget(), above);
        QVERIFY(panel->isVisible() && panel->height() < fullHeight);
        QTRY_VERIFY(editorLines() * panel->FitInput().lineHeight >= panel->height());

        // A 1920x1080 screen at scale factor 2 is 960x540: the panel goes
        // beside the command bar, wholly inside the frame, and the editor
        // keeps twenty lines.
        fx.frame->resize(960, 540);
        QTRY_VERIFY(fx.frame->bindings().PanelBesideCommandBar());
        QTRY_VERIFY(panel->isVisible());
        QTRY_VERIFY(editorLines() >= 20);
        const QRect panelRect(panel->mapTo(fx.frame.get(), QPoint(0, 0)), panel->size());
        QVERIFY2(fx.frame->rect().contains(panelRect), "the panel is cut off");
        QVERIFY(panel->width() >= panel->sizeHint().width());
        QVERIFY(panel->height() <= bar->height() + panel->FitInput().lineHeight);
        qInfo("960x540: panel beside the command bar at %.2f (%dx%d), %d editor lines", panel->Scale(),
              panel->width(), panel->height(), editorLines());

        // Hidden and shown again in the low window: back beside the bar.
        fx.frame->bindings().ToggleKeyboard();
        QTRY_VERIFY(!fx.frame->bindings().PanelBesideCommandBar());
        QVERIFY(panel->isHidden());
        fx.frame->bindings().ToggleKeyboard();
        QTRY_VERIFY(fx.frame->bindings().PanelBesideCommandBar());
        QTRY_VERIFY(panel->isVisible());

        // With the command bar's band hidden the panel stays in sight, above.
        QWidget *band = bar->parentWidget()->parentWidget();
        band->hide();
        QTRY_VERIFY(!fx.frame->bindings().PanelBesideCommandBar());
        QTRY_VERIFY(panel->isVisible());
        band->show();
        QTRY_VERIFY(fx.frame->bindings().PanelBesideCommandBar());

        // Every height between: the place the panel takes stays put once the
        // layout has settled (no back and forth at the border).
        const auto placeNow = [&] { return std::pair(fx.frame->bindings().PanelBesideCommandBar(), panel->Scale()); };
        for (int height = 520; height <= 800; height += 14) {
            fx.frame->resize(960, height);
            // Settled: the same place and scale 100 ms apart (slow under a
            // sanitizer)...
            auto place = placeNow();
            for (int tries = 0; tries < 100; ++tries) {
                QTest::qWait(100);
                const auto now = placeNow();
                if (now == place)
                    break;
                place = now;
            }
            // ...and still so a while later.
            QTest::qWait(300);
            QCOMPARE(placeNow(), place);
            QVERIFY(!place.first || height < 540 || editorLines() >= 20);
        }

        // Roomy again: back above the scripts at full size.
        fx.frame->resize(1600, 1000);
        QTRY_VERIFY(!fx.frame->bindings().PanelBesideCommandBar());
        QCOMPARE(panel->parentWidget(), above);
        QTRY_COMPARE(panel->Scale(), 1.0);
        QTRY_COMPARE(panel->height(), fullHeight);
    }
};

QTEST_MAIN(TestPanelScale)
#include "tst_panelscale.moc"
