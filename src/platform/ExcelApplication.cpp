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
    if (!path || (path->type != RegistryType::String && path->type != RegistryType::ExpandString))
        return std::nullopt;
    const qsizetype end = path->data.indexOf('\0');
    return ExcelApplication(QString::fromUtf8(end < 0 ? path->data : path->data.left(end)));
}

} // namespace platform
