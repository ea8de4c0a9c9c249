// SPDX-License-Identifier: MIT
#include "platform/ExcelApplication.h"

#include "platform/RegistryStore.h"

namespace platform {

std::optional<ExcelApplication> ExcelApplication::create(const Environment& environment)
{
    const std::optional<RegistryValue> path =
        RegistryStore::open(environment)
            .value(RegistryRoot::LocalMachine,
                   QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe"),
                   QStringLiteral("Path"));
    if (!path || !path->isText())
        return std::nullopt;
    return ExcelApplication(path->text());
}

} // namespace platform
