// Colouring after an edit (Undo, Redo, Cut, Delete, Paste): only the changed
// lines are coloured again, and the styles are those a whole pass gives.

#include "documents/gui/richedit.h"
#include "language/syntaxhilite.h"
#include "support/corpus.h"
#include "support/guitest.h"

#include <QClipboard>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace varkel;
using namespace varkel::test;

namespace {

constexpr int kMarked = 30; // a style no pass paints

QByteArray stylesOf(RichEdit *e)
{
    const long n = e->TextLength();
    std::string styled(static_cast<size_t>(2 * n + 2), '\0');
    e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEDTEXT, 0L, n, styled.data());
    QByteArray styles;
    for (long i = 0; i < n; ++i)
        styles += styled[static_cast<size_t>(2 * i + 1)];
    return styles;
}

// Every seventh corpus script, so that the test stays quick on a small
// machine and under the address sanitizer.
std::vector<std::filesystem::path> sampleScripts()
{
    const std::vector<std::filesystem::path> all = test::CorpusScripts();
    std::vector<std::filesystem::path> sample;
    for (size_t i = 3; i < all.size(); i += 7)
        sample.push_back(all[i]);
    return sample;
}

// The shipped data beside the build and settings of the test's own.
void useSettingsIn(const QTemporaryDir &dir)
{
    mGlobal::AppDir = QString(VARKEL_BINARY_DIR).toStdString();
    mGlobal::IniPath = dir.filePath("Varkel.ini").toStdString();
}
} // namespace

class TestEditColouring : public QObject {
    Q_OBJECT
private slots:
    void editColoursOnlyTheChangedLines()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.colouring().SetAutoSyntax(1, false);
        f.documents().OpenConfig(fx.write("a.cfg", "bind mouse1 \"+attack\"\r\nalias x \"fov 90\"\r\nfov 90\r\nbind q \"quit\"\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        const long last = e->LineIndex(3);
        e->StyleRange(last, 11, kMarked);

        // Paste on the first line: the pasted text is coloured, the last line
        // keeps the mark.
        QApplication::clipboard()->setText(QStringLiteral("sensitivity 3.5 "));
        e->SetSelStart(0);
        f.documents().EditPaste();
        QCOMPARE(e->StyleAt(0), int(Cvar));
        QCOMPARE(e->StyleAt(12), int(Number));
        QCOMPARE(e->StyleAt(16), int(Command));
        QCOMPARE(e->StyleAt(last + 16), kMarked);
        // Undo and Cut too.
        f.documents().EditUndo();
        QCOMPARE(e->StyleAt(0), int(Command));
        QCOMPARE(e->StyleAt(last), kMarked);
        e->SetSel(e->LineIndex(1), e->LineIndex(2) - e->LineIndex(1));
        f.documents().EditCut();
        QCOMPARE(e->StyleAt(e->LineIndex(2)), kMarked);

        // A quote left open makes a string run into the next line: every
        // line may change, so the whole text is coloured again.
        e->SetSelStart(e->LineIndex(1));
        QApplication::clipboard()->setText(QStringLiteral("echo \""));
        f.documents().EditPaste();
        QCOMPARE(e->StyleAt(e->LineIndex(2)), int(String));
    }

    // After many random edits, undos and redos of corpus scripts, colouring
    // the changed lines leaves the same styles as a whole pass, for every
    // command set, with and without the words of strings coloured.
    void changedLinesGiveTheStylesOfAWholePass()
    {
        const auto scripts = sampleScripts();
        if (scripts.empty())
            QSKIP("the corpus is not there");
        QTemporaryDir dir;
        useSettingsIn(dir);
        Colouring colouring(nullptr);
        RichEdit edited;
        RichEdit whole;
        int lineLocal = 0;
        int edits = 0;
        const bool colorStringsBefore = mGlobal::ColorStringElements;
        for (const char *set : {"Q1", "Q2", "Q3"}) {
            colouring.BuildDictionary(set);
            for (bool colorStrings : {false, true}) {
                mGlobal::ColorStringElements = colorStrings;
                std::mt19937 rng(static_cast<unsigned>(set[1]) * 2 + colorStrings);
                for (const auto &path : scripts) {
                    const std::string text = test::FileBytes(path);
                    edited.SetText(text);
                    whole.SetText(text);
                    colouring.SyntaxHiLiteAll(&edited);
                    colouring.SyntaxHiLiteAll(&whole);
                    QCOMPARE(stylesOf(&edited), stylesOf(&whole));
                    for (int step = 0; step < 120; ++step) {
                        const long len = whole.TextLength();
                        const unsigned kind = rng() % 10;
                        if (kind < 2 && whole.CanUndo()) {
                            edited.EditUndo();
                            whole.EditUndo();
                        } else if (kind < 3 && whole.CanRedo()) {
                            edited.EditRedo();
                            whole.EditRedo();
                        } else if (kind < 8) {
                            // A whole line of the script pasted at a line
                            // start, or a whole line cut.
                            const long line = whole.LineIndex(static_cast<int>(rng() % static_cast<unsigned>(whole.LineCount())));
                            std::string piece;
                            long cut = 0;
                            if (kind < 6 && !text.empty()) {
                                const size_t from = text.rfind('\n', rng() % text.size());
                                const size_t start = from == std::string::npos ? 0 : from + 1;
                                const size_t end = text.find('\n', start);
                                piece = text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
                            } else {
                                cut = whole.LineIndex(whole.GetLineFromChar(line) + 1) - line;
                                if (cut <= 0)
                                    cut = len - line;
                            }
                            for (RichEdit *e : {&edited, &whole}) {
                                e->SetSel(line, cut);
                                e->SetSelText(piece);
                            }
                        } else {
                            // Replace a few bytes with a piece of the script
                            // or a character that matters to the scan.
                            static const char *const kPieces[] = {"\"", "//", "\r\n", "\n", " ", "\r", "bind ", "1.5", ";"};
                            const long at = len ? static_cast<long>(rng() % static_cast<unsigned>(len + 1)) : 0;
                            const long cut = std::min<long>(len - at, static_cast<long>(rng() % 12));
                            std::string piece;
                            if (rng() % 2 == 0) {
                                piece = kPieces[rng() % std::size(kPieces)];
                            } else if (!text.empty()) {
                                const size_t from = rng() % text.size();
                                piece = text.substr(from, rng() % 12);
                            }
                            for (RichEdit *e : {&edited, &whole}) {
                                e->SetSel(at, cut);
                                e->SetSelText(piece);
                            }
                        }
                        bool local = true;
                        (void)hiLiteStyles(whole.TextView(), 0, colouring.Dictionary(), colorStrings, '\0', &local);
                        lineLocal += local;
                        ++edits;
                        colouring.SyntaxHiLiteEdited(&edited);
                        colouring.SyntaxHiLiteAll(&whole);
                        if (stylesOf(&edited) != stylesOf(&whole))
                            QFAIL(qPrintable(QStringLiteral("%1 with %2, step %3: styles differ")
                                                 .arg(QString::fromStdString(path.filename().string()),
                                                      QString::fromLatin1(set))
                                                 .arg(step)));
                    }
                }
            }
        }
        mGlobal::ColorStringElements = colorStringsBefore;
        // Most steps must have been coloured line by line for the comparison
        // to mean anything.
        QVERIFY2(lineLocal * 3 > edits, qPrintable(QStringLiteral("%1 of %2").arg(lineLocal).arg(edits)));
    }

    // A script just read is coloured a piece at a time in idle time: once
    // the pass ends, the styles are those of a whole pass, also when a
    // string runs across lines (the rest is then coloured at once); an edit
    // before the pass ends first lets it colour the rest of the text as it
    // was; and an edit after it colours the changed lines as after a whole
    // pass.
    void idlePassGivesTheStylesOfAWholePass()
    {
        const auto scripts = sampleScripts();
        if (scripts.empty())
            QSKIP("the corpus is not there");
        QTemporaryDir dir;
        useSettingsIn(dir);
        std::string joined;
        for (const auto &path : scripts)
            joined += test::FileBytes(path) + "\r\n";
        std::string open = joined;
        // A string left open runs on over more than a piece.
        std::string runsOn = "echo \"runs on\r\n";
        for (int i = 0; i < 400; ++i)
            runsOn += "fov 90; sensitivity 2.5\r\n";
        open.insert(open.find('\n', open.size() / 3) + 1, runsOn);
        const size_t pieceBefore = Colouring::s_idlePieceSize;
        const bool colorStringsBefore = mGlobal::ColorStringElements;
        Colouring::s_idlePieceSize = 1024;
        Colouring colouring(nullptr);
        colouring.BuildDictionary("Q3");
        RichEdit soon;
        RichEdit whole;
        const auto finish = [&] {
            for (int slice = 0; slice < 100000 && colouring.HiLitePending(&soon); ++slice)
                QCoreApplication::processEvents();
            QVERIFY(!colouring.HiLitePending(&soon));
        };
        for (const std::string &text : {joined, open}) {
            for (bool colorStrings : {false, true}) {
                mGlobal::ColorStringElements = colorStrings;
                soon.SetText(text);
                whole.SetText(text);
                colouring.SyntaxHiLiteAllSoon(&soon);
                QVERIFY(colouring.HiLitePending(&soon));
                finish();
                colouring.SyntaxHiLiteAll(&whole);
                QCOMPARE(stylesOf(&soon), stylesOf(&whole));
                // The changed line alone after the pass.
                for (RichEdit *e : {&soon, &whole}) {
                    e->SetSel(e->LineIndex(e->LineCount() / 2), 0);
                    e->SetSelText("bind x \"+attack\"\r\n");
                }
                colouring.SyntaxHiLiteEdited(&soon);
                colouring.SyntaxHiLiteAll(&whole);
                QCOMPARE(stylesOf(&soon), stylesOf(&whole));

                // A change behind and one ahead of the pass while it goes
                // on: as if the open had coloured everything at once.
                soon.SetText(text);
                whole.SetText(text);
                colouring.SyntaxHiLiteAllSoon(&soon);
                colouring.SyntaxHiLiteAll(&whole);
                QCoreApplication::processEvents();
                QVERIFY(colouring.HiLitePending(&soon));
                for (RichEdit *e : {&soon, &whole}) {
                    e->SetSel(e->LineIndex(1), 0);
                    e->SetSelText("fov 1.5 // wide\r\n");
                    e->SetSel(e->LineIndex(e->LineCount() - 3), 0);
                    e->SetSelText("alias +z \"fov 90\"\n");
                    colouring.SyntaxHiLiteEdited(e);
                }
                QVERIFY(!colouring.HiLitePending(&soon));
                QCOMPARE(stylesOf(&soon), stylesOf(&whole));
            }
        }

        // An edit before the pass ends that leaves a string open to the
        // end of the text: the pass stops there, and what follows keeps the
        // styles the open gave it.
        {
            std::string quoted;
            for (int i = 0; i < 200; ++i)
                quoted += "bind x \"+attack\"\r\n";
            quoted += "bind y +jump\r\n";
            soon.SetText(quoted);
            whole.SetText(quoted);
            colouring.SyntaxHiLiteAllSoon(&soon);
            colouring.SyntaxHiLiteAll(&whole);
            QVERIFY(colouring.HiLitePending(&soon));
            for (RichEdit *e : {&soon, &whole}) {
                e->SetSel(e->LineIndex(e->LineCount() - 3), 0);
                e->SetSelText("echo \"open\r\n");
                colouring.SyntaxHiLiteEdited(e);
            }
            QVERIFY(!colouring.HiLitePending(&soon));
            QCOMPARE(stylesOf(&soon), stylesOf(&whole));
            QVERIFY(stylesOf(&soon).right(8).count('\0') < 8);
        }

        // The frame colours a script it opens this way.
        {
            FrameFixture fx;
            fMain &f = *fx.frame;
            f.colouring().SetAutoSyntax(1, false);
            f.documents().OpenConfig(fx.write("big.cfg", QByteArray::fromStdString(open)));
            RichEdit *e = f.documents().ActiveEditor();
            QVERIFY(f.colouring().HiLitePending(e));
            for (int slice = 0; slice < 100000 && f.colouring().HiLitePending(e); ++slice)
                QCoreApplication::processEvents();
            QVERIFY(!f.colouring().HiLitePending(e));
            const QByteArray idle = stylesOf(e);
            f.colouring().SyntaxHiLiteAll(e);
            QCOMPARE(idle, stylesOf(e));
        }
        Colouring::s_idlePieceSize = pieceBefore;
        mGlobal::ColorStringElements = colorStringsBefore;
    }
};

QTEST_MAIN(TestEditColouring)
#include "tst_editcolouring.moc"
