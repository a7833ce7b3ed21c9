#include "app/gui/singleinstance.h"
#include "app/instancesocket.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

#include <unistd.h>

namespace varkel {

namespace {
constexpr quint32 kMagic = 0x564B4C32; // "VKL2": command line and arguments as bytes
const QByteArray kAck = "OK";

std::string environment(const char *name)
{
    return qgetenv(name).toStdString();
}

// Only a copy of Varkel running as this user may take (or send) paths.
bool peerIsThisUser(const QLocalSocket &socket)
{
    return PeerRunsAs(static_cast<int>(socket.socketDescriptor()), ::geteuid());
}
} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName()
{
    const uid_t uid = ::geteuid();
    const SessionEnvironment session{QGuiApplication::platformName().toStdString(), environment("WAYLAND_DISPLAY"),
                                     environment("DISPLAY"), environment("XDG_SESSION_ID")};
    const std::string dir = InstanceSocketDirectory(environment("XDG_RUNTIME_DIR"),
                                                    QFile::encodeName(QDir::tempPath()).toStdString(), uid);
    const QByteArray path =
        QByteArray::fromStdString(InstanceSocketPath(dir, SessionTag(session), environment("VARKEL_INSTANCE")));
    // The local socket classes take a QString: a path that does not survive
    // the conversion cannot be used.
    const QString name = QFile::decodeName(path);
    return QFile::encodeName(name) == path ? name : QString();
}

bool SingleInstance::HandOver(const QByteArray &commandLine, const QList<QByteArray> &args, int timeoutMs)
{
    const QString name = ServerName();
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (!peerIsThisUser(socket)) {
        socket.abort();
        return false;
    }
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
    const QString name = ServerName();
    if (name.isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
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
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
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
            QByteArray commandLine;
            QList<QByteArray> args;
            in >> magic >> commandLine >> args;
            buffer->clear();
            if (magic != kMagic || in.status() != QDataStream::Ok) {
                socket->abort();
                return;
            }
            // The command line is off the socket: answer, so the sender can
            // end, and finish with the connection. The files are opened later,
            // from the event loop: a message box about one of them runs an
            // event loop of its own, which must not find this connection
            // still at work under it.
            socket->write(kAck);
            socket->flush();
            socket->disconnectFromServer();
            QMetaObject::invokeMethod(
                this, [this, commandLine, args] { emit received(commandLine, args); }, Qt::QueuedConnection);
        });
    }
}

} // namespace varkel
