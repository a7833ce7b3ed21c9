#include "app/gui/singleinstance.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <memory>

#include <unistd.h>

namespace varkel {

namespace {
constexpr quint32 kMagic = 0x564B4C31; // "VKL1"
const QByteArray kAck = "OK";
} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName()
{
    QString name = QStringLiteral("varkel-%1").arg(static_cast<qulonglong>(getuid()));
    const QString instance = qEnvironmentVariable("VARKEL_INSTANCE");
    if (!instance.isEmpty())
        name += QLatin1Char('-') + instance;
    return name;
}

bool SingleInstance::HandOver(const QString &commandLine, const QStringList &args, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << kMagic << commandLine << args;
    }
    QByteArray frame;
    {
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << static_cast<quint32>(payload.size());
    }
    socket.write(frame + payload);
    socket.waitForBytesWritten(timeoutMs);
    // Wait until the running instance has taken the command line, as a
    // synchronous message would. Once connected, the running instance owns
    // the request, whether or not its answer arrives in time.
    QByteArray reply;
    while (reply.size() < kAck.size() && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return true;
}

bool SingleInstance::Listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = ServerName();
    if (!m_server->listen(name)) {
        // Nobody answers on the socket: a crashed instance left it behind.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(500))
            return false;
        QLocalServer::removeServer(name);
        if (!m_server->listen(name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    return true;
}

void SingleInstance::onConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (buffer->size() < 4)
                return;
            quint32 size = 0;
            QDataStream(buffer->left(4)) >> size;
            if (size > (1u << 20)) {
                socket->abort();
                return;
            }
            if (static_cast<quint32>(buffer->size()) < 4 + size)
                return;
            QDataStream in(buffer->mid(4, static_cast<qsizetype>(size)));
            quint32 magic = 0;
            QString commandLine;
            QStringList args;
            in >> magic >> commandLine >> args;
            buffer->clear();
            if (magic != kMagic || in.status() != QDataStream::Ok) {
                socket->abort();
                return;
            }
            // Answer first, so the sender can end while the files open.
            socket->write(kAck);
            socket->flush();
            QPointer<QLocalSocket> guard(socket);
            emit received(commandLine, args);
            if (guard)
                guard->disconnectFromServer();
        });
    }
}

} // namespace varkel
