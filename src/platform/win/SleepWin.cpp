// SPDX-License-Identifier: MIT
#include "platform/Sleep.h"

#include <windows.h>

namespace platform {

void sleep(int milliseconds)
{
    if (milliseconds > 0)
        Sleep(DWORD(milliseconds));
}

} // namespace platform
