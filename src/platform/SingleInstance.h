// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace platform {

// Keeps a second copy of the program from running for the same user, and lets a second copy ask the running
// one to bring its window to the front before it ends.
//
// On Windows (SingleInstanceWin.cpp) a named mutex of the user's session marks the running copy, which
// receives the request through a message-only window. Elsewhere (SingleInstance.cpp) a lock file in the
// user's runtime folder marks it, and it listens on a local socket beside the lock.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // name: the base name of the lock and of what the running copy listens on; folder: where a lock file
    // and socket lie (the user's runtime folder when empty), which on Windows only tells copies apart.
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
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace platform
