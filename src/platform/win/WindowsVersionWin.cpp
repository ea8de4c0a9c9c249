// SPDX-License-Identifier: MIT
// The running Windows as GetVersionExA reports it. The program's manifest declares the Windows versions it
// supports, so that Windows 8.1 and later report their own version rather than 6.2.
#include "platform/WindowsVersion.h"

#include "platform/win/AnsiText.h"

#include <windows.h>

namespace platform {

WindowsVersion readWindowsVersion(const Environment&)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info; // 148 bytes
    WindowsVersion version;
    if (!GetVersionExA(&info))
        return version;
    version.platformId = info.dwPlatformId;
    version.majorVersion = info.dwMajorVersion;
    version.minorVersion = info.dwMinorVersion;
    info.szCSDVersion[sizeof info.szCSDVersion - 1] = '\0';
    version.servicePack = win::fromAnsi(info.szCSDVersion);
    return version;
}

} // namespace platform
