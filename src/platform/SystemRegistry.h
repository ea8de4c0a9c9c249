// SPDX-License-Identifier: MIT
#pragma once

#include "platform/RegistryValue.h"

#include <QString>

#include <optional>

namespace platform {

class Environment;

// One value of the system's registry, read the way the program reads its installation's values: the key is
// opened for querying, the value is read into a buffer of bufferSize bytes and the key is closed again.
// Nothing comes back when the key or the value is missing, when the data (a text's terminator included)
// needs more than bufferSize bytes, or on any other failure. Texts come back in UTF-8, as RegistryValue
// holds them. A trailing "\" in the key path is accepted.
//
// On Windows this is the registry itself (SystemRegistryWin.cpp); elsewhere the registry store of the
// environment (SystemRegistry.cpp).
std::optional<RegistryValue> querySystemRegistryValue(const Environment& environment, RegistryRoot root,
                                                      const QString& keyPath, const QString& name,
                                                      qsizetype bufferSize);

} // namespace platform
