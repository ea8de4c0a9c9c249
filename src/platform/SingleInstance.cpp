// SPDX-License-Identifier: MIT
#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + name);
    m_lock->setStaleLockTime(0); // a lock left by a copy that died is taken over
}

bool SingleInstance::acquire()
{
    return m_lock->tryLock(0);
}

} // namespace platform
