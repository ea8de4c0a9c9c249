// SPDX-License-Identifier: MIT
#include "environment/GetRegistryValue.h"

#include "platform/SystemRegistry.h"

#include <QtEndian>

namespace {

QString valueText(const platform::RegistryValue& value)
{
    switch (value.type) {
    case platform::RegistryType::Binary:
        return QString::fromLatin1(value.data.toHex().toUpper());
    case platform::RegistryType::Dword: {
        // Four bytes read as the number; shorter data is read as if padded with zero bytes.
        QByteArray bytes = value.data.left(4);
        bytes.resize(4, '\0');
        const quint32 number = qFromLittleEndian<quint32>(bytes.constData());
        return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')).left(3);
    }
    default:
        return value.text();
    }
}

} // namespace

QString GetRegistryValue(const platform::Environment& environment, platform::RegistryRoot root,
                         const QString& keyPath, const QString& valueName)
{
    try {
        const std::optional<platform::RegistryValue> value = platform::querySystemRegistryValue(
            environment, root, keyPath, valueName, kRegistryReadBufferSize);
        if (!value)
            return kRegistryNotFound;
        return valueText(*value);
    } catch (...) {
        // Nothing of a failed read reaches the caller.
        return kRegistryNotFound;
    }
}
