// Checks while typing in the frame: squiggles follow edits and Undo, the
// Problems list selects a place, F8 walks the findings, the options turn it
// all off, the completion list fits the context, and the user's own names
// are stored and honoured.

#include "app/profile.h"
#include "bindings/completion.h"
#include "bindings/gui/problemslist.h"
#include "bindings/gui/scriptchecks.h"
#include "dialogs/gui/foptions.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/corpus.h"
#include "support/guitest.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTableView>
#include <QToolTip>
#include <QTest>

#include <random>

using namespace varkel;
using namespace varkel::test;

namespace {

using Sci = QsciScintillaBase;

// The indicator value at a position: 0 none, else squiggled.
int squiggle(RichEdit *e, long pos, int indicator = ScriptChecks::kWarningIndicator)
{
    return static_cast<int>(e->SendScintilla(Sci::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator), pos));
}

QStringList codes(ScriptChecks &checks, RichEdit *e)
{
    QStringList out;
    for (const LintFinding &f : checks.Findings(e))
        out << QStringLiteral("%1:%2").arg(f.line + 1).arg(QString::fromLatin1(LintCodeName(f.code).data(),
                                                                             static_cast<int>(LintCodeName(f.code).size())));
    return out;
}

RichEdit *open(FrameFixture &fx, const char *name, const QByteArray &text)
{
    fx.frame->documents().OpenConfig(fx.write(QString::fromLatin1(name), text));
    RichEdit *e = fx.frame->documents().ActiveEditor();
    fx.frame->checks().CheckNow(e);
    return e;
}

// Types text as keys; a line break is the Enter key.
void type(RichEdit *e, const char *keys)
{
    const QStringList lines = QString::fromLatin1(keys).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, lines[i]);
    }
}

void typeAt(RichEdit *e, long pos, const char *keys)
{
    e->SetSelStart(pos);
    type(e, keys);
}

} // namespace

class TestScriptChecks : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        mGlobal::CheckScripts = true;
        mGlobal::OfferCompletions = true;
    }

    void squigglesFollowEditsAndUndo()
    {
        FrameFixture fx;
        ScriptChecks &checks = fx.frame->checks();
        const QByteArray text = "bind w \"+forward\r\nbind q +attack\r\n";
        RichEdit *e = open(fx, "a.cfg", text);
        e->setFocus();
        QCOMPARE(codes(checks, e), QStringList{"1:unclosed-quote"});
        QVERIFY(squiggle(e, 7) != 0);
        QCOMPARE(squiggle(e, 20), 0);
        // The squiggles are no change of the text and no step of Undo.
        QCOMPARE(QByteArray::fromStdString(e->Text()), text);
        QVERIFY(!e->CanUndo());

        // Closing the quote clears its line at once, before any pause.
        typeAt(e, 16, "\"");
        QCOMPARE(codes(checks, e), QStringList{});
        QCOMPARE(squiggle(e, 7), 0);

        // A key bound twice spans lines: it shows once typing pauses.
        typeAt(e, e->TextLength(), "bind q +jump");
        QVERIFY(!codes(checks, e).contains("3:duplicate-bind"));
        QTRY_VERIFY(codes(checks, e).contains("3:duplicate-bind"));
        QVERIFY(squiggle(e, e->LineIndex(2) + 5) != 0);

        // Undo takes the text back, and the findings with it.
        fx.frame->Dispatch("cmnuUndo");
        QVERIFY(!codes(checks, e).contains("3:duplicate-bind"));
        while (e->CanUndo())
            fx.frame->Dispatch("cmnuUndo");
        QCOMPARE(QByteArray::fromStdString(e->Text()), text);
        checks.CheckNow(e);
        QCOMPARE(codes(checks, e), QStringList{"1:unclosed-quote"});
        QVERIFY(squiggle(e, 7) != 0);
        // A finding further down keeps its place as lines are added above it.
        typeAt(e, 0, "// new\n// lines\n");
        QCOMPARE(codes(checks, e), QStringList{"3:unclosed-quote"});
        QVERIFY(squiggle(e, e->LineIndex(2) + 7) != 0);
        QCOMPARE(squiggle(e, 7), 0);
    }

    // After many edits of a big script, each checked by its lines alone,
    // the squiggles and the findings are those of a whole check of the
    // result, and so is the Problems list after it.
    void lineChecksAfterRandomEditsMatchAWholeCheck()
    {
        const auto all = test::CorpusScripts();
        if (all.empty())
            QSKIP("the corpus is not there");
        std::string text;
        for (size_t i = 0; i < all.size() && text.size() < 60000; i += 5)
            text += test::FileBytes(all[i]) + "\r\n";
        FrameFixture fx;
        ScriptChecks &checks = fx.frame->checks();
        RichEdit *e = open(fx, "big.cfg", QByteArray::fromStdString(text));
        if (checks.Problems()->isHidden())
            checks.ToggleProblemsList();
        // Lines that define no names, so that the names of a whole check stay
        // those the line checks use.
        static const char *const kLines[] = {"fov 90\r\n", "zzqq 1\r\n", "echo \"open\r\n", "wait; wait\r\n",
                                             "sensitivity 3.5\r\n"};
        std::mt19937 rng(5);
        const auto squiggles = [&] {
            QList<long> runs;
            for (const int indicator : {ScriptChecks::kWarningIndicator, ScriptChecks::kNoteIndicator})
                for (long pos = 0; pos < e->TextLength();) {
                    const long end = e->SendScintilla(Sci::SCI_INDICATOREND, static_cast<unsigned long>(indicator), pos);
                    if (squiggle(e, pos, indicator))
                        runs << indicator << pos << end;
                    if (end <= pos)
                        break;
                    pos = end;
                }
            return runs;
        };
        const auto findings = [&] {
            QStringList out;
            for (const LintFinding &f : checks.Findings(e))
                out << QStringLiteral("%1+%2 %3").arg(f.position).arg(f.length).arg(QString::fromStdString(f.message));
            return out;
        };
        for (int round = 0; round < 6; ++round) {
            for (int step = 0; step < 40; ++step) {
                const int line = static_cast<int>(rng() % static_cast<unsigned>(e->LineCount()));
                const long start = e->LineIndex(line);
                const long next = line + 1 < e->LineCount() ? e->LineIndex(line + 1) : e->TextLength();
                const std::string_view lineText = e->RangeView(start, next - start);
                const bool ours = std::any_of(std::begin(kLines), std::end(kLines),
                                              [&](const char *l) { return lineText == l; });
                if (ours && rng() % 2) {
                    e->SetSel(start, next - start);
                    e->SetSelText("");
                } else {
                    e->SetSel(start, 0);
                    e->SetSelText(kLines[rng() % std::size(kLines)]);
                }
            }
            const QList<long> typed = squiggles();
            const QStringList kept = findings();
            QVERIFY(!kept.isEmpty());
            checks.CheckNow(e);
            QCOMPARE(kept, findings());
            QCOMPARE(typed, squiggles());
            QCOMPARE(checks.Problems()->RowCount(), kept.size());
        }
    }

    void eachScriptIsCheckedWithItsOwnSet()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        RichEdit *e = open(fx, "q3.cfg", "seta cg_drawFPS 1\r\nseta com_maxfps 125\r\nseta rail \"weapon 7\"\r\n"
                                         "bind q vstr rail\r\n");
        QCOMPARE(f.documents().Docs()[1].CommandSet, std::string("Q3"));
        QCOMPARE(codes(f.checks(), e), QStringList{});
        // Read as Quake II, Quake III's words are unknown, once the pause after the switch is over.
        f.Dispatch("cmnuQ2");
        QCOMPARE(f.documents().Docs()[1].CommandSet, std::string("Q2"));
        QTRY_VERIFY(codes(f.checks(), e).contains("1:unknown-name"));
    }

    void problemsListAndF8()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        RichEdit *e = open(fx, "b.cfg", "bindd x quit\r\nbind FOOKEY +attack\r\nalias spin \"spin\"\r\n");
        f.Dispatch("cmnuProblems");
        ProblemsList *list = f.checks().Problems();
        QVERIFY(list->isVisible());
        QVERIFY(f.commands().Menu()->IsChecked("cmnuProblems"));
        QCOMPARE(GetProfileString("General", "ShowProblems", "", mGlobal::IniPath), std::string("True"));
        QCOMPARE(list->RowCount(), 3);
        QCOMPARE(list->CellText(1, ProblemsList::LineColumn), QStringLiteral("2"));
        QCOMPARE(list->CellText(1, ProblemsList::ColumnColumn), QStringLiteral("6"));
        QCOMPARE(list->CellText(1, ProblemsList::SeverityColumn), QStringLiteral("warning"));
        QCOMPARE(list->CellText(1, ProblemsList::CodeColumn), QStringLiteral("unknown-key"));

        // A click selects the place.
        QTableView *view = list->View();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 3)).center());
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("FOOKEY"));
        QVERIFY(f.commands().StatusPanelText(1).contains("FOOKEY"));

        // F8 walks on and wraps; Shift+F8 walks back and wraps.
        e->SetSelStart(0);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_F8);
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bindd"));
        f.Dispatch("cmnuNextProblem");
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("FOOKEY"));
        f.Dispatch("cmnuNextProblem");
        QCOMPARE(e->SelStart(), e->LineIndex(2) + 6);
        f.Dispatch("cmnuNextProblem");
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("bindd"));
        QTest::keyClick(e, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(e->SelStart(), e->LineIndex(2) + 6);
        f.Dispatch("cmnuPrevProblem");
        QCOMPARE(QByteArray::fromStdString(e->SelText()), QByteArray("FOOKEY"));

        // The mouse resting on a finding shows its message.
        emit e->SCN_DWELLSTART(static_cast<int>(e->LineIndex(1) + 7), 20, 20);
        QVERIFY(QToolTip::text().contains("unknown key \"FOOKEY\""));
        emit e->SCN_DWELLEND(0, 0, 0);
        QTRY_VERIFY(!QToolTip::isVisible());
        // Not over a menu that popped up meanwhile (a right click).
        QMenu menu;
        menu.addAction(QStringLiteral("Undo"));
        menu.popup(f.mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(QApplication::activePopupWidget());
        emit e->SCN_DWELLSTART(static_cast<int>(e->LineIndex(1) + 7), 20, 20);
        QVERIFY(!QToolTip::isVisible());
        menu.close();
        // The caret on a finding tells it in the status bar.
        e->SetSelStart(1);
        QTRY_VERIFY(f.commands().StatusPanelText(1).contains("unknown command or variable \"bindd\""));

        // The list follows the active script, and empties when none is left.
        open(fx, "clean.cfg", "bind x +attack\r\n");
        QCOMPARE(list->RowCount(), 0);
        f.documents().ActivateDocument(1);
        QCOMPARE(list->RowCount(), 3);
        // A hidden frame's list still follows the script.
        f.hide();
        f.documents().ActiveEditor()->SetText("bindd x\r\nbindd y\r\n");
        f.checks().CheckNow(f.documents().ActiveEditor());
        f.show();
        QCOMPARE(list->RowCount(), 2);
        fx.prompts->askAnswers = {QMessageBox::No};
        f.Dispatch("cmnuCloseAll");
        QTRY_COMPARE(list->RowCount(), 0);
    }

    void optionsOffShowNothing()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        RichEdit *e = open(fx, "c.cfg", "bindd x quit\r\n");
        f.Dispatch("cmnuProblems");
        QCOMPARE(f.checks().Problems()->RowCount(), 1);
        // Options, Misc: both boxes off, stored.
        test::onModal<fOptions>([](fOptions *dialog) {
            QVERIFY(dialog);
            QVERIFY(dialog->chkCheckScripts->isChecked() && dialog->chkCompletions->isChecked());
            dialog->chkCheckScripts->click();
            dialog->chkCompletions->click();
            dialog->cmdOK[0]->click();
        });
        f.Dispatch("cmnuOptions");
        QVERIFY(!mGlobal::CheckScripts && !mGlobal::OfferCompletions);
        QCOMPARE(GetProfileString("General", "CheckScripts", "", mGlobal::IniPath), std::string("False"));
        QCOMPARE(GetProfileString("General", "OfferCompletions", "", mGlobal::IniPath), std::string("False"));
        QCOMPARE(f.checks().Findings(e).size(), std::size_t(0));
        QCOMPARE(squiggle(e, 1, ScriptChecks::kNoteIndicator), 0);
        QCOMPARE(f.checks().Problems()->RowCount(), 0);
        e->setFocus();
        typeAt(e, e->TextLength(), "bindd y quit\nbind m");
        QTest::qWait(ScriptChecks::kPauseMs + 100);
        QCOMPARE(f.checks().Findings(e).size(), std::size_t(0));
        QCOMPARE(f.checks().Problems()->RowCount(), 0);
        QVERIFY(!e->isListActive());
        // On again, the findings come back.
        mGlobal::CheckScripts = true;
        f.checks().ApplySettings();
        QCOMPARE(f.checks().Findings(e).size(), std::size_t(2));
        QCOMPARE(f.checks().Problems()->RowCount(), 2);
    }

    void completionFitsTheContext()
    {
        FrameFixture fx;
        fx.write("autoexec.cfg", "");
        fx.write("axe.cfg", "");
        RichEdit *e = open(fx, "d.cfg", "alias +zoomin \"fov 30\"\r\n");
        ScriptChecks &checks = fx.frame->checks();
        e->setFocus();
        auto candidates = [&] { return checks.LastCompletion().candidates; };

        typeAt(e, e->TextLength(), "bind m");
        QCOMPARE(checks.LastCompletion().context, CompletionContext::Key);
        QVERIFY(e->isListActive());
        const std::size_t wide = candidates().size();
        QVERIFY(std::find(candidates().begin(), candidates().end(), "mouse1") != candidates().end());
        QTest::keyClicks(e, "ouse");
        QVERIFY(candidates().size() < wide); // typing narrows
        const std::string first = candidates().front();
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(!e->isListActive());
        QVERIFY(e->Text().ends_with("bind " + first));

        // Escape closes the list and leaves the text.
        QTest::keyClicks(e, " +zoo");
        QCOMPARE(checks.LastCompletion().context, CompletionContext::Command);
        QVERIFY(std::find(candidates().begin(), candidates().end(), "+zoomin") != candidates().end());
        QVERIFY(e->isListActive());
        QTest::keyClick(e, Qt::Key_Escape);
        QVERIFY(!e->isListActive());
        QVERIFY(e->Text().ends_with(" +zoo"));

        // After exec, the scripts of the document's folder; Enter accepts.
        type(e, "\nexec a");
        QCOMPARE(checks.LastCompletion().context, CompletionContext::Script);
        QCOMPARE(candidates(), (std::vector<std::string>{"autoexec.cfg", "axe.cfg"}));
        QTest::keyClicks(e, "x");
        QTest::keyClick(e, Qt::Key_Return);
        QVERIFY(e->Text().ends_with("exec axe.cfg"));

        // Nothing in a comment.
        type(e, "\n// bind m");
        QVERIFY(!e->isListActive());
        QCOMPARE(checks.LastCompletion().context, CompletionContext::None);
    }

    void myNamesAreStoredAndHonoured()
    {
        QByteArray stored;
        QString fileName;
        {
            FrameFixture fx;
            fMain &f = *fx.frame;
            RichEdit *e = open(fx, "e.cfg", "mymod_speed 3\r\nbindd x quit\r\n");
            QCOMPARE(codes(f.checks(), e), (QStringList{"1:unknown-name", "2:unknown-name"}));
            // The word under the pointer, else the caret's.
            e->SetSelStart(2);
            const long bindd = e->LineIndex(1) + 2;
            QCursor::setPos(e->viewport()->mapToGlobal(
                QPoint(static_cast<int>(e->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, bindd)),
                       static_cast<int>(e->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, bindd)) + 3)));
            QCOMPARE(f.checks().MyNameForMenu(), std::string("bindd"));
            QCursor::setPos(e->viewport()->mapToGlobal(QPoint(-50, -50)));
            QCOMPARE(f.checks().MyNameForMenu(), std::string("mymod_speed"));
            f.commands().SetMyNameItem(f.checks().MyNameForMenu());
            QCOMPARE(f.commands().Menu()->Caption("cmnuAddMyName"), QStringLiteral("Add mymod_speed to my names"));
            f.Dispatch("cmnuAddMyName", 1);
            const QString names = fx.path("names-" + QString::fromStdString(f.documents().Docs()[1].CommandSet).toLower() + ".txt");
            QCOMPARE(FrameFixture::read(names), QByteArray("mymod_speed\n"));
            QCOMPARE(codes(f.checks(), e), QStringList{"2:unknown-name"});
            // Added twice, it is stored once.
            f.checks().AddMyName("MyMod_Speed");
            QCOMPARE(FrameFixture::read(names), QByteArray("mymod_speed\n"));
            stored = FrameFixture::read(names);
            fileName = QFileInfo(names).fileName();
        }
        // The next start reads them.
        FrameFixture next;
        next.write(fileName, stored);
        RichEdit *e = open(next, "e.cfg", "mymod_speed 3\r\n");
        QCOMPARE(codes(next.frame->checks(), e), QStringList{});
    }
};

QTEST_MAIN(TestScriptChecks)
#include "tst_scriptchecks.moc"
