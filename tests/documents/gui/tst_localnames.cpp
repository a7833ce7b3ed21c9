// A script whose name is not valid UTF-8 opens, saves and comes back from
// the recent-files list under its own bytes; captions show it as well as
// they can.

#include "app/profile.h"
#include "app/tempdir.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QTabBar>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

using namespace varkel;
using namespace varkel::test;

namespace {

QByteArray readBytes(const QByteArray &path)
{
    return QByteArray::fromStdString(test::readAll(path.toStdString()));
}

// The names in a folder as the file system spells them, sorted.
QList<QByteArray> fileNames(const QByteArray &folder)
{
    QList<QByteArray> names;
    for (const auto &e : std::filesystem::directory_iterator(folder.toStdString()))
        names << QByteArray::fromStdString(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

class TestLocalNames : public QObject {
    Q_OBJECT
private slots:
    void nameThatIsNotUtf8()
    {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xe9.cfg";
        const QString shown = QFile::decodeName(name);
        const std::string ini = QFile::encodeName(dir.filePath("Varkel.ini")).toStdString();
        test::writeAll(name.toStdString(), "bind x quit\r\n");
        QVERIFY(WriteProfileString("RecentFiles", "RecentFile1", name.toStdString(), ini));

        mGlobal::AppDir = QString(VARKEL_BINARY_DIR).toStdString();
        mGlobal::IniPath = ini;
        qputenv("VARKEL_NO_SOUND", "1");
        fMain f;
        auto scripted = std::make_unique<ScriptedPrompts>();
        ScriptedPrompts &prompts = *scripted;
        f.SetPrompts(std::move(scripted));
        f.MDIForm_Load(QString());
        f.show();

        // Open from the recent-files list: the document carries the bytes.
        f.Dispatch("cmnuRecentFile1", 1);
        QCOMPARE(prompts.criticals, QStringList());
        const int d = f.documents().ActiveDoc();
        QVERIFY(d > 0);
        QCOMPARE(QByteArray::fromStdString(f.documents().Docs()[d].Path), name);
        QCOMPARE(f.windowTitle(), "Varkel [" + shown + "]");
        QCOMPARE(f.documents().ActiveWindow()->windowTitle(), shown);
        QCOMPARE(f.findChild<QTabBar *>("tabOpenFiles")->tabText(0), QFile::decodeName("caf\xe9.cfg"));
        QCOMPARE(QByteArray::fromStdString(f.commands().RecentFiles()[0]), name);

        // Save writes the same file, under the same name.
        QTest::keyClicks(f.documents().ActiveEditor(), "// ");
        f.Dispatch("cmnuSave");
        QCOMPARE(prompts.criticals, QStringList());
        QCOMPARE(readBytes(name), QByteArray("// bind x quit\r\n"));

        // Save As, keeping the proposed name, keeps its bytes too.
        prompts.saveAnswers.push_back(shown);
        QTest::keyClicks(f.documents().ActiveEditor(), "a");
        f.Dispatch("cmnuSaveAs");
        QCOMPARE(prompts.lastSaveProposed, shown);
        QCOMPARE(readBytes(name), QByteArray("// abind x quit\r\n"));
        QCOMPARE(QByteArray::fromStdString(f.documents().Docs()[d].Path), name);

        // So does the save a close asks for; the name is then still the most
        // recent file and opens again from the list.
        QTest::keyClicks(f.documents().ActiveEditor(), "b");
        prompts.askAnswers.push_back(QMessageBox::Yes);
        QVERIFY(f.documents().QueryCloseDocument(d));
        QCOMPARE(prompts.asked.last(), "Save changes to " + shown + "?");
        QCOMPARE(readBytes(name), QByteArray("// abbind x quit\r\n"));
        f.documents().UnloadDocument(d);
        QCOMPARE(QByteArray::fromStdString(GetProfileString("RecentFiles", "RecentFile1", "", ini)), name);
        f.Dispatch("cmnuRecentFile1", 1);
        QCOMPARE(QByteArray::fromStdString(f.documents().Docs()[f.documents().ActiveDoc()].Path), name);
        QCOMPARE(prompts.criticals, QStringList());

        // No file was made under a mangled name.
        QCOMPARE(fileNames(QFile::encodeName(dir.path())), (QList<QByteArray>{"Varkel.ini", "caf\xe9.cfg"}));
        ::unlink(name.constData()); // a name the temporary folder's clean-up cannot spell
    }
};

QTEST_MAIN(TestLocalNames)
#include "tst_localnames.moc"
