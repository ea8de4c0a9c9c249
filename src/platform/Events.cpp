// SPDX-License-Identifier: MIT
#include "platform/Events.h"

#include <QCoreApplication>

namespace platform {

void letPendingMessagesRun()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace platform
