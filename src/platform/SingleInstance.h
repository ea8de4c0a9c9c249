// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace platform {

// Keeps a second copy of the program from running for the same user: a lock file in the user's runtime
// folder, held while the first copy runs. The first copy also listens on a local socket beside it, so
// that a second copy can ask it to bring its window to the front before it ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // name: the base name of the lock file and the socket; folder: where they lie, the user's runtime
    // folder when empty.
    explicit SingleInstance(const QString& name, const QString& folder = {});
    ~SingleInstance() override;

    // True when this copy holds the lock and listens for later copies; false when another running copy
    // holds it.
    bool acquire();
    // For a copy that did not get the lock: tells the running copy that the user started the program
    // again. Waits at most a second; a running copy that does not answer is left alone.
    void notifyRunningCopy();

Q_SIGNALS:
    // In the running copy: the user started the program again.
    void startedAgain();

private:
    QString m_lockPath;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace platform
