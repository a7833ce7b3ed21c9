// The frame's start with a settings file it must not open, and with values a
// user edited by hand far beyond what the program writes.

#include "app/settings.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <sys/stat.h>

using namespace varkel;
using namespace varkel::test;

namespace {

// A frame loaded with the settings file at iniPath.
struct LoadedFrame {
    std::unique_ptr<fMain> frame = std::make_unique<fMain>();
    ScriptedPrompts *prompts = nullptr;

    explicit LoadedFrame(const QString &iniPath)
    {
        mGlobal::AppDir = QString(VARKEL_BINARY_DIR).toStdString();
        mGlobal::IniPath = iniPath.toStdString();
        qputenv("VARKEL_NO_SOUND", "1");
        auto p = std::make_unique<ScriptedPrompts>();
        prompts = p.get();
        frame->SetPrompts(std::move(p));
        frame->MDIForm_Load(QString(), QStringList());
    }
};

} // namespace

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void settingsFileThatIsNoFileIsReportedAndLeftAlone()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("Varkel.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        LoadedFrame f(fifo); // would wait for a writer at the pipe's other end
        QCOMPARE(f.prompts->errors,
                 QStringList{QStringLiteral("Error 1007|The settings file is not a regular file; default settings are "
                                            "used and none are saved: ") + fifo});
        QCOMPARE(QString::fromStdString(mGlobal::QVersion), QStringLiteral("Q2"));
        QCOMPARE(mGlobal::CommentSize, 20);
        struct stat st{};
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
    }

    void absurdCommentSizeBuildsAnOrdinaryBlock()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Varkel.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nCommentAutoSize=False\nCommentSize=20000000\n[Font]\nSize=2147483647\n");
        file.close();
        LoadedFrame f(ini);
        QVERIFY(f.prompts->errors.isEmpty());
        f.frame->documents().NewConfig();
        f.prompts->inputAnswers.push_back(QStringLiteral("keys"));
        f.frame->Dispatch("cmnuInsertComment");
        // Three lines of the widest block the options dialog allows.
        QCOMPARE(f.frame->documents().ActiveEditor()->TextLength(), 3L * (2 + kMaxCommentSize + 2));
        QCOMPARE(mGlobal::FontSize, kMaxFontSize);
    }
};

QTEST_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
