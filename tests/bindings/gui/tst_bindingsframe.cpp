// The binding extraction in the frame: keys on the panel follow the active
// script, a click finds the key's `bind` line, conflicts within one script
// and across all of them, and the automatic refresh while typing.

#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/insertbutton.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "app/profile.h"
#include "support/guitest.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

using namespace varkel;
using namespace varkel::test;

namespace {
QByteArray selected(RichEdit *e)
{
    return QByteArray::fromStdString(e->SelText());
}
} // namespace

class TestBindingsFrame : public QObject {
    Q_OBJECT
private slots:
    void clickingAKeyFindsItsBindLine()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("a.cfg", "bind mouse1 \"+attack\"\r\nbind f +use\r\nbind f +attack\r\nbind g +jump\r\n"));
        DevicePanel *panel = f.bindings().Panel();
        const int fSlot = f.colouring().Dictionary().KeyIndex("f");
        const int mouse1 = f.colouring().Dictionary().KeyIndex("mouse1");
        QCOMPARE(panel->KeyState(mouse1), KeyPicture::On);
        QCOMPARE(panel->KeyState(fSlot), KeyPicture::CON);
        QCOMPARE(panel->ToolTipFor(mouse1), QStringLiteral("mouse1 = \"+attack\""));

        QTest::mouseClick(panel->SlotButton(fSlot), Qt::LeftButton);
        QCOMPARE(panel->KeyState(fSlot), KeyPicture::HL);
        QCOMPARE(selected(f.documents().ActiveEditor()), QByteArray("bind f +use"));
        QCOMPARE(QString::fromStdString(f.bindings().InsertionTools()->BindingText()), QStringLiteral("+use"));
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuFindNextConflict"));
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(selected(f.documents().ActiveEditor()), QByteArray("bind f +attack"));
        QCOMPARE(f.documents().ActiveEditor()->SelStart(), 36L); // the third line

        // With conflicts off, the later binding wins and nothing is CON.
        f.Dispatch("cmnuConflicts_None");
        QCOMPARE(GetProfileInt("General", "ConflictType", -1, mGlobal::IniPath), 0);
        QCOMPARE(panel->KeyState(fSlot), KeyPicture::On);
        QCOMPARE(f.bindings().Bindings().BoundText[static_cast<size_t>(fSlot)], std::string("+attack"));
        QVERIFY(f.commands().ToolButton("tbConflicts_None")->isChecked());
    }

    void findNextConflictStepsThroughPlusAndEquals()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("p.cfg", "// one\r\nbind + a\r\n// three\r\nbind = b\r\n// five\r\nbind + c\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        const int plus = f.colouring().Dictionary().KeyIndex("+");
        QCOMPARE(f.bindings().Panel()->KeyState(plus), KeyPicture::CON);
        QVERIFY(f.bindings().Panel()->ClickSlot(plus));
        QCOMPARE(e->GetLineFromChar(e->SelStart()), 1);
        e->SetSelStart(0);
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(e->GetLineFromChar(e->SelStart()), 1);
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(e->GetLineFromChar(e->SelStart()), 5);
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(e->GetLineFromChar(e->SelStart()), 5); // nothing more: the caret stays
        QCOMPARE(e->SelLength(), 0L);
    }

    void clickSelectsTheLineThatGaveTheBinding()
    {
        // Column-aligned lines: no search text matches the f line as written,
        // and the command alone occurs first on the g line.
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("c.cfg", "bind g       \"+use\"\r\nbind f       \"+use\"\r\nbind f\t\"+attack\"\r\n"
                                       "echo\r\nbind f\t\"+jump\"\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        DevicePanel *panel = f.bindings().Panel();
        const int fSlot = f.colouring().Dictionary().KeyIndex("f");
        QTest::mouseClick(panel->SlotButton(fSlot), Qt::LeftButton);
        QCOMPARE(selected(e), QByteArray("bind f       \"+use\""));
        // Find Next Conflict steps through the tab-aligned lines too, and
        // lets go of the last match when there is none after it.
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(selected(e), QByteArray("bind f\t\"+attack\""));
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(selected(e), QByteArray("bind f\t\"+jump\""));
        const long last = e->SelStart();
        f.Dispatch("cmnuFindNextConflict");
        QCOMPARE(e->SelStart(), last);
        QCOMPARE(e->SelLength(), 0L);
    }

    void conflictsAcrossAllScripts()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("a.cfg", "bind f +use\r\nbind h +left\r\n"));
        f.documents().OpenConfig(fx.write("b.cfg", "bind f +attack\r\n"));
        const int fSlot = f.colouring().Dictionary().KeyIndex("f"), hSlot = f.colouring().Dictionary().KeyIndex("h");
        QCOMPARE(f.bindings().Panel()->KeyState(fSlot), KeyPicture::On);
        f.Dispatch("cmnuConflicts_All");
        QCOMPARE(f.bindings().Panel()->KeyState(fSlot), KeyPicture::CON);
        QCOMPARE(f.bindings().Panel()->KeyState(hSlot), KeyPicture::On);
        // The active script's own text, the images of all.
        QCOMPARE(f.bindings().Bindings().BoundText[static_cast<size_t>(fSlot)], std::string("+attack"));
        QVERIFY(f.bindings().Bindings().BoundText[static_cast<size_t>(hSlot)].empty());
        QVERIFY(f.bindings().Panel()->ClickSlot(fSlot));
        QCOMPARE(selected(f.documents().ActiveEditor()), QByteArray("bind f +attack"));
    }

    void typingRefreshesAndInsertionsStayInTheDocument()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("t.cfg", "bind f +use\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        const int gSlot = f.colouring().Dictionary().KeyIndex("g");
        QVERIFY(f.bindings().Panel()->ClickSlot(f.colouring().Dictionary().KeyIndex("f")));
        QCOMPARE(QString::fromStdString(f.bindings().InsertionTools()->BindingText()), QStringLiteral("+use"));

        e->setFocus();
        e->SetSelStart(e->TextLength());
        QTest::keyClicks(e, "bind g +jump");
        QCOMPARE(f.bindings().Panel()->KeyState(gSlot), KeyPicture::On);
        // The refresh emptied the binding row; the next insertion still goes
        // into the script typed in.
        QVERIFY(f.bindings().InsertionTools()->BindingText().empty());
        f.bindings().InsertionTools()->cboCommand[1]->setEditText(QStringLiteral("+attack"));
        QTest::mouseClick(f.bindings().InsertionTools()->cmdInsertCommand[1], Qt::LeftButton);
        QVERIFY(e->Text().ends_with("bind g +jump+attack"));

        // With automatic refresh off, typing leaves the panel as it was.
        f.Dispatch("cmnuAutoRefresh");
        QCOMPARE(GetProfileString("General", "AutoRefresh", "", mGlobal::IniPath), std::string("False"));
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "bind h +left");
        QCOMPARE(f.bindings().Panel()->KeyState(f.colouring().Dictionary().KeyIndex("h")), KeyPicture::Off);
        f.Dispatch("cmnuRefresh");
        QCOMPARE(f.bindings().Panel()->KeyState(f.colouring().Dictionary().KeyIndex("h")), KeyPicture::On);

        // Closing the last script clears the panel.
        fx.prompts->askAnswers.push_back(QMessageBox::No);
        f.documents().CloseAllFiles();
        QCOMPARE(f.bindings().Panel()->KeyState(gSlot), KeyPicture::Off);
    }
};

QTEST_MAIN(TestBindingsFrame)
#include "tst_bindingsframe.moc"
