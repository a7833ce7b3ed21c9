// The editor's everyday conveniences in a whole frame: going to a line,
// zooming the text, the modified mark in the caption and on the tabs, where
// Save As starts and the extension it adds, where new windows are placed,
// and the line-number margin.

#include "app/profile.h"
#include "dialogs/gui/foptions.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QAccessible>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

using namespace varkel;
using namespace varkel::test;

namespace {

int caretLine(RichEdit *e) { return e->GetLineFromChar(e->SelStart()); }

int zoomOf(RichEdit *e) { return static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_GETZOOM)); }

QString activeTabText(fMain &f)
{
    auto *tabs = f.findChild<QTabBar *>(QStringLiteral("tabOpenFiles"));
    return tabs->tabText(tabs->currentIndex());
}

std::string iniValue(const char *section, const char *key)
{
    return GetProfileString(section, key, "<missing>", mGlobal::IniPath);
}

} // namespace

class TestEditorBasics : public QObject {
    Q_OBJECT

private slots:
    // The control's own text interface counts characters from the start of
    // the script on every caret move: it is only made while an assistive
    // technology listens, and one that starts later gets it all the same.
    void theTextInterfaceOnlyWhileAssistiveTechnologyListens()
    {
        RichEdit editor;
        editor.SetText("bind x +attack");
        QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(&editor);
        QVERIFY(plain && plain->role() == QAccessible::EditableText);
        QVERIFY(!plain->textInterface());

        QAccessible::setActive(true);
        QAccessibleInterface *full = QAccessible::queryAccessibleInterface(&editor);
        QVERIFY(full && full->textInterface());
        QCOMPARE(full->textInterface()->characterCount(), 14);
        QAccessible::setActive(false);
    }

    void init()
    {
        mGlobal::ShowLineNumbers = true;
    }

    void goToLineMovesTheCaretWithinTheScript()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("five.cfg", "one\r\ntwo\r\nthree\r\nfour\r\nfive"));
        RichEdit *e = f.documents().ActiveEditor();

        fx.prompts->inputAnswers = {QStringLiteral("3")};
        f.Dispatch("cmnuGoToLine");
        QCOMPARE(caretLine(e), 2);
        QCOMPARE(e->SelStart(), 10L); // start of the line, nothing selected
        QCOMPARE(e->SelLength(), 0L);

        // Past either end: the last or the first line.
        fx.prompts->inputAnswers = {QStringLiteral(" 99 ")};
        f.Dispatch("cmnuGoToLine");
        QCOMPARE(caretLine(e), 4);
        fx.prompts->inputAnswers = {QStringLiteral("-4")};
        f.Dispatch("cmnuGoToLine");
        QCOMPARE(caretLine(e), 0);

        // Text that is no number, or a cancelled box, leaves the caret alone.
        fx.prompts->inputAnswers = {QStringLiteral("2")};
        f.Dispatch("cmnuGoToLine");
        fx.prompts->inputAnswers = {QStringLiteral("two")};
        f.Dispatch("cmnuGoToLine");
        f.Dispatch("cmnuGoToLine"); // no answer left: cancelled
        QCOMPARE(caretLine(e), 1);

        // Ctrl+G in the editor runs it too.
        fx.prompts->inputAnswers = {QStringLiteral("5")};
        QTest::keyClick(e, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(caretLine(e), 4);
        QCOMPARE(e->Text(), std::string("one\r\ntwo\r\nthree\r\nfour\r\nfive"));
    }

    void zoomChangesEveryEditorButNotTheFontSetting()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const int size = mGlobal::FontSize;
        const std::string stored = iniValue("Font", "FontSize");
        RichEdit *first = f.documents().ActiveEditor();
        if (!first) {
            f.documents().NewConfig();
            first = f.documents().ActiveEditor();
        }
        const int narrow = first->LineNumberWidth();

        f.Dispatch("cmnuZoomIn");
        // Ctrl++ as typed on a keyboard where "+" needs Shift.
        QTest::keyClick(first, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(zoomOf(first), 2);
        // The line numbers grow with the text.
        QVERIFY(first->LineNumberWidth() > narrow);

        // A window opened now shows at the same zoom.
        f.documents().NewConfig();
        RichEdit *second = f.documents().ActiveEditor();
        QVERIFY(second != first);
        QCOMPARE(zoomOf(second), 2);

        QTest::keyClick(second, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(zoomOf(first), 1);
        QCOMPARE(zoomOf(second), 1);

        // Ctrl with the wheel, a notch at a time.
        QWidget *view = second->viewport();
        const QPoint at = view->rect().center();
        QWheelEvent up(at, view->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::ControlModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &up);
        QCOMPARE(zoomOf(second), 3);
        QCOMPARE(zoomOf(first), 3);

        // The font setting never moved.
        QCOMPARE(mGlobal::FontSize, size);
        QCOMPARE(iniValue("Font", "FontSize"), stored);
        QCOMPARE(second->SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, QsciScintillaBase::STYLE_DEFAULT),
                 long(size));

        QTest::keyClick(second, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(zoomOf(first), 0);
        QCOMPARE(zoomOf(second), 0);
        QCOMPARE(first->LineNumberWidth(), narrow);
    }

    void captionAndTabMarkUnsavedChanges()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString file = fx.write("mark.cfg", "bind x quit\r\n");
        f.documents().OpenConfig(file);
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + file + "]");
        QCOMPARE(activeTabText(f), QStringLiteral("mark.cfg"));

        QTest::keyClicks(f.documents().ActiveEditor(), "// ");
        QCoreApplication::processEvents();
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + file + "] *");
        QCOMPARE(activeTabText(f), QStringLiteral("mark.cfg *"));

        // Another document shows its own state; coming back shows the mark.
        const int other = f.documents().NewConfig();
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [Untitled %1]").arg(other));
        f.documents().ActivateDocument(f.documents().Docs().FindOpenPath(file.toStdString()));
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + file + "] *");

        f.Dispatch("cmnuSave");
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + file + "]");
        QCOMPARE(activeTabText(f), QStringLiteral("mark.cfg"));
        QCOMPARE(FrameFixture::read(file), QByteArray("// bind x quit\r\n"));
    }

    void saveAsStartsInAUsersFolderAndAddsCfg()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));

        // Nothing opened or saved yet: the home folder, not the program's.
        int d = f.documents().NewConfig();
        fx.prompts->saveAnswers = {QString()};
        f.Dispatch("cmnuSaveAs");
        QCOMPARE(fx.prompts->lastSaveProposed, home.path() + QStringLiteral("/Untitled %1").arg(d));

        // A name typed without an extension under the Quake Config filter
        // is saved as a .cfg file, and its folder is the last one used.
        QDir().mkpath(fx.path("scripts"));
        fx.prompts->saveAnswers = {fx.path("scripts/mine")};
        fx.prompts->saveFilters = {QStringLiteral("Quake Config(*.cfg *.rc)")};
        f.Dispatch("cmnuSaveAs");
        QVERIFY(QFile::exists(fx.path("scripts/mine.cfg")));
        QVERIFY(!QFile::exists(fx.path("scripts/mine")));
        QCOMPARE(QString::fromStdString(f.documents().Docs()[d].Path), fx.path("scripts/mine.cfg"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + fx.path("scripts/mine.cfg") + "]");

        // A document with a file starts in its own folder.
        fx.prompts->saveAnswers = {QString()};
        f.Dispatch("cmnuSaveAs");
        QCOMPARE(fx.prompts->lastSaveProposed, fx.path("scripts/mine.cfg"));

        // A new document starts in the folder last used; another filter,
        // or a name with an extension, keeps the name as typed.
        d = f.documents().NewConfig();
        fx.prompts->saveAnswers = {fx.path("notes")};
        fx.prompts->saveFilters = {QStringLiteral("Text Files (*.txt)")};
        f.Dispatch("cmnuSaveAs");
        QCOMPARE(fx.prompts->lastSaveProposed, fx.path("scripts/Untitled %1").arg(d));
        QVERIFY(QFile::exists(fx.path("notes")));
        d = f.documents().NewConfig();
        fx.prompts->saveAnswers = {fx.path("server.rc")};
        fx.prompts->saveFilters = {QStringLiteral("Quake Config(*.cfg *.rc)")};
        f.Dispatch("cmnuSaveAs");
        QVERIFY(QFile::exists(fx.path("server.rc")));
        qputenv("HOME", oldHome);
    }

    void windowsAddedToAFullAreaStayInside()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.resize(640, 420);
        QCoreApplication::processEvents();
        auto *mdi = f.findChild<QMdiArea *>(QStringLiteral("mdiArea"));
        for (int i = 0; i < 12; ++i)
            f.documents().NewConfig();
        const QRect area = mdi->viewport()->rect();
        QList<QMdiSubWindow *> windows = mdi->subWindowList(QMdiArea::CreationOrder);
        QVERIFY(windows.size() >= 12);
        for (QMdiSubWindow *sub : windows)
            QVERIFY2(area.contains(sub->geometry()), qPrintable(sub->windowTitle()));
        // After the first, which fills the area, they step on from the top
        // left corner.
        QCOMPARE(windows[1]->pos(), QPoint(0, 0));
        QVERIFY(windows[2]->pos().x() > 0 && windows[3]->pos().x() > windows[2]->pos().x());
        QVERIFY(windows[1]->width() < area.width());
    }

    void lineNumbersAreAnOptionStoredInTheSettings()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("n.cfg", "bind x quit\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        QVERIFY(e->LineNumbers() && e->LineNumberWidth() > 0);
        // The caret's line is shown, in a colour near the background.
        const QColor line = e->CurrentLineColor();
        QVERIFY(line != QColor(Qt::white));
        QVERIFY(line.lightness() > 200);

        // Options, Misc: the box turns them off in every editor and stores it.
        test::onModal<fOptions>([](fOptions *dialog) {
            QVERIFY(dialog);
            QVERIFY(dialog->chkLineNumbers->isChecked());
            dialog->chkLineNumbers->click();
            dialog->cmdOK[0]->click();
        });
        f.Dispatch("cmnuOptions");
        QVERIFY(!mGlobal::ShowLineNumbers);
        QCOMPARE(iniValue("General", "ShowLineNumbers"), std::string("False"));
        QCOMPARE(e->LineNumberWidth(), 0);
        f.documents().NewConfig();
        QCOMPARE(f.documents().ActiveEditor()->LineNumberWidth(), 0);
    }
};

QTEST_MAIN(TestEditorBasics)
#include "tst_editorbasics.moc"
