#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
constexpr int HandOverTimeoutMs = 3000;
}

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent)
    , serverName(ServerName(key))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const QString& key)
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("carvestone-") + QString::fromLatin1(hash);
}

bool SingleInstance::HandOver(const QString& path) const
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(HandOverTimeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(HandOverTimeoutMs))
        return false;
    // The running instance closes the connection once it has the request.
    socket.waitForDisconnected(HandOverTimeoutMs);
    return true;
}

bool SingleInstance::Listen()
{
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(serverName)) {
        // No instance answered HandOver, so the name is left over from one
        // that ended without cleaning up.
        QLocalServer::removeServer(serverName);
        if (!server->listen(serverName))
            return false;
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnection);
    return true;
}

void SingleInstance::AcceptConnection()
{
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto readRequest = [this, socket] {
            if (!socket->canReadLine())
                return;
            const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
            socket->disconnectFromServer();
            Q_EMIT OpenRequested(path);
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequest);
        readRequest();
    }
}
