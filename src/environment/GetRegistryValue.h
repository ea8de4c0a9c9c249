// SPDX-License-Identifier: MIT
#pragma once

#include "platform/RegistryValue.h"

#include <QString>

namespace platform {
class Environment;
}

// The result of GetRegistryValue for every value that cannot be read.
inline const QString kRegistryNotFound = QStringLiteral("Not Found");
// The bytes a value's data may take, its terminator included, to be read.
inline constexpr qsizetype kRegistryReadBufferSize = 2048;

// One registry value as text, never failing: "Not Found" when the key or the value is missing, when the
// data (terminator included) takes more than 2048 bytes, or on any other failure.
//
// Binary data comes back as two upper-case hexadecimal digits a byte (0A FF gives "0AFF"); a dword as its
// decimal number padded to three digits and cut to the first three (7 gives "007", 1234 gives "123"); any
// other type as its text up to the terminating NUL. The registry is the system's
// (platform::querySystemRegistryValue()).
QString GetRegistryValue(const platform::Environment& environment, platform::RegistryRoot root,
                         const QString& keyPath, const QString& valueName);
