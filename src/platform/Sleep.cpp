// SPDX-License-Identifier: MIT
#include "platform/Sleep.h"

#include <chrono>
#include <thread>

namespace platform {

void sleep(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace platform
