// Colouring in the editor: when it runs, what it leaves alone, the
// command-set switch and comment blocks.

#include "app/profile.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"
#include "support/guitest.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QToolButton>

using namespace varkel;
using namespace varkel::test;

namespace {
QByteArray bytesOf(RichEdit *e)
{
    const auto v = e->TextView();
    return QByteArray(v.data(), static_cast<qsizetype>(v.size()));
}

QPoint pointOfLine(RichEdit *e, int line)
{
    const long pos = e->LineIndex(line);
    const int x = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos));
    const int y = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos));
    return {x + 2, y + 4};
}
} // namespace

class TestColouring : public QObject {
    Q_OBJECT
private slots:
    void openingColoursWithoutMarkingModified()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("a.cfg", "bind mouse1 \"+attack\" // fire\r\nsensitivity 3.5\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        QCOMPARE(e->StyleAt(0), int(Command));       // bind
        QCOMPARE(e->StyleAt(5), int(KeyName));       // mouse1
        QCOMPARE(e->StyleAt(12), int(String));       // "+attack"
        QCOMPARE(e->StyleAt(22), int(Comment));      // // fire
        QCOMPARE(e->StyleAt(31), int(Cvar));         // sensitivity
        QCOMPARE(e->StyleAt(43), int(Number));       // 3.5
        QVERIFY(!f.documents().Docs()[f.documents().ActiveDoc()].Modified);
        QCOMPARE(f.commands().StatusPanelText(1), QStringLiteral("Ready"));

        // A refresh keeps the modified state and the caret, and collapses a
        // selection to its start; nothing of it can be undone.
        QTest::keyClicks(e, "x");
        e->SetSel(5, 6);
        f.Dispatch("cmnuSyntaxRefresh");
        QVERIFY(f.documents().Docs()[f.documents().ActiveDoc()].Modified && e->SelStart() == 5 && e->SelLength() == 0);
        f.Dispatch("cmnuUndo");
        QCOMPARE(bytesOf(e).left(4), QByteArray("bind"));
    }

    // A stored family that is not installed shows as the system's
    // fixed-width font, the font dialog starts there, and only a family the
    // user picks replaces the stored name.
    void missingEditorFontFallsBackToTheFixedFont()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString fixed = QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
        const auto shownFamily = [](RichEdit *e) {
            char name[256] = {};
            e->SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, static_cast<unsigned long>(PlainText), name);
            return QString::fromUtf8(name);
        };
        mGlobal::FontName = "Varkel Missing Family";
        f.documents().NewConfig();
        RichEdit *e = f.documents().ActiveEditor();
        QCOMPARE(shownFamily(e), fixed);

        // OK with the family as the dialog showed it, at another size: the
        // stored name stays, the size changes.
        QFont same(fixed, 13);
        fx.prompts->fontAnswers.push_back(same);
        f.Dispatch("cmnuEditorFont");
        QCOMPARE(fx.prompts->lastFontInitial.family(), fixed);
        QCOMPARE(mGlobal::FontName, std::string("Varkel Missing Family"));
        QCOMPARE(QString::fromStdString(GetProfileString("Font", "Name", "", mGlobal::IniPath)),
                 QStringLiteral("Varkel Missing Family"));
        QCOMPARE(GetProfileInt("Font", "Size", 0, mGlobal::IniPath), 13);
        QCOMPARE(shownFamily(e), fixed);

        // An installed family the user picks is stored and shown, and the
        // dialog then starts at it.
        QString other;
        for (const QString &family : QFontDatabase::families())
            if (family != fixed && !QFontDatabase::isPrivateFamily(family))
                other = family;
        if (other.isEmpty())
            QSKIP("only one font family is installed");
        fx.prompts->fontAnswers.push_back(QFont(other, 11));
        f.Dispatch("cmnuEditorFont");
        QCOMPARE(QString::fromStdString(mGlobal::FontName), other);
        QCOMPARE(shownFamily(e), other);
        f.Dispatch("cmnuEditorFont"); // cancelled
        QCOMPARE(fx.prompts->lastFontInitial.family(), other);
    }

    void colouringByCharacterAndByLine()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.Dispatch("cmnuAutoSyntax_ByChar");
        QCOMPARE(GetProfileInt("General", "AutoSyntaxType", -1, mGlobal::IniPath), 1);
        QVERIFY(f.commands().Menu()->IsChecked("cmnuAutoSyntax_ByChar"));
        f.documents().NewConfig();
        RichEdit *e = f.documents().ActiveEditor();
        QTest::keyClicks(e, "bind");
        QCOMPARE(e->StyleAt(0), int(Command));

        f.Dispatch("cmnuAutoSyntax_ByLine");
        QVERIFY(!f.commands().Menu()->IsChecked("cmnuAutoSyntax_ByChar"));
        f.documents().NewConfig();
        e = f.documents().ActiveEditor();
        QTest::keyClicks(e, "exec");
        QCOMPARE(e->StyleAt(0), 0); // not yet: the caret is still on the line
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(e->StyleAt(0), int(Command));
        QTest::keyClicks(e, "echo");
        QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, "quit");
        QCOMPARE(e->StyleAt(e->LineIndex(2)), 0);
        // Clicking from the line the caret was on colours that line.
        QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, pointOfLine(e, 0));
        QCOMPARE(e->GetLineFromChar(e->SelStart()), 0);
        QCOMPARE(e->StyleAt(e->LineIndex(2)), int(Command));
    }

    void commandSetSwitchColoursOnlyTheActiveScript()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        // One set for every script: each script's own set is another test's.
        mGlobal::DetectGame = false;
        const QString text = "vstr jump\r\nseta cg_fov 110\r\n";
        f.documents().OpenConfig(fx.write("one.cfg", text.toLatin1()));
        const int one = f.documents().ActiveDoc();
        f.documents().OpenConfig(fx.write("two.cfg", text.toLatin1()));
        RichEdit *active = f.documents().ActiveEditor();
        RichEdit *other = f.documents().Editor(one)->rtfEdit;
        QCOMPARE(active->StyleAt(11), int(PlainText)); // seta is no Quake II word
        f.Dispatch("cmnuQ3");
        QCOMPARE(GetProfileString("General", "QVersion", "", mGlobal::IniPath), std::string("Q3"));
        QVERIFY(f.commands().ToolButton("tbQ3")->isChecked() && !f.commands().ToolButton("tbQ2")->isChecked());
        QVERIFY(f.commands().Menu()->IsChecked("cmnuQ3") && !f.commands().Menu()->IsChecked("cmnuQ2"));
        QCOMPARE(active->StyleAt(11), int(Command));
        QCOMPARE(other->StyleAt(11), int(PlainText));
        mGlobal::DetectGame = true;
    }

    void failedDictionaryBuildReportsAndKeepsTheStoredSet()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.colouring().BuildDictionary("Q9");
        QCOMPARE(fx.prompts->errors.size(), 1);
        QVERIFY(fx.prompts->errors.first().startsWith("Error 53|"));
        QCOMPARE(GetProfileString("General", "QVersion", "", mGlobal::IniPath), std::string("Q2"));
    }

    void commentBlockUsesTheDocumentsLineEnd()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("lf.cfg", "bind x quit\n"));
        RichEdit *e = f.documents().ActiveEditor();
        fx.prompts->inputAnswers.push_back(QString()); // cancelled
        f.Dispatch("cmnuInsertComment");
        QCOMPARE(bytesOf(e), QByteArray("bind x quit\n"));
        fx.prompts->inputAnswers.push_back("keys");
        f.Dispatch("cmnuInsertComment");
        QCOMPARE(bytesOf(e), QByteArray("//**************\n//*    KEYS    *\n//**************\nbind x quit\n"));
        QCOMPARE(e->StyleAt(0), int(Comment));
    }
};

QTEST_MAIN(TestColouring)
#include "tst_colouring.moc"
