// SPDX-License-Identifier: MIT
#include "platform/WindowsVersion.h"

#include "platform/RegistryStore.h"

#include <QtEndian>

namespace platform {
namespace {

const QString kCurrentVersionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

void readDword(const RegistryStore& store, const QString& name, quint32& target)
{
    const std::optional<RegistryValue> value =
        store.value(RegistryRoot::LocalMachine, kCurrentVersionKey, name);
    if (value && value->type == RegistryType::Dword && value->data.size() == 4)
        target = qFromLittleEndian<quint32>(value->data.constData());
}

} // namespace

WindowsVersion readWindowsVersion(const Environment& environment)
{
    const RegistryStore store = RegistryStore::open(environment);
    WindowsVersion version;
    readDword(store, QStringLiteral("PlatformId"), version.platformId);
    readDword(store, QStringLiteral("CurrentMajorVersionNumber"), version.majorVersion);
    readDword(store, QStringLiteral("CurrentMinorVersionNumber"), version.minorVersion);
    const std::optional<RegistryValue> servicePack =
        store.value(RegistryRoot::LocalMachine, kCurrentVersionKey, QStringLiteral("CSDVersion"));
    if (servicePack && servicePack->isText())
        version.servicePack = servicePack->text();
    return version;
}

} // namespace platform
