// One Varkel per user: a second start hands its command line to the running
// one (two real processes), also when a crashed instance left its socket.

#include "app/gui/singleinstance.h"
#include "app/profile.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace varkel;

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_exe = qEnvironmentVariable("VARKEL_EXE");

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VARKEL_INI", m_dir.filePath("Varkel.ini"));
        env.insert("VARKEL_INSTANCE", qEnvironmentVariable("VARKEL_INSTANCE"));
        env.insert("VARKEL_NO_SPLASH", "1");
        env.insert("VARKEL_NO_SOUND", "1");
        return env;
    }

    static bool serverAnswers()
    {
        QLocalSocket probe;
        probe.connectToServer(SingleInstance::ServerName());
        return probe.waitForConnected(200);
    }

    QString recentFile1() const
    {
        return QString::fromStdString(
            GetProfileString("RecentFiles", "RecentFile1", "", m_dir.filePath("Varkel.ini").toStdString()));
    }

private slots:
    void initTestCase()
    {
        if (m_exe.isEmpty() || !QFile::exists(m_exe))
            QSKIP("VARKEL_EXE does not name the built program");
        qputenv("VARKEL_INSTANCE", QByteArray("test-") + QByteArray::number(getpid()));
    }

    void secondStartHandsOverAndEnds()
    {
        // A crashed instance left its socket behind: it must not block start-up.
        const QString socketPath = QDir::tempPath() + "/" + SingleInstance::ServerName();
        {
            int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            qstrncpy(addr.sun_path, QFile::encodeName(socketPath).constData(), sizeof addr.sun_path);
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr), 0);
            ::close(fd);
        }
        QVERIFY(QFile::exists(socketPath));
        QVERIFY(!serverAnswers());

        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(m_exe, {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(serverAnswers(), 15000); // the first instance listens

        QFile script(m_dir.filePath("hand over.cfg"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("bind mouse1 \"+attack\"\r\n");
        script.close();

        // The second start names the file relative to its own folder.
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(m_dir.path());
        second.start(m_exe, {"hand over.cfg"});
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        // The running instance opened it: it is now its most recent file.
        const QString expected = QDir(m_dir.path()).absoluteFilePath("hand over.cfg");
        QTRY_COMPARE_WITH_TIMEOUT(recentFile1(), expected, 15000);
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
