// A command set per script: each script opened is read and coloured with
// the set its words point to; activating a script switches the dictionary,
// the Q buttons and the status bar to its set; the Options menu sets the
// active script's set and the default; with detection off one set serves all.

#include "app/profile.h"
#include "bindings/gui/commandbar.h"
#include "dialogs/gui/foptions.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"
#include "support/guitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using namespace varkel;
using namespace varkel::test;

namespace {

const char kQ3Script[] = "seta cg_fov 110\r\nseta r_mode 4\r\nbind mouse4 \"vstr zoomin\"\r\nset zoomin \"cg_fov 30\"\r\n";
const char kQ1Script[] = "_cl_name player\r\n_cl_color 4\r\nimpulse 10\r\n+mlook\r\nbind f \"impulse 7\"\r\n";

QString setPanelTip(fMain &f)
{
    return f.findChild<QLabel *>(QStringLiteral("StatusPanel8"))->toolTip();
}

} // namespace

class TestCommandSets : public QObject {
    Q_OBJECT
private slots:
    void eachScriptKeepsTheSetItsWordsPointTo()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QCOMPARE(f.commands().StatusPanelText(8), QStringLiteral("Q2"));
        f.documents().OpenConfig(fx.write("q3.cfg", kQ3Script));
        const int q3 = f.documents().ActiveDoc();
        RichEdit *q3Editor = f.documents().ActiveEditor();
        QCOMPARE(f.documents().Docs()[q3].CommandSet, std::string("Q3"));
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q3"));
        QVERIFY(f.commands().ToolButton("tbQ3")->isChecked());
        QCOMPARE(f.commands().StatusPanelText(8), QStringLiteral("Q3"));
        QVERIFY(setPanelTip(f).contains(QStringLiteral("chosen by the script's words")));
        QCOMPARE(q3Editor->StyleAt(5), int(Cvar)); // cg_fov, a cvar of Quake III only
        // The key-name list holds every key of the game, not only the panel's.
        QVERIFY(f.bindings().InsertionTools()->cboKeyname->findText(QStringLiteral("MOUSE4")) >= 0);
        // Detection never changes the stored default.
        QCOMPARE(GetProfileString("General", "QVersion", "", mGlobal::IniPath), std::string("Q2"));

        f.documents().OpenConfig(fx.write("q1.cfg", kQ1Script));
        const int q1 = f.documents().ActiveDoc();
        RichEdit *q1Editor = f.documents().ActiveEditor();
        QCOMPARE(f.documents().Docs()[q1].CommandSet, std::string("Q1"));
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q1"));
        QVERIFY(f.commands().ToolButton("tbQ1")->isChecked());
        QCOMPARE(q1Editor->StyleAt(0), int(Cvar)); // _cl_name, a cvar of Quake only
        // The bindings are read with the active script's key names.
        QCOMPARE(f.bindings().Bindings().BoundText[static_cast<size_t>(f.colouring().Dictionary().KeyIndex("f"))],
                 std::string("impulse 7"));

        // Back to the first script: its set returns, its colours stay.
        f.documents().ActivateDocument(q3);
        QTRY_COMPARE(f.colouring().Dictionary().Set(), std::string("Q3"));
        QCOMPARE(f.commands().StatusPanelText(8), QStringLiteral("Q3"));
        QCOMPARE(q3Editor->StyleAt(5), int(Cvar));
        QCOMPARE(q1Editor->StyleAt(0), int(Cvar));

        // A new script takes the default.
        f.documents().NewConfig();
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q2"));
    }

    void theOptionsMenuSetsTheActiveScriptAndTheDefault()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("q3.cfg", kQ3Script));
        const int q3 = f.documents().ActiveDoc();
        RichEdit *e = f.documents().ActiveEditor();
        f.documents().OpenConfig(fx.write("q1.cfg", kQ1Script));
        const int q1 = f.documents().ActiveDoc();
        f.documents().ActivateDocument(q3);
        QTRY_COMPARE(f.documents().ActiveDoc(), q3);

        f.Dispatch("cmnuQ1");
        QCOMPARE(f.documents().Docs()[q3].CommandSet, std::string("Q1"));
        QCOMPARE(GetProfileString("General", "QVersion", "", mGlobal::IniPath), std::string("Q1"));
        QCOMPARE(f.commands().StatusPanelText(8), QStringLiteral("Q1"));
        QVERIFY(setPanelTip(f).contains(QStringLiteral("chosen in the Options menu")));
        QVERIFY(e->StyleAt(5) != int(Cvar)); // cg_fov means nothing to Quake
        QCOMPARE(f.documents().Docs()[q1].CommandSet, std::string("Q1"));

        // The choice sticks when the script is activated again.
        f.documents().ActivateDocument(q1);
        QTRY_COMPARE(f.documents().ActiveDoc(), q1);
        f.documents().ActivateDocument(q3);
        QTRY_COMPARE(f.documents().ActiveDoc(), q3);
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q1"));
    }

    void detectionOffGivesOneSetForEveryScript()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("q3.cfg", kQ3Script));
        RichEdit *q3Editor = f.documents().ActiveEditor();
        const int q3 = f.documents().ActiveDoc();
        QCOMPARE(q3Editor->StyleAt(5), int(Cvar));

        // Misc: "Detect the game of each script" off.
        test::onModal<fOptions>([](fOptions *d) {
            QVERIFY(d && d->chkDetectGame->isChecked());
            d->chkDetectGame->click();
            QTest::mouseClick(d->cmdOK[0], Qt::LeftButton);
        });
        f.Dispatch("cmnuOptions");
        QCOMPARE(GetProfileString("General", "DetectGame", "", mGlobal::IniPath), std::string("False"));
        QCOMPARE(f.documents().Docs()[q3].CommandSet, std::string("Q2"));
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q2"));
        QVERIFY(q3Editor->StyleAt(5) != int(Cvar)); // coloured again as Quake II
        QCOMPARE(f.commands().StatusPanelText(8), QStringLiteral("Q2"));

        // A Quake script opened now is read as the one set too.
        f.documents().OpenConfig(fx.write("q1.cfg", kQ1Script));
        QCOMPARE(f.documents().Docs()[f.documents().ActiveDoc()].CommandSet, std::string("Q2"));
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q2"));
        f.Dispatch("cmnuQ3");
        f.documents().ActivateDocument(q3);
        QTRY_COMPARE(f.documents().ActiveDoc(), q3);
        QCOMPARE(f.colouring().Dictionary().Set(), std::string("Q3"));
        mGlobal::DetectGame = true;
    }
};

QTEST_MAIN(TestCommandSets)
#include "tst_commandsets.moc"
