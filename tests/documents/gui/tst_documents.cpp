// The frame's documents: slots, opening, saving, closing and the data-safety
// rules, driven through the frame with scripted dialogs.

#include "app/profile.h"
#include "documents/fileio.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/filefaults.h"
#include "support/guitest.h"

#include <QDirIterator>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>

#include <cerrno>

using namespace varkel;
using namespace varkel::test;

namespace {
QByteArray everyByte()
{
    QByteArray b;
    for (int round = 0; round < 3; ++round)
        for (int c = 0; c < 256; ++c)
            b.append(static_cast<char>(c));
    b.append("bind mouse1 \"+attack\"\r\nbind w +forward\nbind s +back\rlast line without end");
    return b;
}

QByteArray editorBytes(fMain &f, int d)
{
    const std::string_view v = f.documents().Editor(d)->rtfEdit->TextView();
    return QByteArray(v.data(), static_cast<qsizetype>(v.size()));
}
} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void slotsAreNeverReused()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QCOMPARE(f.documents().NewConfig(), 1);
        QCOMPARE(f.documents().NewConfig(), 2);
        QCOMPARE(QString::fromStdString(f.documents().Docs()[2].Path), QStringLiteral("Untitled 2"));
        f.documents().UnloadDocument(1);
        f.documents().UnloadDocument(2);
        QCOMPARE(f.documents().NewConfig(), 3);
        QCOMPARE(QString::fromStdString(f.documents().Docs()[3].Path), QStringLiteral("Untitled 3"));
        QVERIFY(f.documents().Docs()[1].Closed && f.documents().Docs()[2].Closed && !f.documents().Docs()[3].Closed);
    }

    void openSaveUnchangedIsByteIdentical()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QStringList files;
        files << fx.write("bytes.cfg", everyByte());
        files << fx.write("empty.cfg", QByteArray());
        files << fx.write("cr-only.cfg", QByteArray("a\rb\r\r"));
        QDirIterator it(QStringLiteral(VARKEL_SHARED_DIR "/corpus"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        for (const QString &file : files) {
            const QByteArray original = FrameFixture::read(file);
            const QString copy = fx.path("copy.cfg");
            QFile::remove(copy);
            QFile::copy(file, copy);
            QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            f.documents().OpenConfig(copy);
            const int d = f.documents().ActiveDoc();
            QVERIFY2(d > 0 && !f.documents().Docs()[d].Modified, qPrintable(file));
            QCOMPARE(editorBytes(f, d), original);
            QVERIFY(f.documents().SaveConfig(d, copy));
            QVERIFY2(FrameFixture::read(copy) == original, qPrintable(file));
            f.documents().UnloadDocument(d);
        }
    }

    void editingUsesTheLineEndAndRevertReloads()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString file = fx.write("lf.cfg", "one\ntwo\n");
        f.documents().OpenConfig(file);
        const int d = f.documents().ActiveDoc();
        RichEdit *e = f.documents().ActiveEditor();
        QVERIFY(!f.documents().Docs()[d].Modified && !f.commands().Menu()->IsEnabled("cmnuSave"));
        // Enter inserts the document's own line end.
        e->SetSelStart(3);
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(editorBytes(f, d), QByteArray("one\n\ntwo\n"));
        QVERIFY(f.documents().Docs()[d].Modified && f.commands().Menu()->IsEnabled("cmnuSave") && f.commands().Menu()->IsEnabled("cmnuRevert"));
        // Opening the same path again only brings its window to the front.
        const int count = f.documents().Docs().DocCount();
        f.documents().OpenConfig(file);
        QCOMPARE(f.documents().Docs().DocCount(), count);
        // The changes are not saved yet: the caption says so.
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + file + "] *");
        // Revert asks first.
        fx.prompts->askAnswers.push_back(QMessageBox::No);
        f.Dispatch("cmnuRevert");
        QCOMPARE(editorBytes(f, d), QByteArray("one\n\ntwo\n"));
        fx.prompts->askAnswers.push_back(QMessageBox::Yes);
        f.Dispatch("cmnuRevert");
        QCOMPARE(fx.prompts->asked.last(), QStringLiteral("Reload file and discard changes?"));
        QCOMPARE(editorBytes(f, d), QByteArray("one\ntwo\n"));
        QVERIFY(!f.documents().Docs()[d].Modified);
        // A new document uses CR LF.
        f.documents().NewConfig();
        QTest::keyClicks(f.documents().ActiveEditor(), "x");
        QTest::keyClick(f.documents().ActiveEditor(), Qt::Key_Return);
        QCOMPARE(editorBytes(f, f.documents().ActiveDoc()), QByteArray("x\r\n"));
    }

    void unreadableFileIsReportedAndDropped()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString good = fx.write("good.cfg", "x");
        f.documents().OpenConfig(good);
        QCOMPARE(QString::fromStdString(f.commands().RecentFiles()[0]), good);
        f.documents().UnloadDocument(f.documents().ActiveDoc());
        QFile::remove(good);
        f.documents().OpenConfig(good);
        QCOMPARE(fx.prompts->criticals, QStringList{QStringLiteral("Unable to Open ") + good});
        QVERIFY(!f.documents().Docs().AnyOpen());
        QVERIFY(f.commands().RecentFiles()[0].empty());
        f.documents().OpenConfig(fx.dir.path()); // a folder
        QCOMPARE(fx.prompts->criticals.size(), 2);
        QVERIFY(!f.documents().Docs().AnyOpen());
    }

    void failedSaveKeepsOriginalAndModifiedState()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString file = fx.write("keep.cfg", "original\r\n");
        f.documents().OpenConfig(file);
        const int d = f.documents().ActiveDoc();
        QTest::keyClicks(f.documents().ActiveEditor(), "changed ");
        // A failure at each step of the save, also of a rewrite in place.
        const std::vector<std::pair<FileStep, int>> failures = {
            {FileStep::Chmod, EACCES}, {FileStep::Write, ENOSPC}, {FileStep::Flush, EIO},
            {FileStep::Rename, EIO},   {FileStep::InPlaceWrite, EDQUOT}};
        for (const auto &[step, err] : failures) {
            FileFaults faults;
            faults.always(FileStep::CreateTemp, step == FileStep::InPlaceWrite ? EACCES : 0);
            faults.always(step, err);
            QVERIFY(!f.documents().SaveConfig(d, file));
        }
        QCOMPARE(fx.prompts->criticals,
                 QStringList(static_cast<qsizetype>(failures.size()), QStringLiteral("Unable to Save ") + file));
        QCOMPARE(FrameFixture::read(file), QByteArray("original\r\n"));
        QVERIFY(f.documents().Docs()[d].Modified);
        QVERIFY(f.documents().SaveConfig(d, file));
        QCOMPARE(FrameFixture::read(file), QByteArray("changed original\r\n"));
        QVERIFY(!f.documents().Docs()[d].Modified);
    }

    void saveUntitledGoesThroughSaveAs()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().NewConfig();
        const int d = f.documents().NewConfig();
        QTest::keyClicks(f.documents().ActiveEditor(), "bind q quit");
        fx.prompts->saveAnswers.push_back(QString()); // cancelled
        f.Dispatch("cmnuSave");
        // Nothing opened or saved yet: offered in the home folder.
        QCOMPARE(fx.prompts->lastSaveProposed, QDir::homePath() + QStringLiteral("/Untitled 2"));
        QVERIFY(f.documents().Docs()[d].Modified);
        const QString target = fx.path("saved.cfg");
        fx.prompts->saveAnswers.push_back(target);
        f.Dispatch("cmnuSave");
        QCOMPARE(FrameFixture::read(target), QByteArray("bind q quit"));
        QCOMPARE(QString::fromStdString(f.documents().Docs()[d].Path), target);
        QCOMPARE(f.windowTitle(), QStringLiteral("Varkel [") + target + "]");
        QCOMPARE(QString::fromStdString(f.commands().RecentFiles()[0]), target);
    }

    void closeQueryAnswers()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        const QString file = fx.write("q.cfg", "abc");
        f.documents().OpenConfig(file);
        const int d = f.documents().ActiveDoc();
        QTest::keyClicks(f.documents().ActiveEditor(), "X");

        fx.prompts->askAnswers.push_back(QMessageBox::Cancel);
        QVERIFY(!f.documents().QueryCloseDocument(d));
        QCOMPARE(fx.prompts->asked.last(), QStringLiteral("Save changes to ") + file + "?");

        // Cancel during shutdown keeps the program running and the script open.
        fx.prompts->askAnswers.push_back(QMessageBox::Cancel);
        QVERIFY(!f.close());
        QVERIFY(!f.documents().Docs()[d].Closed);

        fx.prompts->askAnswers.push_back(QMessageBox::Yes);
        f.Dispatch("cmnuClose");
        QCoreApplication::processEvents();
        QVERIFY(f.documents().Docs()[d].Closed);
        QCOMPARE(FrameFixture::read(file), QByteArray("Xabc"));

        f.documents().OpenConfig(file);
        QTest::keyClicks(f.documents().ActiveEditor(), "Y");
        fx.prompts->askAnswers.push_back(QMessageBox::No);
        QVERIFY(f.close());
        QCOMPARE(FrameFixture::read(file), QByteArray("Xabc"));
    }

    void caretPanelsAndEditStates()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        QVERIFY(!f.commands().Menu()->IsEnabled("cmnuCut"));
        QVERIFY(!f.commands().ToolButton("tbSave")->isEnabled());
        f.documents().OpenConfig(fx.write("three.cfg", "ab\r\ncd\r\nef"));
        const auto panels = [&] { return QStringList{f.commands().StatusPanelText(2), f.commands().StatusPanelText(3), f.commands().StatusPanelText(4)}; };
        QCOMPARE(panels(), (QStringList{"Line: 1 of 3", "Col: 0", "Char: 0"}));
        RichEdit *e = f.documents().ActiveEditor();
        QTest::keyClick(e, Qt::Key_Down);
        QTest::keyClick(e, Qt::Key_Right);
        QCOMPARE(panels(), (QStringList{"Line: 2 of 3", "Col: 1", "Char: 5"}));
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuFind") && !f.commands().Menu()->IsEnabled("cmnuFindNext"));
        e->SetSel(0, 2);
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuCut") && f.commands().ToolButton("tbCopy")->isEnabled());
        QVERIFY(f.commands().Menu()->IsEnabled("cmnuFindNext"));
        // Word wrap belongs to the active document alone.
        const int other = f.documents().NewConfig();
        f.Dispatch("cmnuWordWrap");
        QVERIFY(f.documents().Docs()[other].WordWrap && !f.documents().Docs()[other - 1].WordWrap);
        QVERIFY(f.commands().ToolButton("tbWordWrap")->isChecked() && f.commands().Menu()->IsChecked("cmnuWordWrap"));
    }

    void clipboardKeepsEightBitBytes()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("hi.cfg", QByteArray("say \xE9\xFF\x80 end")));
        RichEdit *e = f.documents().ActiveEditor();
        e->SetSel(4, 3);
        f.Dispatch("cmnuCut");
        QCOMPARE(editorBytes(f, f.documents().ActiveDoc()), QByteArray("say  end"));
        e->SetSelStart(0);
        f.Dispatch("cmnuPaste");
        QCOMPARE(editorBytes(f, f.documents().ActiveDoc()), QByteArray("\xE9\xFF\x80say  end"));
        f.Dispatch("cmnuUndo");
        QCOMPARE(editorBytes(f, f.documents().ActiveDoc()), QByteArray("say  end"));
    }

    void droppedFilesAreOpenedNotInserted()
    {
        FrameFixture fx;
        fMain &f = *fx.frame;
        f.documents().OpenConfig(fx.write("target.cfg", "bind x y\r\n"));
        RichEdit *e = f.documents().ActiveEditor();
        const QString one = fx.write("one.cfg", "1"), two = fx.write("two.cfg", "2");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(one), QUrl::fromLocalFile(two)});
        const QPoint at(10, 5);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e->viewport(), &drop);
        QCOMPARE(editorBytes(f, 1), QByteArray("bind x y\r\n"));
        QCOMPARE(f.documents().Docs().DocCount(), 3);
        QCOMPARE(QString::fromStdString(f.documents().Docs()[2].Path), one);
        QCOMPARE(QString::fromStdString(f.documents().Docs()[3].Path), two);
    }

    void destroyedFrameIsNotCalledByItsDocuments()
    {
        // Deleting a shown frame takes the focus from its editor while the
        // frame is half destroyed; the editor's focus handler must not run
        // (it would set the insertion target).
        auto fx = std::make_unique<FrameFixture>();
        fx->frame->documents().NewConfig();
        RichEdit *e = fx->frame->documents().ActiveEditor();
        e->setFocus();
        QTRY_VERIFY(e->hasFocus());
        mGlobal::InsertTarget = "BINDINGBOX";
        fx.reset();
        QCOMPARE(mGlobal::InsertTarget, std::string("BINDINGBOX"));
        mGlobal::InsertTarget = "EDITBOX";
    }

    void windowPlacementIsRemembered()
    {
        QTemporaryDir dir;
        mGlobal::IniPath = dir.filePath("Varkel.ini").toStdString();
        const auto load = [](fMain &f) {
            f.SetPrompts(std::make_unique<ScriptedPrompts>());
            f.MDIForm_Load(QString());
        };
        {
            fMain f;
            load(f);
            f.show();
            f.move(20, 10);
            f.resize(640, 500);
            QVERIFY(f.close());
        }
        fMain g;
        load(g);
        // The frame is never narrower than its default width.
        QCOMPARE(g.size(), QSize(qMax(640, qRound(12495 / g.TwipsPerPixel())), 500));
        QCOMPARE(GetProfileInt("General", "WindowState", -1, mGlobal::IniPath), 0);
    }
};

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
