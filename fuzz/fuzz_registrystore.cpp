// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes to the registry store reader and queries what the program reads from a store.
#include "platform/RegistryStore.h"

#include <cstdint>

using platform::RegistryRoot;
using platform::RegistryStore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RegistryStore store =
        RegistryStore::fromBytes(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString versionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    for (const QString& name : {QStringLiteral("CurrentMajorVersionNumber"), QStringLiteral("CSDVersion"),
                                QStringLiteral("a"), QString()})
        store.value(RegistryRoot::LocalMachine, versionKey, name);
    store.value(RegistryRoot::ClassesRoot, QStringLiteral(".xls"), QString());
    store.hasKey(RegistryRoot::LocalMachine, QStringLiteral("SOFTWARE"));
    store.hasKey(RegistryRoot::ClassesRoot, QString());
    return 0;
}
