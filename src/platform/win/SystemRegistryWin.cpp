// SPDX-License-Identifier: MIT
// The registry on Windows: RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
#include "platform/SystemRegistry.h"

#include "platform/win/AnsiText.h"

#include <windows.h>

namespace platform {

std::optional<RegistryValue> querySystemRegistryValue(const Environment&, RegistryRoot root,
                                                      const QString& keyPath, const QString& name,
                                                      qsizetype bufferSize)
{
    QString path = keyPath;
    while (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    // A key or value name the ANSI code page cannot write cannot be asked for: it reads as missing.
    const std::optional<QByteArray> key = win::toAnsi(path);
    const std::optional<QByteArray> valueName = win::toAnsi(name);
    if (!key || !valueName || bufferSize <= 0)
        return std::nullopt;

    HKEY handle = nullptr;
    const HKEY rootKey = root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
    if (RegOpenKeyExA(rootKey, key->constData(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValue value;
    value.data.resize(bufferSize, '\0');
    DWORD type = 0;
    DWORD size = DWORD(bufferSize);
    // Data that does not fit the buffer fails with ERROR_MORE_DATA, like every other failure here.
    const LONG status = RegQueryValueExA(handle, valueName->constData(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(value.data.data()), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    value.type = quint32(type);
    value.data.truncate(qsizetype(size));
    // Texts arrive in the ANSI code page; the program holds them in UTF-8, NULs included.
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
        value.data = QString::fromLocal8Bit(value.data).toUtf8();
    return value;
}

} // namespace platform
