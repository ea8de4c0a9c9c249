// SPDX-License-Identifier: MIT
#include "launcher/RuntimeErrorReport.h"

#include "RuntimeError.h"
#include "platform/MessageBoxes.h"

QString RuntimeErrorReportText(const RuntimeError& error)
{
    return QStringLiteral("実行時エラー '%1':\n\n%2").arg(error.number()).arg(error.description());
}

void ShowRuntimeErrorReport(platform::MessageBoxes& messages, const RuntimeError& error)
{
    messages.critical(QStringLiteral("Hanaplan"), RuntimeErrorReportText(error));
}
