// The device panel inside the frame follows the frame's size: full size in a
// roomy window, smaller in a low one, and never higher than the script editor
// below it. (Fitting the width is left to the core's tests: the frame's tool
// bars keep it wider than the panel.)

#include "bindings/gui/devicepanel.h"
#include "documents/gui/richedit.h"

#include "support/guitest.h"

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
        fx.frame->documents().OpenConfig(fx.write(QStringLiteral("a.cfg"), "bind x +attack\r\n"));
        RichEdit *editor = fx.frame->documents().ActiveEditor();
        QVERIFY(editor);
        auto *panel = fx.frame->findChild<DevicePanel *>();
        QVERIFY(panel && panel->isVisible());

        fx.frame->resize(1600, 1000);
        QTRY_COMPARE(panel->Scale(), 1.0);
        QTRY_COMPARE(panel->height(), panel->sizeHint().height());
        const int fullHeight = panel->height();

        // Low (a 1920x1080 screen at scale factor 2 is 960x540): the panel
        // shrinks and the editor keeps at least as many lines as the panel
        // takes; the panel stays visible at its smallest.
        fx.frame->resize(960, 540);
        QTRY_VERIFY(panel->Scale() < 1.0);
        QTRY_COMPARE(panel->height(), panel->sizeHint().height());
        QVERIFY(panel->isVisible() && panel->height() > 0 && panel->height() < fullHeight);
        const PanelFitInput in = panel->FitInput();
        const int lines = EditorLinesLeft(in, panel->Scale());
        QVERIFY(lines * in.lineHeight >= panel->height() - in.lineHeight);
        QVERIFY(EditorLinesLeft(in, panel->Scale()) > EditorLinesLeft(in, 1.0));
        qInfo("960x540: panel at %.2f (%d px high), about %d editor lines of %d px", panel->Scale(), panel->height(),
              lines, in.lineHeight);

        // Roomy again: back to full size.
        fx.frame->resize(1600, 1000);
        QTRY_COMPARE(panel->Scale(), 1.0);
        QTRY_COMPARE(panel->height(), fullHeight);
    }
};

QTEST_MAIN(TestPanelScale)
#include "tst_panelscale.moc"
