// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {
struct Services;
}

// The outcome of CheckExcelVersion. The start-up goes on only with Usable; with either other result it
// ends the program at once, without opening the database. The check has already shown its message and
// waited where it waits, so the start-up shows nothing more.
enum class ExcelCheckResult {
    // Excel 9 or later is installed.
    Usable,
    // Excel is registered but its program file is too old or has no usable version information.
    Refused,
    // No automation server for Excel is registered.
    NoAutomation,
};

// The title of the check's messages and its message for a missing Excel (the spelling and the ideographic
// spaces are those the users know).
inline const QString kExcelCheckTitle = QStringLiteral("Hanaplan");
inline const QString kExcelNotInstalledMessage =
    QStringLiteral("Microsoft　Excle がインストールされていません。　");

// The message refusing Excel of a major version, or the empty text when that version may be used (9 and
// later).
QString ExcelVersionRefusal(quint32 majorVersion);

// Finds the installed Excel through automation and decides by the major product version of its program
// file (the automation object's Path + "\excel.exe"). Shows its messages (stop icon, OK) itself.
//
// Without an automation server it shows the not-installed message and returns NoAutomation at once. Else it
// shows the not-installed message when the program file carries no version information, or the refusal of
// ExcelVersionRefusal(); then waits one second (Services::sleep) and returns Refused or Usable.
ExcelCheckResult CheckExcelVersion(const platform::Services& services);
