// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

class Environment;

// What the running Windows reports about itself: platform identifier (0 Win32s, 1 Windows 95 family, 2 NT),
// major and minor version, and the service-pack text.
struct WindowsVersion
{
    quint32 platformId = 2;
    quint32 majorVersion = 10;
    quint32 minorVersion = 0;
    QString servicePack;
};

// The version as the registry store describes it in the key
// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion: the dwords CurrentMajorVersionNumber
// and CurrentMinorVersionNumber, the text CSDVersion and the dword PlatformId. Each one that is missing, or
// not of its type, keeps its value of NT 10.0.
WindowsVersion readWindowsVersion(const Environment& environment);

} // namespace platform
