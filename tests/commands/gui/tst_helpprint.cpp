// Printing and help through the frame: the help window on its contents and
// on a search, a missing help folder, printing to a PDF file in the order of
// the print job, no printer, and Printer Setup.

#include "commands/gui/helpwindow.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolButton>

#include <Qsci/qsciprinter.h>

using namespace varkel;
using namespace varkel::test;

namespace {

const QString kHelpDir = QStringLiteral(VARKEL_SOURCE_DIR "/help");

// A PDF printer that notes, when the text is printed, whether the job had
// started and whether the editor still had a selection.
class WatchingPrinter : public QsciPrinter {
public:
    explicit WatchingPrinter(const QString &file)
        : QsciPrinter(QPrinter::HighResolution)
    {
        setOutputFormat(QPrinter::PdfFormat);
        setOutputFileName(file);
    }
    int printRange(QsciScintillaBase *qsb, QPainter &painter, int from = -1, int to = -1) override
    {
        ++calls;
        jobStartedFirst = painter.isActive();
        if (auto *e = qobject_cast<RichEdit *>(qsb))
            selectionAtPrint = e->SelLength();
        fromLine = from;
        toLine = to;
        return QsciPrinter::printRange(qsb, painter, from, to);
    }
    using QsciPrinter::printRange;

    int calls = 0;
    bool jobStartedFirst = false;
    long selectionAtPrint = -1;
    int fromLine = 0, toLine = 0;
};

// Scripted answers of the printer dialog: cancel, or choose a PDF file.
class SetupPrompts : public ScriptedPrompts {
public:
    QString answerFile; // empty: cancel
    int setups = 0;
    bool PrinterSetup(QWidget *, QPrinter &printer) override
    {
        ++setups;
        if (answerFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answerFile);
        return true;
    }
};

int pdfPages(const QByteArray &pdf)
{
    return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

QByteArray longScript(int lines)
{
    QByteArray s;
    for (int i = 1; i <= lines; ++i)
        s += "bind f" + QByteArray::number(i % 12 + 1) + " \"say line " + QByteArray::number(i) + "\" // note\r\n";
    return s;
}

int htmlPageCount()
{
    return static_cast<int>(QDir(kHelpDir).entryList({QStringLiteral("*.html")}, QDir::Files).size());
}

} // namespace

class TestHelpPrint : public QObject {
    Q_OBJECT
private slots:
    void helpWindowShowsContentsAndSearches()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QCOMPARE(mGlobal::HelpDir, mGlobal::AppDir + "/help");
        mGlobal::HelpDir = kHelpDir.toStdString();

        f.Dispatch("cmnuHelpContents");
        HelpWindow *h = f.commands().Help();
        QVERIFY(h && h->isVisible());
        QCOMPARE(h->CurrentPage(), QStringLiteral("contents.html"));
        QCOMPARE(h->windowTitle(), QStringLiteral("Varkel Help - Contents"));
        // Pages link to each other, and Back returns.
        h->ShowPage(QStringLiteral("panel.html"));
        h->Browser()->backward();
        QCOMPARE(h->CurrentPage(), QStringLiteral("contents.html"));
        // The toolbar's help button runs the same command, on the same window.
        h->ShowPage(QStringLiteral("shortcuts.html"));
        f.commands().ToolButton("tbHelpContents")->click();
        QCOMPARE(f.commands().Help(), h);
        QCOMPARE(h->CurrentPage(), QStringLiteral("contents.html"));

        // Search: the field has the focus; empty, it lists every page.
        f.Dispatch("cmnuHelpSearch");
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(h->SearchField()));
        QCOMPARE(h->Results()->count(), htmlPageCount());
        QTest::keyClicks(h->SearchField(), "conflict");
        QCOMPARE(h->Results()->item(0)->text(), QStringLiteral("Binding conflicts"));
        QTest::keyClick(h->SearchField(), Qt::Key_Return);
        QCOMPARE(h->CurrentPage(), QStringLiteral("conflicts.html"));
        QVERIFY(h->Browser()->textCursor().selectedText().compare(QStringLiteral("conflict"), Qt::CaseInsensitive) == 0);
        // Search for Help on... starts again with an empty field.
        f.Dispatch("cmnuHelpSearch");
        QVERIFY(h->SearchField()->text().isEmpty());
        QCOMPARE(h->Results()->count(), htmlPageCount());
        QVERIFY(fx.prompts->errors.isEmpty());
    }

    void missingHelpFolderReports()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString folder = fx.path("nohelp");
        mGlobal::HelpDir = folder.toStdString();
        f.Dispatch("cmnuHelpContents");
        QCOMPARE(fx.prompts->errors, QStringList{QStringLiteral("Error 1003|Help files not found: ") + folder});
        QVERIFY(!f.commands().Help() || !f.commands().Help()->isVisible());

        // A folder without its contents page is no help either.
        QDir().mkpath(folder);
        fx.write(QStringLiteral("nohelp/panel.html"), "<title>Panel</title>");
        f.Dispatch("cmnuHelpSearch");
        QCOMPARE(fx.prompts->errors.last(),
                 QStringLiteral("Error 1003|Help files not found: ") + folder + QStringLiteral("/contents.html"));
        QVERIFY(!f.commands().Help() || !f.commands().Help()->isVisible());
    }

    void printsTheWholeDocumentToPdf()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QByteArray script = longScript(300);
        f.documents().OpenConfig(fx.write(QStringLiteral("long.cfg"), script));
        RichEdit *e = f.documents().ActiveEditor();
        e->SetSel(20, 10);

        const QString out = fx.path(QStringLiteral("out.pdf"));
        WatchingPrinter printer(out);
        const Error err = f.commands().PrintDocument(printer);
        QVERIFY2(!err, err.description().c_str());

        // Started, then the selection collapsed at its start, then the whole
        // text printed, then the job ended.
        QVERIFY(printer.calls == 1 && printer.jobStartedFirst);
        QCOMPARE(printer.selectionAtPrint, 0L);
        QVERIFY(printer.fromLine == -1 && printer.toLine == -1);
        QCOMPARE(printer.printerState(), QPrinter::Idle);
        QCOMPARE(e->SelStart(), 20L);
        QCOMPARE(e->SelLength(), 0L);

        const QByteArray pdf = FrameFixture::read(out);
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY2(pdfPages(pdf) >= 3, QByteArray::number(pdfPages(pdf)).constData()); // 300 lines, not the 10 selected bytes
        QCOMPARE(QByteArray(e->TextView().data(), static_cast<qsizetype>(e->TextView().size())), script);
        QVERIFY(!f.documents().Docs()[f.documents().ActiveDoc()].Modified);
    }

    void printCommandAndPrinterSetup()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        auto owned = std::make_unique<SetupPrompts>();
        SetupPrompts *prompts = owned.get();
        f.SetPrompts(std::move(owned));
        f.commands().SetPrinterSource([] { return std::shared_ptr<QsciPrinter>(); });
        f.documents().OpenConfig(fx.write(QStringLiteral("a.cfg"), "bind mouse1 +attack\r\n"));

        // No printer: a message, not silence.
        f.commands().ToolButton("tbPrint")->click();
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY(prompts->errors[0].startsWith(QStringLiteral("Error 482|Printer error: no printer is available")));

        // Cancelling the set-up is silent and chooses nothing.
        f.Dispatch("cmnuPrintSetup");
        QCOMPARE(prompts->setups, 1);
        QCOMPARE(prompts->errors.size(), 1);

        // A job that cannot start is reported, not passed over.
        const QString bad = fx.path(QStringLiteral("missing/dir/x.pdf"));
        prompts->answerFile = bad;
        f.Dispatch("cmnuPrintSetup");
        f.Dispatch("cmnuPrint");
        QCOMPARE(prompts->errors.size(), 2);
        QCOMPARE(prompts->errors[1], QStringLiteral("Error 1006|The document could not be printed: ") + bad);

        // The printer chosen in the set-up is the one Print uses, without a dialog.
        const QString out = fx.path(QStringLiteral("chosen.pdf"));
        prompts->answerFile = out;
        f.Dispatch("cmnuPrintSetup");
        f.Dispatch("cmnuPrint");
        QCOMPARE(prompts->setups, 3);
        QCOMPARE(prompts->errors.size(), 2);
        QVERIFY(FrameFixture::read(out).startsWith("%PDF-"));
    }
};

QTEST_MAIN(TestHelpPrint)
#include "tst_helpprint.moc"
