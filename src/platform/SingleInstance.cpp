// SPDX-License-Identifier: MIT
#include "platform/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance(const QString& name, const QString& folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_lockPath = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
    m_socketPath = dir + QLatin1Char('/') + name + QStringLiteral(".socket");
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    m_lock->setStaleLockTime(0); // a lock left by a copy that died is taken over
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    if (!m_lock->tryLock(0))
        return false;
    // Holding the lock, this copy owns the socket name: one left by a copy that died is removed.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            Q_EMIT startedAgain();
        }
    });
    // Without the socket the program still runs; a second start then only ends.
    m_server->listen(m_socketPath);
    return true;
}

void SingleInstance::notifyRunningCopy()
{
    // The connection itself is the message; the running copy takes it even after this end has closed.
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (socket.waitForConnected(1000))
        socket.disconnectFromServer();
}

} // namespace platform
