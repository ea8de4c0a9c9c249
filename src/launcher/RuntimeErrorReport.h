// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class RuntimeError;
namespace platform {
class MessageBoxes;
}

// The text of the run-time error report: "実行時エラー 'N':", an empty line, the description.
QString RuntimeErrorReportText(const RuntimeError& error);

// Shows the report: a critical message box titled "Hanaplan" with the OK button.
void ShowRuntimeErrorReport(platform::MessageBoxes& messages, const RuntimeError& error);
