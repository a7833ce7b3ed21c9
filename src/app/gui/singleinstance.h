#pragma once
// One Varkel per user: the first start listens on a per-user local socket;
// a later start hands its command line to it and ends.

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace varkel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket name: per user, and per $VARKEL_INSTANCE when set (tests).
    static QString ServerName();
    // Hands the command line and its arguments to a running instance. True
    // when one took it; false when none runs (or it did not answer).
    static bool HandOver(const QString &commandLine, const QStringList &args, int timeoutMs = 3000);
    // Starts listening. A socket left behind by a crashed instance is removed.
    bool Listen();

signals:
    void received(const QString &commandLine, const QStringList &args);

private:
    void onConnection();
    QLocalServer *m_server = nullptr;
};

} // namespace varkel
