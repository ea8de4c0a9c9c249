// SPDX-License-Identifier: MIT
#include "environment/ExcelCheck.h"

#include "platform/ExcelApplication.h"
#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "platform/Services.h"

#include <optional>

namespace {

void showCritical(const platform::Services& services, const QString& text)
{
    if (services.messageBoxes)
        services.messageBoxes->critical(kExcelCheckTitle, text);
}

} // namespace

QString ExcelVersionRefusal(quint32 majorVersion)
{
    if (majorVersion < 7)
        return QStringLiteral("このバージョン[") + QString::number(majorVersion) +
               QStringLiteral("このExcelでは働きません。");
    if (majorVersion == 7)
        return QStringLiteral("Excel95では働きません。");
    if (majorVersion == 8)
        return QStringLiteral("Excel97では働きません。");
    return QString();
}

ExcelCheckResult CheckExcelVersion(const platform::Services& services)
{
    std::optional<platform::ExcelApplication> excel =
        platform::ExcelApplication::create(services.environment);
    if (!excel) {
        showCritical(services, kExcelNotInstalledMessage);
        return ExcelCheckResult::NoAutomation;
    }

    const QString programFile = platform::nativePath(excel->path() + QStringLiteral("\\excel.exe"));
    ExcelCheckResult result = ExcelCheckResult::Refused;
    const quint32 size = platform::fileVersionInfoSize(programFile);
    if (size == 0) {
        showCritical(services, kExcelNotInstalledMessage);
    } else {
        const QByteArray versionInfo = platform::fileVersionInfo(programFile, size);
        const std::optional<platform::FixedFileInfo> fixedInfo = platform::queryFixedFileInfo(versionInfo);
        if (!fixedInfo) {
            // Version information without its fixed part tells no version: as good as none.
            showCritical(services, kExcelNotInstalledMessage);
        } else {
            const QString refusal = ExcelVersionRefusal((fixedInfo->productVersionMS >> 16) & 0xFFFF);
            if (refusal.isEmpty())
                result = ExcelCheckResult::Usable;
            else
                showCritical(services, refusal);
        }
    }

    if (services.sleep)
        services.sleep(1000);
    excel.reset();
    return result;
}
