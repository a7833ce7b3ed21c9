#pragma once
// One Varkel per desktop session: the first start listens on a local socket
// private to the user; a later start in the same session hands its command
// line to it and ends.

#include <QByteArray>
#include <QList>
#include <QObject>

class QLocalServer;

namespace varkel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket's full path: in $XDG_RUNTIME_DIR (or a private folder of
    // the user in the temporary folder), named for the desktop session and
    // $VARKEL_INSTANCE when set. Empty when no private place can be had:
    // this start then runs on its own.
    static QString ServerName();
    // Hands the command line and its arguments (the file system's bytes) to
    // the running instance. True when it took them; false when none runs, it
    // does not run as this user, or it did not answer.
    static bool HandOver(const QByteArray &commandLine, const QList<QByteArray> &args, int timeoutMs = 3000);
    // Starts listening. A socket left behind by a crashed instance is removed.
    bool Listen();

signals:
    // A later start's command line; emitted from the event loop once the
    // connection that brought it is finished.
    void received(const QByteArray &commandLine, const QList<QByteArray> &args);

private:
    void onConnection();
    QLocalServer *m_server = nullptr;
};

} // namespace varkel
