// The insertion tools in the frame: picking and inserting at the caret, the
// binding row, composing into the binding box, searching, the right-button
// drag onto the editor, and the states the tools take with the documents.

#include "bindings/gui/commandbar.h"
#include "bindings/gui/devicepanel.h"
#include "bindings/gui/insertbutton.h"
#include "bindings/uservariablelist.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QComboBox>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>

using namespace varkel;
using namespace varkel::test;

namespace {
QByteArray bytesOf(RichEdit *e)
{
    const auto v = e->TextView();
    return QByteArray(v.data(), static_cast<qsizetype>(v.size()));
}

QPoint pointOf(RichEdit *e, long pos)
{
    const int x = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos));
    const int y = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos));
    return {x + 1, y + 3};
}

// Opens a script and leaves the focus in its editor with the caret at `caret`.
RichEdit *openScript(FrameFixture &fx, const QByteArray &text, long caret)
{
    fx.frame->documents().OpenConfig(fx.write(QString("script%1.cfg").arg(fx.frame->documents().Docs().DocCount()), text));
    RichEdit *e = fx.frame->documents().ActiveEditor();
    e->setFocus();
    e->SetSelStart(caret);
    return e;
}

// Presses the right button on an insert button and moves it: the drag starts.
void rightDrag(QWidget *button)
{
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(9, 9), button->mapToGlobal(QPointF(9, 9)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
}

// Drops a drag's text on the editor at character position pos, as the
// platform's drag would: enter, move to the point, drop.
Qt::DropAction dropOn(RichEdit *e, QDrag *drag, long pos)
{
    QWidget *target = e->viewport();
    const QPoint at = pointOf(e, pos);
    const QMimeData *data = drag->mimeData();
    QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return Qt::IgnoreAction;
    QDragMoveEvent move(at, Qt::MoveAction, data, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(QPointF(at), Qt::MoveAction, data, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}
} // namespace

class TestInsertion : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        mGlobal::InsertTarget.clear();
    }

    void commandGoesInAtTheCaret()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        QVERIFY(f.findChild<QToolBar *>(QStringLiteral("picCommand"))->isVisible());
        RichEdit *e = openScript(fx, "bind x \r\n", 7);
        QVERIFY(!bar->cmdInsertCommand[1]->isEnabled());

        bar->cboCommand[1]->setEditText(QStringLiteral("+attack"));
        QVERIFY(bar->cmdInsertCommand[1]->isEnabled() && bar->cmdSearchCommand[1]->isEnabled());
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::LeftButton);
        QCOMPARE(bytesOf(e), QByteArray("bind x +attack\r\n"));
        QCOMPARE(e->SelStart(), 14L);
        QCOMPARE(e->SelLength(), 0L);
        QVERIFY(e->hasFocus() && f.documents().Docs()[f.documents().ActiveDoc()].Modified);
        // The bindings were read again, and the status says so no longer.
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Ready"));

        // The selection is replaced; nothing is added around the text.
        e->SetSel(0, 4);
        bar->cboCommand[2]->setEditText(QStringLiteral("sensitivity"));
        QTest::mouseClick(bar->cmdInsertCommand[2], Qt::LeftButton);
        QCOMPARE(bytesOf(e), QByteArray("sensitivity x +attack\r\n"));

        // Search selects the first occurrence, in any case; nothing found
        // leaves the selection.
        e = openScript(fx, "bind w +FORWARD\r\nbind up +forward\r\n", 30);
        bar->cboCommand[1]->setEditText(QStringLiteral("+forward"));
        QTest::mouseClick(bar->cmdSearchCommand[1], Qt::LeftButton);
        QCOMPARE(e->SelStart(), 7L);
        QCOMPARE(e->SelLength(), 8L);
        QVERIFY(e->hasFocus());
        bar->cboCommand[2]->setEditText(QStringLiteral("sensitivity"));
        QTest::mouseClick(bar->cmdSearchCommand[2], Qt::LeftButton);
        QCOMPARE(e->SelStart(), 7L);
        QCOMPARE(e->SelLength(), 8L);
    }

    void bindingRowAndTypedBindingBox()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        RichEdit *e = openScript(fx, "// keys\r\n", 9);
        // The panel hands over the slot's key name; the row shows it upper-cased.
        bar->SetBindingRow("mouse1", "+attack");
        QCOMPARE(bar->cboKeyname->currentText(), QStringLiteral("MOUSE1"));
        QVERIFY(bar->cmdInsertBinding->isEnabled());
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QCOMPARE(bytesOf(e), QByteArray("// keys\r\nbind MOUSE1 \"+attack\""));
        QVERIFY(e->hasFocus());

        // Enter in the binding box does the same, into the document even
        // though the binding box had the focus last. On a line with text the
        // binding becomes a line of its own before it, with the document's
        // line end.
        e->SetSelStart(3);
        bar->SetBindingRow("SPACE", "+moveup");
        bar->txtBinding->setFocus();
        QTest::keyClick(bar->txtBinding, Qt::Key_Return);
        QCOMPARE(bytesOf(e), QByteArray("bind SPACE \"+moveup\"\r\n// keys\r\nbind MOUSE1 \"+attack\""));
        QCOMPARE(e->StyleAt(0), int(Command)); // the placed line is coloured
        e->SetSelStart(e->TextLength() - 2);
        bar->SetBindingRow("X", "+use");
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QCOMPARE(bytesOf(e), QByteArray("bind SPACE \"+moveup\"\r\n// keys\r\nbind X \"+use\"\r\nbind MOUSE1 \"+attack\""));
        e->SetSel(0, 22);
        bar->SetBindingRow("Y", "+jump");
        QTest::mouseClick(bar->cmdInsertBinding, Qt::LeftButton);
        QVERIFY(bytesOf(e).startsWith("bind Y \"+jump\"// keys\r\n")); // a selection is replaced
        e->SetSelStart(0);

        // Without a key name, Enter inserts nothing.
        const QByteArray before = bytesOf(e);
        bar->cboKeyname->setEditText(QString());
        QVERIFY(!bar->cmdInsertBinding->isEnabled());
        bar->txtBinding->setFocus();
        QTest::keyClick(bar->txtBinding, Qt::Key_Return);
        QCOMPARE(bytesOf(e), before);

        // Typing in the binding box makes it receive the next command ...
        bar->txtBinding->clear();
        QTest::keyClicks(bar->txtBinding, "say ");
        QCOMPARE(QString::fromStdString(mGlobal::InsertTarget), QStringLiteral("BINDINGBOX"));
        bar->cboCommand[1]->setEditText(QStringLiteral("+forward"));
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::LeftButton);
        QCOMPARE(bar->txtBinding->text(), QStringLiteral("say +forward"));
        QVERIFY(bar->txtBinding->hasFocus());
        QCOMPARE(bytesOf(e), before);
        // ... until the editor had the focus again.
        e->setFocus();
        e->SetSelStart(0);
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::LeftButton);
        QCOMPARE(bytesOf(e), "+forward" + before);
    }

    void insertionTargetIsWhatWasClickedLast()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        DevicePanel *panel = f.bindings().Panel();
        const QByteArray script = "bind f +use\r\n\r\n";
        RichEdit *e = openScript(fx, script, 0);
        bar->cboCommand[1]->setEditText(QStringLiteral("+attack"));
        const int fSlot = f.colouring().Dictionary().KeyIndex("f"), gSlot = f.colouring().Dictionary().KeyIndex("g");

        // A key click, then an insertion: the command goes into the binding
        // box, not over the key's line that the click selected.
        QTest::mouseClick(panel->SlotButton(fSlot), Qt::LeftButton);
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind f +use"));
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::LeftButton);
        QCOMPARE(bar->txtBinding->text(), QStringLiteral("+use+attack"));
        QCOMPARE(bytesOf(e), script);

        // Typing in the script, then an insertion: into the script.
        QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointOf(e, 13));
        QVERIFY(e->hasFocus());
        QTest::keyClicks(e, "echo ");
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::LeftButton);
        const QByteArray typed = "bind f +use\r\necho +attack\r\n";
        QCOMPARE(bytesOf(e), typed);

        // A key bound nowhere: its empty binding box takes the command.
        QTest::mouseClick(panel->SlotButton(gSlot), Qt::LeftButton);
        QCOMPARE(bar->KeynameText(), std::string("G"));
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::LeftButton);
        QCOMPARE(bar->txtBinding->text(), QStringLiteral("+attack"));
        QCOMPARE(bytesOf(e), typed);
    }

    // A re-read that finds the same aliases (after typing, mostly) leaves
    // the box's items alone instead of refilling it.
    void unchangedAliasListKeepsTheBoxItems()
    {
        FrameFixture fx;
        CommandBar *bar = fx.frame->bindings().InsertionTools();
        QComboBox *box = bar->cboCommand[0];
        bar->SetAliasList({"a", "b"});
        box->setCurrentIndex(1);
        QSignalSpy removed(box->model(), &QAbstractItemModel::rowsRemoved);
        bar->SetAliasList({"a", "b"});
        QCOMPARE(removed.count(), 0);
        QCOMPARE(box->currentIndex(), 0);
        bar->SetAliasList({"a", "c"});
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(1), QStringLiteral("c"));
        // An entry the user added to the box is no item of the list.
        box->addItem(QStringLiteral("typed"));
        bar->SetAliasList({"a", "c"});
        QCOMPARE(box->count(), 2);
    }

    void aliasRowAndItemsFollowTheCommandSet()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        RichEdit *e = openScript(fx, "set myvar \"fov 90\"\r\n", 0);
        QCOMPARE(bar->lblCommandDes[0]->text(), QStringLiteral("Alias"));

        f.Dispatch("cmnuQ3");
        QCOMPARE(bar->lblCommandDes[0]->text(), QStringLiteral("Vstr"));
        QCOMPARE(bar->cboCommand[2]->currentText(), QStringLiteral("Q3 Cvars"));

        // The scan's variables fill the row; the box keeps an entry that survives.
        UserVariableList vars;
        vars.add("myvar", "fov 90");
        bar->SetUserVariables(&vars);
        bar->SetAliasList({"myvar"});
        QCOMPARE(bar->cboCommand[0]->currentText(), QStringLiteral("Vstr"));
        QVERIFY(!bar->cmdInsertCommand[0]->isEnabled());
        bar->cboCommand[0]->setEditText(QStringLiteral("myvar"));
        QVERIFY(bar->cmdInsertCommand[0]->isEnabled());
        bar->SetAliasList({"myvar"});
        QCOMPARE(bar->cboCommand[0]->currentText(), QStringLiteral("myvar"));
        e->SetSelStart(e->TextLength());
        QTest::mouseClick(bar->cmdInsertCommand[0], Qt::LeftButton);
        QVERIFY(bytesOf(e).endsWith("\r\nvstr myvar"));
        // Its search looks for the recorded value.
        QTest::mouseClick(bar->cmdSearchCommand[0], Qt::LeftButton);
        QCOMPARE(e->SelStart(), 11L);
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("fov 90"));
        vars.clear();
        bar->SetAliasList({});
        QCOMPARE(bar->cboCommand[0]->currentText(), QStringLiteral("Vstr"));
        bar->SetUserVariables(nullptr);

        // Items: the heading disables both buttons, an item inserts its weapon.
        QComboBox *items = bar->imgcboItems;
        QVERIFY(items->currentIndex() == -1 && !bar->cmdInsertItem->isEnabled());
        const int hook = items->findText(QStringLiteral("10 Grappling Hook"));
        const int heading = items->findText(QStringLiteral("TA Items"));
        QVERIFY(hook > 0 && heading > 0);
        QVERIFY(!items->itemIcon(hook).isNull());
        items->setCurrentIndex(heading);
        QVERIFY(!bar->cmdInsertItem->isEnabled() && !bar->cmdSearchItem->isEnabled());
        items->setCurrentIndex(hook);
        QVERIFY(bar->cmdInsertItem->isEnabled());
        e->SetSelStart(0);
        QTest::mouseClick(bar->cmdInsertItem, Qt::LeftButton);
        QVERIFY(bytesOf(e).startsWith("weapon 10set myvar"));
    }

    void rightButtonDragDropsAtTheDropPoint()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        RichEdit *e = openScript(fx, "bind x \r\nbind y y\r\n", 0);
        bar->cboCommand[1]->setEditText(QStringLiteral("+attack"));

        QString dragged;
        int modeDuringDrag = -1;
        bool bindingBoxTookDrops = true;
        CommandBar::Hooks hooks;
        hooks.activeEditor = [&] { return f.documents().ActiveEditor(); };
        hooks.documentOpen = [&] { return f.documents().Docs().AnyOpen(); };
        hooks.execDrag = [&](QDrag *drag) {
            dragged = drag->mimeData()->text();
            modeDuringDrag = e->OLEDropMode();
            bindingBoxTookDrops = bar->txtBinding->acceptDrops();
            return dropOn(e, drag, 7);
        };
        bar->SetHooks(hooks);

        rightDrag(bar->cmdInsertCommand[1]);
        QCOMPARE(dragged, QStringLiteral("+attack"));
        QCOMPARE(modeDuringDrag, 2);
        QVERIFY(bindingBoxTookDrops);
        QCOMPARE(bytesOf(e), QByteArray("bind x +attack\r\nbind y y\r\n"));
        QCOMPARE(e->OLEDropMode(), 1);

        // The binding row: its own box refuses the drop while it drags.
        bar->SetBindingRow("MOUSE2", "+back");
        rightDrag(bar->cmdInsertBinding);
        QCOMPARE(dragged, QStringLiteral("bind MOUSE2 \"+back\""));
        QVERIFY(!bindingBoxTookDrops);
        QVERIFY(bar->txtBinding->acceptDrops());
        QCOMPARE(bytesOf(e), QByteArray("bind x bind MOUSE2 \"+back\"+attack\r\nbind y y\r\n"));
        QCOMPARE(e->OLEDropMode(), 1);

        // A right click without a move drags nothing and leaves the mode as it was.
        QTest::mouseClick(bar->cmdInsertCommand[1], Qt::RightButton);
        QCOMPARE(e->OLEDropMode(), 1);
        QCOMPARE(bytesOf(e), QByteArray("bind x bind MOUSE2 \"+back\"+attack\r\nbind y y\r\n"));
    }

    void toolsFollowTheDocuments()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        CommandBar *bar = f.bindings().InsertionTools();
        const QColor face = bar->palette().color(QPalette::Button);
        QVERIFY(!bar->cboCommand[0]->isEnabled() && !bar->txtBinding->isEnabled());
        QVERIFY(!bar->imgcboItems->isEnabled() && !bar->cboKeyname->isEnabled());
        QCOMPARE(bar->cboCommand[1]->palette().color(QPalette::Active, QPalette::Base), face);

        mGlobal::BGColor = 0x203040; // 0x00BBGGRR
        openScript(fx, "x\r\n", 0);
        for (QComboBox *box : bar->cboCommand)
            QVERIFY(box->isEnabled());
        QVERIFY(bar->txtBinding->isEnabled() && bar->cboKeyname->isEnabled() && bar->imgcboItems->isEnabled());
        QCOMPARE(bar->txtBinding->palette().color(QPalette::Active, QPalette::Base), QColor(0x40, 0x30, 0x20));
        // Text colours by keyword class while colouring is on, plain text otherwise.
        const auto colour = [](unsigned bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); };
        QCOMPARE(bar->cboCommand[1]->palette().color(QPalette::Active, QPalette::Text),
                 colour(mGlobal::SyntaxColors[Command]));
        f.Dispatch("cmnuAutoSyntax_None");
        QCOMPARE(bar->cboCommand[1]->palette().color(QPalette::Active, QPalette::Text),
                 colour(mGlobal::SyntaxColors[PlainText]));

        // The status text shows the tool tip of a button under the pointer.
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(bar->cmdInsertCommand[2], &enter);
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Place Cvar at Insertion Point (Right Button Drags)"));
        QApplication::sendEvent(bar->txtBinding, &enter);
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Press Enter to Place Binding at Insertion Point"));

        bar->cboCommand[1]->setEditText(QStringLiteral("+attack"));
        bar->SetBindingRow("MOUSE1", "+attack");
        QVERIFY(bar->cmdInsertCommand[1]->isEnabled() && bar->cmdInsertBinding->isEnabled());
        f.documents().CloseAllFiles();
        QVERIFY(!bar->cmdInsertCommand[1]->isEnabled() && !bar->cmdSearchCommand[1]->isEnabled());
        QVERIFY(!bar->cmdInsertBinding->isEnabled() && !bar->cboCommand[1]->isEnabled());
        QCOMPARE(bar->cboCommand[1]->palette().color(QPalette::Active, QPalette::Base), face);
        mGlobal::BGColor = 0xFFFFFF;
    }
};

QTEST_MAIN(TestInsertion)
#include "tst_insertion.moc"
