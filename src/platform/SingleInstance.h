// SPDX-License-Identifier: MIT
#pragma once

#include <QLockFile>

#include <memory>

namespace platform {

// Keeps a second copy of the program from running for the same user: a lock file in the user's runtime
// folder, held while the first copy runs.
class SingleInstance
{
public:
    // The lock file's name in the runtime folder.
    explicit SingleInstance(const QString& name);

    // True when this copy holds the lock; false when another running copy does.
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
