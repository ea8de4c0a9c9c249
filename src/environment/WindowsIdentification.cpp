// SPDX-License-Identifier: MIT
#include "environment/WindowsIdentification.h"

#include "platform/Environment.h"
#include "platform/WindowsVersion.h"

double WindowsVersionCodeOf(quint32 platformId, quint32 majorVersion, quint32 minorVersion, QChar servicePack)
{
    switch (platformId) {
    case 0:
        return 3.1;
    case 1:
        if (majorVersion != 4)
            return 0;
        switch (minorVersion) {
        case 0:
            return servicePack == QLatin1Char('C') || servicePack == QLatin1Char('B') ? 952 : 95;
        case 10:
            return servicePack == QLatin1Char('A') ? 982 : 98;
        case 90:
            return 983;
        default:
            return 0;
        }
    case 2:
        switch (majorVersion) {
        case 0:
        case 1:
        case 2:
            return 0;
        case 3:
            return 3.5;
        case 4:
            return 4;
        case 5:
            switch (minorVersion) {
            case 0:
                return 2000;
            case 1:
                return 2100;
            case 2:
                return 2003;
            default:
                return 0;
            }
        default:
            return minorVersion == 0 ? 3000 : minorVersion == 1 ? 3100 : 3200;
        }
    default:
        return 0;
    }
}

double IdentifyWindowsVersion(const platform::Environment& environment)
{
    const platform::WindowsVersion version = platform::readWindowsVersion(environment);
    const QChar servicePack = version.servicePack.isEmpty() ? QChar() : version.servicePack.at(0);
    return WindowsVersionCodeOf(version.platformId, version.majorVersion, version.minorVersion, servicePack);
}
