// SPDX-License-Identifier: MIT
// A second running copy on a system without named mutexes: a lock file, and a local socket beside it.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace platform {

class SingleInstance::Private
{
public:
    QString lockPath;
    QString socketPath;
    std::unique_ptr<QLockFile> lock;
    QLocalServer* server = nullptr;
};

SingleInstance::SingleInstance(const QString& name, const QString& folder) : d(std::make_unique<Private>())
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    d->lockPath = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
    d->socketPath = dir + QLatin1Char('/') + name + QStringLiteral(".socket");
    d->lock = std::make_unique<QLockFile>(d->lockPath);
    // The lock never goes stale by age, however long a copy runs; one left by a copy that died is taken
    // over, since the lock file checks whether the copy that holds it still runs.
    d->lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    if (!d->lock->tryLock(0))
        return false;
    // Holding the lock, this copy owns the socket name: one left by a copy that died is removed.
    QLocalServer::removeServer(d->socketPath);
    d->server = new QLocalServer(this);
    d->server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(d->server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = d->server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            Q_EMIT startedAgain();
        }
    });
    // Without the socket the program still runs; a second start then only ends.
    d->server->listen(d->socketPath);
    return true;
}

void SingleInstance::notifyRunningCopy()
{
    // The connection itself is the message; the running copy takes it even after this end has closed.
    QLocalSocket socket;
    socket.connectToServer(d->socketPath);
    if (socket.waitForConnected(1000))
        socket.disconnectFromServer();
}

} // namespace platform
