// SPDX-License-Identifier: MIT
// The registry of a system without one: the registry store of the environment.
#include "platform/SystemRegistry.h"

#include "platform/RegistryStore.h"

namespace platform {

std::optional<RegistryValue> querySystemRegistryValue(const Environment& environment, RegistryRoot root,
                                                      const QString& keyPath, const QString& name,
                                                      qsizetype bufferSize)
{
    std::optional<RegistryValue> value = RegistryStore::open(environment).value(root, keyPath, name);
    if (value && value->data.size() > bufferSize)
        return std::nullopt;
    return value;
}

} // namespace platform
