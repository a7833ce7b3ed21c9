// The document area on its own, with stand-ins for the rest of the window:
// what a failed open or save tells its neighbours, and that the document's
// state and bytes stay as they were.

#include "app/mglobal.h"
#include "app/tempdir.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/filefaults.h"
#include "support/scriptedprompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace varkel;
using namespace varkel::test;

class TestDocumentArea : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static QByteArray readFile(const QString &path) { return QByteArray::fromStdString(readAll(path.toStdString())); }
    QString write(const QString &name, const std::string &bytes)
    {
        writeAll(m_dir.filePath(name).toStdString(), bytes);
        return m_dir.filePath(name);
    }

private slots:
    void initTestCase()
    {
        mGlobal::AppDir = m_dir.path().toStdString();
        mGlobal::IniPath = m_dir.filePath("Varkel.ini").toStdString();
    }

    void failuresKeepTheDocumentAndTellOnlyWhatHappened()
    {
        ScriptedPrompts prompts;
        QStringList told;   // what the recent list and colouring heard, in order
        QString caption;    // the frame's caption
        DocumentArea area;
        DocumentArea::Hooks hooks;
        hooks.recentFile = [&](const std::string &path, const QString &action) {
            told << action + QLatin1Char(' ') + QString::fromStdString(path);
        };
        hooks.syntaxHiLiteAll = [&](RichEdit *) { told << QStringLiteral("colour"); };
        hooks.setCaption = [&](const QString &text) { caption = text; };
        area.SetHooks(std::move(hooks));
        area.SetPrompts(&prompts);
        area.resize(400, 300);
        area.show();

        // An unreadable path: the window goes, the recent list loses it.
        const QString missing = m_dir.filePath("missing.cfg");
        area.OpenConfig(missing);
        QCOMPARE(prompts.criticals, QStringList{QStringLiteral("Unable to Open ") + missing});
        QVERIFY(!area.Docs().AnyOpen());
        QCOMPARE(told, QStringList{QStringLiteral("Remove ") + missing});
        QCOMPARE(caption, QStringLiteral("Varkel"));

        const QString file = write("keep.cfg", "bind f +use\r\n");
        told.clear();
        mGlobal::AutoSyntaxType = 1;
        area.OpenConfig(file);
        const int d = area.ActiveDoc();
        QVERIFY(d > 0);
        QCOMPARE(told, (QStringList{QStringLiteral("Add ") + file, QStringLiteral("colour")}));
        QCOMPARE(caption, QStringLiteral("Varkel [") + file + QLatin1Char(']'));
        QTest::keyClicks(area.ActiveEditor(), "// ");
        QVERIFY(area.Docs()[d].Modified);

        // A save that fails at the rename: the message, nothing else; the
        // document stays modified and the file keeps its bytes.
        told.clear();
        {
            FileFaults faults;
            faults.always(FileStep::Rename, ENOSPC);
            QVERIFY(!area.SaveConfig(d, file));
        }
        QCOMPARE(prompts.criticals.last(), QStringLiteral("Unable to Save ") + file);
        QVERIFY(area.Docs()[d].Modified);
        QVERIFY(told.isEmpty());
        QCOMPARE(readFile(file), QByteArray("bind f +use\r\n"));

        // Saved as another name, which fails too: the name stays the old one.
        const QString other = m_dir.filePath("other.cfg");
        prompts.saveAnswers.push_back(other);
        {
            FileFaults faults;
            faults.always(FileStep::CreateTemp, EACCES);
            faults.always(FileStep::OpenInPlace, EACCES);
            QVERIFY(!area.SaveConfigAs(d, std::string()));
        }
        QCOMPARE(area.Docs()[d].Path, file.toStdString());
        // Still unsaved: the caption keeps the mark.
        QCOMPARE(caption, QStringLiteral("Varkel [") + file + QStringLiteral("] *"));
        QVERIFY(!QFile::exists(other));
        QVERIFY(told.isEmpty());

        QVERIFY(area.SaveConfig(d, file));
        QVERIFY(!area.Docs()[d].Modified);
        QCOMPARE(readFile(file), QByteArray("// bind f +use\r\n"));
    }
};

QTEST_MAIN(TestDocumentArea)
#include "tst_documentarea.moc"
