// The bindings table in a whole frame: its filters, how it follows the
// editor and the panel, editing a command in place, following `exec` lines
// and the effective bindings of a chain of scripts.

#include "bindings/gui/bindingstable.h"
#include "bindings/gui/devicepanel.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>

using namespace varkel;
using namespace varkel::test;

namespace {

QStringList keysShown(const BindingsTable &table)
{
    QStringList keys;
    for (int i = 0; i < table.RowCount(); ++i)
        keys << table.CellText(i, BindingsTable::KeyColumn);
    return keys;
}

int rowOf(const BindingsTable &table, const QString &key)
{
    for (int i = 0; i < table.RowCount(); ++i)
        if (table.CellText(i, BindingsTable::KeyColumn) == key)
            return i;
    return -1;
}

void selectRow(BindingsTable &table, int row)
{
    QTableView *view = table.View();
    view->setCurrentIndex(view->model()->index(row, BindingsTable::KeyColumn));
}

} // namespace

class TestBindingsTable : public QObject {
    Q_OBJECT

private slots:
    void theTableListsTheActiveScriptsBindingsAndFiltersThem()
    {
        FrameFixture f;
        const QString file = f.write("keys.cfg", "bind f +use\r\nbind G +jump // hop\r\nbind f +attack\r\nbind aux1 \"say hi there\"\r\n");
        f.frame->documents().OpenConfig(file.toStdString());
        BindingsTable *table = f.frame->bindings().Table();
        QVERIFY(table);
        QCOMPARE(f.frame->dockWidgetArea(table), Qt::RightDockWidgetArea);

        // Sorted by key number: panel keys in slot order, then the others.
        QCOMPARE(keysShown(*table), (QStringList{"f", "g", "aux1"}));
        const int fRow = rowOf(*table, "f");
        QCOMPARE(table->CellText(fRow, BindingsTable::CommandColumn), QStringLiteral("+use"));
        QCOMPARE(table->CellText(fRow, BindingsTable::LineColumn), QStringLiteral("keys.cfg:1"));
        QCOMPARE(table->CellText(fRow, BindingsTable::StateColumn), QStringLiteral("CON"));
        QCOMPARE(table->CellText(fRow, BindingsTable::PanelColumn), QString());
        const int auxRow = rowOf(*table, "aux1");
        QCOMPARE(table->CellText(auxRow, BindingsTable::CommandColumn), QStringLiteral("say hi there"));
        QCOMPARE(table->CellText(auxRow, BindingsTable::StateColumn), QStringLiteral("On"));
        QVERIFY(!table->CellText(auxRow, BindingsTable::PanelColumn).isEmpty());

        table->SetFilter(RowFilter::Conflicts);
        QCOMPARE(keysShown(*table), QStringList{"f"});
        table->SetFilter(RowFilter::FreeKeys);
        const QStringList free = keysShown(*table);
        QVERIFY(free.contains("h") && free.contains("escape"));
        QVERIFY(!free.contains("f") && !free.contains("g") && !free.contains("aux1"));
        table->SetFilter(RowFilter::All);
        table->SearchBox()->setText("JUMP");
        QCOMPARE(keysShown(*table), QStringList{"g"});
        table->SearchBox()->setText("keys.cfg:4");
        QCOMPARE(keysShown(*table), QStringList{"aux1"});
        table->SearchBox()->clear();

        // Sorting by the command column.
        table->View()->sortByColumn(BindingsTable::CommandColumn, Qt::AscendingOrder);
        QCOMPARE(keysShown(*table), (QStringList{"g", "f", "aux1"}));

        // Typing refreshes it: the table follows the active script.
        RichEdit *e = f.frame->documents().ActiveEditor();
        e->SetSel(e->TextLength(), 0);
        e->SetSelText("bind h +back\r\n");
        f.frame->bindings().RefreshBindings();
        QVERIFY(keysShown(*table).contains("h"));
    }

    void aRowSelectsItsBindLineAndItsKeyAndAKeySelectsItsRow()
    {
        FrameFixture f;
        const QString file = f.write("keys.cfg", "// keys\nbind f +use\n  bind g \"+jump\"  \t\nbind f +attack\nbind aux1 +speed\n");
        f.frame->documents().OpenConfig(file.toStdString());
        BindingsTable *table = f.frame->bindings().Table();
        RichEdit *e = f.frame->documents().ActiveEditor();
        DevicePanel *panel = f.frame->bindings().Panel();
        const GameDictionary &dict = f.frame->colouring().Dictionary();

        selectRow(*table, rowOf(*table, "g"));
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind g \"+jump\""));
        QCOMPARE(panel->SelectedSlot(), dict.KeyIndex("g"));
        QCOMPARE(panel->KeyState(dict.KeyIndex("g")), KeyPicture::HL);

        // A key off the panel selects its line and lets the panel's key go.
        selectRow(*table, rowOf(*table, "aux1"));
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind aux1 +speed"));
        QCOMPARE(panel->SelectedSlot(), -1);
        QCOMPARE(panel->KeyState(dict.KeyIndex("g")), KeyPicture::On);

        // A click on the panel selects the key's row (and its first line).
        QVERIFY(panel->ClickSlot(dict.KeyIndex("f")));
        QVERIFY(table->CurrentRow());
        QCOMPARE(table->CurrentRow()->key, std::string("f"));
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bind f +use"));
        // A key no row lists: no row is current.
        QVERIFY(panel->ClickSlot(dict.KeyIndex("h")));
        QVERIFY(!table->CurrentRow());
    }

    void editingACommandInPlaceIsOneUndoStep()
    {
        FrameFixture f;
        const QByteArray original = "bind f +use ; echo one\r\nbind g \"+jump\" // hop\r\n";
        const QString file = f.write("keys.cfg", original);
        f.frame->documents().OpenConfig(file.toStdString());
        BindingsTable *table = f.frame->bindings().Table();
        RichEdit *e = f.frame->documents().ActiveEditor();
        table->show();

        // Double-click the command cell, type, Enter.
        QTableView *view = table->View();
        const QModelIndex cell = view->model()->index(rowOf(*table, "g"), BindingsTable::CommandColumn);
        view->scrollTo(cell);
        const QRect rect = view->visualRect(cell);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
        auto *editor = view->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "+moveup; wait");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QByteArray::fromStdString(e->Text()),
                     QByteArray("bind f +use ; echo one\r\nbind g \"+moveup; wait\" // hop\r\n"));
        QCOMPARE(table->CellText(rowOf(*table, "g"), BindingsTable::CommandColumn), QStringLiteral("+moveup; wait"));
        QVERIFY(f.frame->documents().Docs()[f.frame->documents().ActiveDoc()].Modified);

        // Only the command of that command is rewritten; the next command stays.
        view->model()->setData(view->model()->index(rowOf(*table, "f"), BindingsTable::CommandColumn), "+use2");
        QTRY_COMPARE(QByteArray::fromStdString(e->Text()),
                     QByteArray("bind f +use2 ; echo one\r\nbind g \"+moveup; wait\" // hop\r\n"));

        // Each edit is one step back.
        f.frame->Dispatch("cmnuUndo");
        QCOMPARE(QByteArray::fromStdString(e->Text()),
                 QByteArray("bind f +use ; echo one\r\nbind g \"+moveup; wait\" // hop\r\n"));
        f.frame->Dispatch("cmnuUndo");
        QCOMPARE(QByteArray::fromStdString(e->Text()), original);
        QCOMPARE(table->CellText(rowOf(*table, "g"), BindingsTable::CommandColumn), QStringLiteral("+jump"));
    }

    void execLinesOpenTheirScriptsAndAMissingOneIsReported()
    {
        FrameFixture f;
        QDir(f.dir.path()).mkdir("cfg");
        f.write("weapons.cfg", "bind 1 \"weapon 1\"\n");
        f.write("cfg/binds.cfg", "bind x +forward\nexec weapons\n");
        const QString start = f.write("cfg/autoexec.cfg", "exec binds.cfg\nexec nothere ; echo x\n");
        f.frame->documents().OpenConfig(start.toStdString());
        RichEdit *e = f.frame->documents().ActiveEditor();

        // Ctrl+click on the first line opens binds.cfg from the script's own folder.
        const QPoint firstLine(e->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, 2L) + 2,
                               e->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0UL, 2L) + 2);
        QTest::mouseClick(e->viewport(), Qt::LeftButton, Qt::ControlModifier, firstLine);
        QCOMPARE(QString::fromStdString(f.frame->documents().Docs()[f.frame->documents().ActiveDoc()].Path), f.path("cfg/binds.cfg"));

        // From there, "weapons" is found in the starting script's folder only
        // when the chain is known; alone, binds.cfg finds it nowhere.
        RichEdit *binds = f.frame->documents().ActiveEditor();
        QVERIFY(f.frame->bindings().FollowExecAt(binds, binds->LineIndex(1)));
        QVERIFY(f.frame->commands().StatusPanelText(1).contains("Script not found: weapons"));

        // The Edit menu offers "Open NAME" for the caret's line.
        f.frame->documents().OpenConfig(start.toStdString());
        e->SetSelStart(e->LineIndex(1) + 2);
        QMenu *edit = f.frame->commands().Menu()->Submenu("cmnuEditTOP");
        emit edit->aboutToShow();
        QCOMPARE(f.frame->commands().Menu()->Caption("cmnuOpenExec"), QStringLiteral("Open nothere"));
        f.frame->commands().Menu()->RaiseClick(f.frame->commands().Menu()->IndexForKey("cmnuOpenExec"));
        QVERIFY(f.frame->commands().StatusPanelText(1).contains("Script not found: nothere"));
        e->SetSelStart(0);
        emit edit->aboutToShow();
        QCOMPARE(f.frame->commands().Menu()->Caption("cmnuOpenExec"), QStringLiteral("Open binds.cfg"));
        f.frame->commands().Menu()->RaiseClick(f.frame->commands().Menu()->IndexForKey("cmnuOpenExec"));
        QCOMPARE(QString::fromStdString(f.frame->documents().Docs()[f.frame->documents().ActiveDoc()].Path), f.path("cfg/binds.cfg"));
        // A line with no exec: no item.
        f.frame->documents().OpenConfig(f.path("weapons.cfg").toStdString());
        emit edit->aboutToShow();
        QCOMPARE(f.frame->commands().Menu()->IndexForKey("cmnuOpenExec"), 0);
    }

    void effectiveBindingsFollowTheExecChain()
    {
        FrameFixture f;
        f.write("binds.cfg", "unbind g\nbind x +forward\n");
        const QString start = f.write("autoexec.cfg", "bind g +jump\nbind x +back\nexec binds\nbind h +use\n");
        f.frame->documents().OpenConfig(start.toStdString());
        BindingsTable *table = f.frame->bindings().Table();
        DevicePanel *panel = f.frame->bindings().Panel();
        const GameDictionary &dict = f.frame->colouring().Dictionary();
        QCOMPARE(keysShown(*table), (QStringList{"g", "h", "x"}));
        QCOMPARE(panel->KeyState(dict.KeyIndex("g")), KeyPicture::On);

        table->SetEffective(true);
        QCOMPARE(keysShown(*table).size(), 2);
        const int x = rowOf(*table, "x");
        QVERIFY(x >= 0 && rowOf(*table, "h") >= 0 && rowOf(*table, "g") < 0);
        QCOMPARE(table->CellText(x, BindingsTable::CommandColumn), QStringLiteral("+forward"));
        QCOMPARE(table->CellText(x, BindingsTable::LineColumn), QStringLiteral("binds.cfg:2"));
        // The panel shows the same.
        QCOMPARE(panel->KeyState(dict.KeyIndex("g")), KeyPicture::Off);
        QCOMPARE(panel->KeyState(dict.KeyIndex("x")), KeyPicture::On);

        // Selecting the row opens the script that set it, at its line; the
        // chain shown still starts at autoexec.cfg.
        selectRow(*table, x);
        QCOMPARE(QString::fromStdString(f.frame->documents().Docs()[f.frame->documents().ActiveDoc()].Path), f.path("binds.cfg"));
        QCOMPARE(QByteArray::fromStdString(f.frame->documents().ActiveEditor()->SelText()), QByteArray("bind x +forward"));
        QCOMPARE(table->CellText(rowOf(*table, "x"), BindingsTable::LineColumn), QStringLiteral("binds.cfg:2"));
        QVERIFY(rowOf(*table, "h") >= 0);

        // A command edited there is read from the editor, saved or not.
        table->View()->model()->setData(table->View()->model()->index(rowOf(*table, "x"), BindingsTable::CommandColumn),
                                        "+moveup");
        QTRY_COMPARE(QByteArray::fromStdString(f.frame->documents().ActiveEditor()->Text()),
                     QByteArray("unbind g\nbind x +moveup\n"));
        QCOMPARE(table->CellText(rowOf(*table, "x"), BindingsTable::CommandColumn), QStringLiteral("+moveup"));
        QVERIFY(rowOf(*table, "h") >= 0);

        table->SetEffective(false);
        QCOMPARE(keysShown(*table), QStringList{"x"});
    }

    void theMenuShowsAndHidesTheTableAndTheChoiceIsKept()
    {
        FrameFixture f;
        BindingsTable *table = f.frame->bindings().Table();
        QVERIFY(table->isHidden());
        QVERIFY(!f.frame->commands().Menu()->IsChecked("cmnuBindingsTable"));
        f.frame->Dispatch("cmnuBindingsTable");
        QVERIFY(!table->isHidden());
        QVERIFY(f.frame->commands().Menu()->IsChecked("cmnuBindingsTable"));
        f.frame->addDockWidget(Qt::LeftDockWidgetArea, table);
        QCOMPARE(f.frame->dockWidgetArea(table), Qt::LeftDockWidgetArea);

        // A second frame with the same settings shows it where it was.
        fMain second;
        second.MDIForm_Load(QString());
        auto *dock = second.findChild<QDockWidget *>("dockBindings");
        QVERIFY(dock);
        QVERIFY(!dock->isHidden());
        QCOMPARE(second.dockWidgetArea(dock), Qt::LeftDockWidgetArea);

        // Closing the dock is remembered too.
        table->close();
        QVERIFY(!f.frame->commands().Menu()->IsChecked("cmnuBindingsTable"));
        fMain third;
        third.MDIForm_Load(QString());
        QVERIFY(third.findChild<QDockWidget *>("dockBindings")->isHidden());
    }
};

QTEST_MAIN(TestBindingsTable)
#include "tst_bindingstable.moc"
