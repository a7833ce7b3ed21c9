// One Varkel per desktop session: a second start hands its command line to
// the running one (real processes), in a place private to the user, and
// never to a copy on another display or of another user. Also the options
// the program answers without starting.

#include "app/gui/singleinstance.h"
#include "app/tempdir.h"
#include "app/profile.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"
#include "support/guitest.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace varkel;
using namespace varkel::test;

namespace {

// A message box as the real one behaves: it runs an event loop of its own,
// here until `done` says the hand-over that led to it is over, and it takes
// memory while it is up. Here it takes every small free block and fills it,
// so that an object deleted during its loop cannot be used afterwards
// without a crash.
class NestedLoopPrompts : public ScriptedPrompts {
public:
    std::function<bool()> done;
    std::function<bool()> connectionOpen;
    int openWhileShown = 0;

    ~NestedLoopPrompts() override
    {
        for (void *block : m_blocks)
            std::free(block);
    }

    void Critical(QWidget *, const QString &text) override
    {
        criticals << text;
        if (connectionOpen && connectionOpen())
            ++openWhileShown;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!done || done())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        for (size_t size = 16; size <= 2048; size += 8)
            for (int i = 0; i < 16; ++i)
                m_blocks.push_back(std::memset(std::malloc(size), 0xA5, size));
    }

private:
    std::vector<void *> m_blocks;
};

// A Unix socket bound to `path`, as a running copy's server leaves it.
int boundSocket(const QByteArray &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
    return ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 ? fd : -1;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_exe = qEnvironmentVariable("VARKEL_EXE");

    QProcessEnvironment environment(const QString &ini = QString()) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VARKEL_INI", ini.isEmpty() ? m_dir.filePath("Varkel.ini") : ini);
        env.insert("VARKEL_INSTANCE", qEnvironmentVariable("VARKEL_INSTANCE"));
        env.insert("VARKEL_NO_SPLASH", "1");
        env.insert("VARKEL_NO_SOUND", "1");
        env.insert("VARKEL_NO_TIPS", "1");
        return env;
    }

    // Starts the program through the shell, so that an argument can be any
    // bytes (QProcess would pass them through a QString).
    static void startWithBytes(QProcess &p, const QString &exe, const QByteArray &arg)
    {
        p.start("/bin/sh", {"-c", "exec \"$0\" \"$(printf \"$1\")\"", exe, QString::fromLatin1(escaped(arg))});
    }
    static QByteArray escaped(const QByteArray &bytes)
    {
        QByteArray out;
        for (char c : bytes)
            out += QByteArray("\\") + QByteArray::number(static_cast<unsigned char>(c), 8).rightJustified(3, '0');
        return out;
    }

    static bool serverAnswers()
    {
        QLocalSocket probe;
        probe.connectToServer(SingleInstance::ServerName());
        return probe.waitForConnected(200);
    }

    static QByteArray recentFile1(const QString &ini)
    {
        return QByteArray::fromStdString(GetProfileString("RecentFiles", "RecentFile1", "", QFile::encodeName(ini).toStdString()));
    }

    static void stop(QProcess &p)
    {
        p.kill();
        p.waitForFinished();
    }

private slots:
    void initTestCase()
    {
        if (m_exe.isEmpty() || !QFile::exists(m_exe))
            QSKIP("VARKEL_EXE does not name the built program");
        qputenv("VARKEL_INSTANCE", QByteArray("test-") + QByteArray::number(getpid()));
    }

    void cleanupTestCase()
    {
        // Copies ended by a kill leave their sockets behind.
        const QString instance = "-" + qEnvironmentVariable("VARKEL_INSTANCE");
        const QDir folder = QFileInfo(SingleInstance::ServerName()).dir();
        for (const QString &name : folder.entryList(QDir::System | QDir::Files))
            if (name.startsWith("varkel-") && name.endsWith(instance))
                QFile::remove(folder.filePath(name));
    }

    void optionsAnswerWithoutStarting()
    {
        // No window system at all: the program must not need one to answer.
        QProcessEnvironment env = environment();
        env.insert("QT_QPA_PLATFORM", "no-such-platform");
        for (const QString &option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(m_exe, {option});
            QVERIFY(p.waitForFinished(15000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
            const QByteArray out = p.readAllStandardOutput();
            if (option == "--help")
                QVERIFY2(out.startsWith("Usage: varkel [FILE]...\n") && out.contains("--version"), out.constData());
            else
                QCOMPARE(out, QByteArray("varkel 1.2.3\n"));
            QCOMPARE(p.readAllStandardError(), QByteArray());
        }
    }

    void socketIsPrivateAndPerSession()
    {
        QTemporaryDir place;
        const QString runtime = place.filePath("runtime");
        QVERIFY(QDir().mkdir(runtime));
        QCOMPARE(::chmod(QFile::encodeName(runtime).constData(), 0700), 0);
        const EnvOverride tmp("TMPDIR", QFile::encodeName(place.path()).constData()), wayland("WAYLAND_DISPLAY", nullptr),
            xdg("XDG_RUNTIME_DIR", QFile::encodeName(runtime).constData()), display("DISPLAY", ":71");
        const QString name = SingleInstance::ServerName();
        QVERIFY2(name.startsWith(runtime + "/varkel-:71-test-"), qPrintable(name));
        {
            const EnvOverride other("DISPLAY", ":72");
            QVERIFY(SingleInstance::ServerName() != name);
        }

        // A runtime folder others may enter is not used; a private folder of
        // our own in the temporary folder is.
        QCOMPARE(::chmod(QFile::encodeName(runtime).constData(), 0755), 0);
        const QString own = place.filePath(QStringLiteral("varkel-%1").arg(::geteuid()));
        QVERIFY2(SingleInstance::ServerName().startsWith(own + "/varkel-:71-"), qPrintable(SingleInstance::ServerName()));
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(own).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0700u);

        // When that folder is not private either there is no name at all, and
        // the program still starts, as its own instance.
        QCOMPARE(::chmod(QFile::encodeName(own).constData(), 0777), 0);
        QCOMPARE(SingleInstance::ServerName(), QString());
        QVERIFY(!SingleInstance::HandOver("x", {"x"}));
        SingleInstance instance;
        QVERIFY(!instance.Listen());

        const QString ini = place.filePath("own.ini");
        const QString script = place.filePath("own.cfg");
        QFile(script).open(QIODevice::WriteOnly);
        QProcessEnvironment env = environment(ini);
        env.insert("TMPDIR", place.path());
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("DISPLAY", ":71");
        env.remove("WAYLAND_DISPLAY");
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(m_exe, {script});
        QTRY_COMPARE_WITH_TIMEOUT(recentFile1(ini), QFile::encodeName(script), 15000);
        QCOMPARE(p.state(), QProcess::Running);
        stop(p);
    }

    void anotherDisplayRunsItsOwnInstance()
    {
        QProcess first;
        QProcess second;
        QProcess *processes[] = {&first, &second};
        for (int i = 0; i < 2; ++i) {
            const QString ini = m_dir.filePath(QStringLiteral("display%1.ini").arg(i));
            const QString script = m_dir.filePath(QStringLiteral("display%1.cfg").arg(i));
            QFile(script).open(QIODevice::WriteOnly);
            QProcessEnvironment env = environment(ini);
            env.insert("DISPLAY", QStringLiteral(":8%1").arg(i));
            env.remove("WAYLAND_DISPLAY");
            processes[i]->setProcessEnvironment(env);
            processes[i]->start(m_exe, {script});
            // Each opens its own file: the second did not hand it to the first.
            QTRY_COMPARE_WITH_TIMEOUT(recentFile1(ini), QFile::encodeName(script), 15000);
        }
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(second.state(), QProcess::Running);
        stop(first);
        stop(second);
    }

    void handsNothingToAnotherUser()
    {
        if (::geteuid() != 0)
            QSKIP("serving the socket as another user needs root");
        const QByteArray path = QFile::encodeName(SingleInstance::ServerName());
        QVERIFY(!path.isEmpty());
        ::unlink(path.constData());
        int ready[2];
        int report[2];
        QCOMPARE(::pipe(ready), 0);
        QCOMPARE(::pipe(report), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // Binds our name, then serves it as "nobody" and counts what arrives.
            const int fd = boundSocket(path);
            if (fd < 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0 || ::listen(fd, 1) != 0)
                ::_exit(2);
            (void)!::write(ready[1], "r", 1);
            const int c = ::accept(fd, nullptr, nullptr);
            long total = 0;
            char buffer[4096];
            for (ssize_t n; (n = ::read(c, buffer, sizeof buffer)) > 0;)
                total += n;
            (void)!::write(report[1], &total, sizeof total);
            ::_exit(0);
        }
        char r = 0;
        QCOMPARE(::read(ready[0], &r, 1), ssize_t(1));
        QVERIFY(!SingleInstance::HandOver("/private/a.cfg", {"/private/a.cfg"}, 2000));
        long total = -1;
        QCOMPARE(::read(report[0], &total, sizeof total), ssize_t(sizeof total));
        QCOMPARE(total, 0L);
        int status = 0;
        ::waitpid(child, &status, 0);
        for (int fd : {ready[0], ready[1], report[0], report[1]})
            ::close(fd);
        ::unlink(path.constData());
    }

    void secondStartHandsOverAndEnds()
    {
        // A crashed instance left its socket behind: it must not block start-up.
        const QByteArray socketPath = QFile::encodeName(SingleInstance::ServerName());
        const int fd = boundSocket(socketPath);
        QVERIFY(fd >= 0);
        ::close(fd);
        QVERIFY(QFile::exists(QFile::decodeName(socketPath)));
        QVERIFY(!serverAnswers());

        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(m_exe, {});
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(serverAnswers(), 15000); // the first instance listens

        // A name that is not valid UTF-8, relative to the second start's own
        // folder: the running instance gets its bytes exactly.
        const QByteArray name("caf\xe9 hand over.cfg");
        const QByteArray expected = QFile::encodeName(m_dir.path()) + "/" + name;
        QVERIFY(::close(::open(expected.constData(), O_WRONLY | O_CREAT, 0644)) == 0);

        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(m_dir.path());
        startWithBytes(second, m_exe, name);
        QVERIFY(second.waitForFinished(15000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        // The running instance opened it: it is now its most recent file.
        QTRY_COMPARE_WITH_TIMEOUT(recentFile1(m_dir.filePath("Varkel.ini")), expected, 15000);
        QCOMPARE(first.state(), QProcess::Running);
        stop(first);
        ::unlink(expected.constData()); // a name the temporary folder's clean-up cannot spell
    }

    void failedHandOverKeepsTheRunningCopy()
    {
        // This process is the running copy, with an unsaved edit; a folder and
        // then a missing file are handed to it while its message box about
        // the failure runs an event loop of its own.
        FrameFixture fx;
        auto prompts = std::make_unique<NestedLoopPrompts>();
        NestedLoopPrompts *box = prompts.get();
        fx.frame->SetPrompts(std::move(prompts));
        fMain &f = *fx.frame;
        const int d = f.documents().NewConfig();
        QTest::keyClicks(f.documents().Editor(d)->rtfEdit, "bind x quit");
        QVERIFY(f.documents().Docs()[d].Modified);

        SingleInstance instance;
        QVERIFY(instance.Listen());
        connect(&instance, &SingleInstance::received, &f, &fMain::ActivateFromInstance);

        const QString missing = fx.path("missing.cfg");
        for (const QString &target : {fx.dir.path(), missing}) {
            QProcess second;
            second.setProcessEnvironment(environment());
            box->done = [&] {
                return second.state() == QProcess::NotRunning && instance.findChildren<QLocalSocket *>().isEmpty();
            };
            box->connectionOpen = [&] {
                const QList<QLocalSocket *> sockets = instance.findChildren<QLocalSocket *>();
                return std::any_of(sockets.begin(), sockets.end(),
                                   [](QLocalSocket *s) { return s->state() != QLocalSocket::UnconnectedState; });
            };
            second.start(m_exe, {target});
            QTRY_COMPARE_WITH_TIMEOUT(box->criticals.size(), target == missing ? 2 : 1, 20000);
            QCOMPARE(box->criticals.last(), "Unable to Open " + target);
            QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(15000));
            QCOMPARE(second.exitCode(), 0);
        }
        QCOMPARE(box->openWhileShown, 0); // each connection was finished before the file was opened
        QVERIFY(!f.documents().Docs()[d].Closed);
        QVERIFY(f.documents().Docs()[d].Modified);
        const std::string_view text = f.documents().Editor(d)->rtfEdit->TextView();
        QCOMPARE(QByteArray(text.data(), static_cast<qsizetype>(text.size())), QByteArray("bind x quit"));
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
