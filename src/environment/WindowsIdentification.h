// SPDX-License-Identifier: MIT
#pragma once

#include <QChar>
#include <QtGlobal>

namespace platform {
class Environment;
}

// The code of a Windows version, from its platform identifier, major and minor version and the first
// character of its service-pack text (NUL when the text is empty); 0 for a version the program does not
// know. Codes above 2100 are Windows Vista and later:
//
//   platform 0: 3.1 (Win32s)
//   platform 1, 4.0: 952 with service pack "B…" or "C…" (Windows 95 OSR), else 95
//   platform 1, 4.10: 982 with service pack "A…" (Windows 98 SE), else 98;  4.90: 983 (Windows Me)
//   platform 2: 3.x 3.5, 4.x 4, 5.0 2000, 5.1 2100 (XP), 5.2 2003,
//               6 and later: minor 0 3000 (Vista), minor 1 3100 (7), minor 2 and more 3200 (8 and later)
double WindowsVersionCodeOf(quint32 platformId, quint32 majorVersion, quint32 minorVersion,
                            QChar servicePack);

// The code of the running Windows, from what it reports (platform::readWindowsVersion()); the start-up
// keeps it as WindowsVersionCode.
double IdentifyWindowsVersion(const platform::Environment& environment);
