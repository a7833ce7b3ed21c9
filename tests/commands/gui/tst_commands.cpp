// The command interface: find and replace, the Window menu, the maximise
// toggle, the status-bar protocol and the recent-files menu.

#include "bindings/gui/devicepanel.h"
#include "commands/gui/replacedialog.h"
#include "documents/gui/childwindow.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QAction>
#include <QClipboard>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

using namespace varkel;
using namespace varkel::test;

namespace {
RichEdit *docWith(fMain &f, const char *text)
{
    f.documents().NewConfig();
    RichEdit *e = f.documents().ActiveEditor();
    e->SetSelText(text);
    return e;
}
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void findPreviousAndNext()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        RichEdit *e = docWith(f, "abc abc abc");
        mGlobal::LastSearchText = "abc";
        e->SetSelStart(8);
        f.Dispatch("cmnuFindPrev");
        QVERIFY(e->SelStart() == 4 && e->SelLength() == 3);

        e = docWith(f, "abcabc");
        e->SetSel(0, 3);
        f.Dispatch("cmnuFindNext");
        QCOMPARE(e->SelStart(), 3L);
        f.Dispatch("cmnuFindNext");
        QVERIFY(e->SelStart() == 3 && e->SelLength() == 3); // nothing further: the selection stays

        // Find ignores case; Cancel empties the remembered text.
        e = docWith(f, "bind x ABC");
        e->SetSelStart(0);
        fx.prompts->inputAnswers.push_back("abc");
        f.Dispatch("cmnuFind");
        QCOMPARE(e->SelStart(), 7L);
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuFindNext"));
        e->SetSelStart(0);
        fx.prompts->inputAnswers.push_back(QString());
        f.Dispatch("cmnuFind");
        QVERIFY(mGlobal::LastSearchText.empty() && !f.commands().Menu()->IsEnabled("cmnuFindNext"));
    }

    void replaceButtonOpensTheDialogAndReplaceAllIsOneUndo()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        RichEdit *e = docWith(f, "bind a jump; bind b JUMP");
        QVERIFY(f.commands().ToolButton("tbReplace")->isEnabled());
        f.commands().ToolButton("tbReplace")->click();
        ReplaceDialog *dialog = f.commands().replaceDialog();
        QVERIFY(dialog && dialog->isVisible());
        dialog->setFindText("jump");
        dialog->setReplaceText("+moveup");
        QCOMPARE(f.commands().ReplaceAll(), 2);
        const auto text = [&] { return QByteArray(e->TextView().data(), static_cast<qsizetype>(e->TextView().size())); };
        QCOMPARE(text(), QByteArray("bind a +moveup; bind b +moveup"));
        f.Dispatch("cmnuUndo");
        QCOMPARE(text(), QByteArray("bind a jump; bind b JUMP"));
        dialog->setMatchCase(true);
        e->SetSelStart(0);
        QVERIFY(f.commands().ReplaceStep(false)); // finds "jump"
        QVERIFY(!f.commands().ReplaceStep(true)); // replaces it; "JUMP" does not match, so none is left
        QCOMPARE(text(), QByteArray("bind a +moveup; bind b JUMP"));
    }

    void editingKeysRunTheirCommands()
    {
        // The keys the editor handles itself run the Edit menu's commands,
        // with the refresh that follows an edit: pasted, cut, deleted and
        // undone text is coloured and the bindings re-read.
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("k.cfg", "biQ\r\nnd f +use\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        const auto text = [&] { return QByteArray(e->TextView().data(), static_cast<qsizetype>(e->TextView().size())); };
        const int gSlot = f.colouring().Dictionary().KeyIndex("g");
        e->setFocus();
        QVERIFY(e->hasFocus());

        // Delete takes a selection out; the words it joins are coloured.
        e->SetSel(2, 3);
        QTest::keyClick(e, Qt::Key_Delete);
        QCOMPARE(text(), QByteArray("bind f +use\r\n"));
        QCOMPARE(e->StyleAt(0), int(Command));
        // With nothing selected it removes the character after the caret.
        QTest::keyClick(e, Qt::Key_Delete);
        QCOMPARE(text(), QByteArray("bind f +use\r\n").remove(2, 1));

        // Undo brings text back coloured; Redo follows what can be redone.
        QVERIFY(!f.commands().Menu()->IsEnabled("cmnuRedo"));
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(), QByteArray("bind f +use\r\n"));
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(), QByteArray("biQ\r\nnd f +use\r\n"));
        QCOMPARE(e->StyleAt(2), int(PlainText));
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuRedo"));
        QTest::keyClick(e, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(text(), QByteArray("bind f +use\r\n"));
        QCOMPARE(e->StyleAt(0), int(Command));
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(text(), QByteArray("bind f +use\r\n"));
        QCOMPARE(e->StyleAt(0), int(Command));

        // Cut and paste: the pasted lines are coloured, their keys read.
        e->SetSel(0, 4);
        QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bind"));
        QApplication::clipboard()->setText(QStringLiteral("bind g +jump\r\nbind"));
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text(), QByteArray("bind g +jump\r\nbind f +use\r\n"));
        QCOMPARE(e->StyleAt(0), int(Command));
        QCOMPARE(e->StyleAt(14), int(Command));
        QCOMPARE(f.bindings().Panel()->KeyState(gSlot), KeyPicture::On);
        // The editor's other keys for the same commands go the same way.
        e->SetSel(0, 14);
        QTest::keyClick(e, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bind g +jump\r\n"));
        QCOMPARE(f.bindings().Panel()->KeyState(gSlot), KeyPicture::Off);
        QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(f.bindings().Panel()->KeyState(gSlot), KeyPicture::On);
        QTest::keyClick(e, Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(f.bindings().Panel()->KeyState(gSlot), KeyPicture::Off);
    }

    void windowMenuListsTheOpenDocuments()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.commands().BuildWindowList();
        QVERIFY(!f.commands().Menu()->IsEnabled("cmnuTileHorz") && !f.commands().Menu()->IndexForKey("cmnuWindowSep"));
        QVERIFY(!f.commands().Menu()->IndexForKey("cmnuChild1"));

        f.documents().NewConfig();
        f.documents().NewConfig();
        const QString longPath = fx.write("a-rather-long-folder-name-for-configs.cfg", "x");
        f.documents().OpenConfig(longPath);
        f.commands().BuildWindowList();
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuCascade") && f.commands().Menu()->IndexForKey("cmnuWindowSep"));
        QCOMPARE(f.commands().Menu()->Caption("cmnuChild1"), QStringLiteral("&1) Untitled 1"));
        QVERIFY(f.commands().Menu()->Caption("cmnuChild3").startsWith("&3) ") && f.commands().Menu()->Caption("cmnuChild3").size() <= 4 + 32);
        QVERIFY(f.commands().Menu()->IsChecked("cmnuChild3") && !f.commands().Menu()->IsChecked("cmnuChild1"));
        // Choosing an item activates its document.
        f.commands().Menu()->RaiseClick(f.commands().Menu()->IndexForKey("cmnuChild1"));
        QCOMPARE(f.documents().ActiveDoc(), 1);
    }

    void maximiseTogglesFillingTheClientArea()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().NewConfig();
        f.documents().NewConfig();
        f.documents().Arrange(2);
        auto *w = qobject_cast<ChildWindow *>(f.documents().ActiveWindow()->parentWidget());
        QVERIFY(w);
        const QRect tiled = w->geometry();
        const QSize area = w->mdiArea()->viewport()->size();
        w->showMaximized();
        QTRY_VERIFY(!w->isMaximized());
        QTRY_COMPARE(w->mdiArea()->viewport()->size(), area);
        QTRY_COMPARE(w->geometry(), QRect(QPoint(0, 0), area));
        w->showMaximized();
        QTRY_VERIFY(!w->isMaximized());
        QCOMPARE(w->geometry(), tiled);
        // A window that was made to fill the area by other means goes back
        // to 90 % x 80 % of the area.
        auto *other = qobject_cast<ChildWindow *>(f.documents().Editor(1)->parentWidget());
        other->setGeometry(QRect(QPoint(0, 0), area));
        f.documents().OnChildMaximize(other);
        QCOMPARE(other->size(), QSize(qRound(area.width() * 0.9), qRound(area.height() * 0.8)));
    }

    // The whole toolbar shows at the frame's default size: no button goes
    // behind the overflow arrow.
    void wholeToolbarShowsAtTheDefaultSize()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QCOMPARE(f.width(), qRound(12495 / f.TwipsPerPixel()));
        auto *bar = f.findChild<QToolBar *>(QStringLiteral("tbrMain"));
        QVERIFY(bar);
        QTRY_VERIFY(bar->isVisible());
        int buttons = 0;
        for (QAction *a : bar->actions()) {
            QWidget *w = bar->widgetForAction(a);
            QVERIFY(w);
            const QRect r(w->mapTo(&f, QPoint(0, 0)), w->size());
            QVERIFY2(w->isVisible() && r.right() < f.width(), qPrintable(w->objectName()));
            buttons += qobject_cast<QToolButton *>(w) != nullptr;
        }
        QCOMPARE(buttons, 33);
        auto *overflow = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
        QVERIFY(!overflow || !overflow->isVisible());
    }

    void statusBarProtocol()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.commands().SetStatusBarTip("Loading File...", false);
        emit f.commands().Menu()->MenuExit();
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Loading File..."));
        f.commands().SetStatusBarTip("Ready", true);
        const int index = f.commands().Menu()->IndexForKey("cmnuPaste");
        emit f.commands().Menu()->ItemHighlight(index);
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Paste ClipBoard Contents"));
        emit f.commands().Menu()->ItemHighlight(100000); // beyond the help table: unchanged
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Paste ClipBoard Contents"));
        emit f.commands().Menu()->MenuExit();
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Ready"));

        // The caret panels follow the active script and go back to their
        // first texts when the last script closes.
        f.documents().OpenConfig(fx.write("a.cfg", "bind x +attack\r\nbind y +jump"));
        QCOMPARE(f.commands().StatusPanelText(2), QStringLiteral("Line: 1 of 2"));
        f.documents().CloseAllFiles();
        QCOMPARE(f.commands().StatusPanelText(2), QStringLiteral("Line"));
        QCOMPARE(f.commands().StatusPanelText(3), QStringLiteral("Col"));
        QCOMPARE(f.commands().StatusPanelText(4), QStringLiteral("Char:"));
    }

    void recentFilesMenu()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QCOMPARE(f.commands().Menu()->Caption("cmnuRecentFile1"), QStringLiteral("&1"));
        const QString a = fx.write("a.cfg", "a"), b = fx.write("b.cfg", "b");
        f.documents().OpenConfig(a);
        f.documents().OpenConfig(b);
        QCOMPARE(f.commands().Menu()->Caption("cmnuRecentFile1"), QStringLiteral("&1 ") + QString::fromStdString(TruncLongPath(b.toStdString())));
        QCOMPARE(f.commands().ToolButton("tbOpen")->menu(), f.commands().Menu()->Submenu("cmnuRecentFiles"));
        f.documents().CloseAllFiles();
        QCoreApplication::processEvents();
        f.commands().Menu()->RaiseClick(f.commands().Menu()->IndexForKey("cmnuRecentFile2"));
        QCOMPARE(QString::fromStdString(f.documents().Docs()[f.documents().ActiveDoc()].Path), a);
    }

    void menuLevelsGoWithTheirMenuObject()
    {
        auto *menu = new PopupMenu;
        const int file = menu->AddItem("&File", "", 0, 0, "", false, true, "mnuFile");
        const int recent = menu->AddItem("Recent", "", 0, file, "", false, true, "mnuRecent");
        menu->AddItem("One", "", 0, recent, "", false, true, "mnuOne");
        const QPointer<QMenu> top = menu->Submenu("mnuFile"), sub = menu->Submenu("mnuRecent");
        QVERIFY(top && sub);
        delete menu;
        QVERIFY(!top && !sub);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
