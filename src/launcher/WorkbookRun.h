// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct Main;

// The file names the workbook run uses.
inline const QString kWorkbookFileName = QStringLiteral("\\Hanaplan.xls");
inline const QString kWorkingCopyFileName = QStringLiteral("\\作業シート.xls");

// The message the shell's result stands for, for results of 32 and below.
QString ShellFailureMessage(int result);

// Runs the plan workbook with the database closed: makes a fresh working copy of the installed workbook,
// has the shell open it, waits until the spreadsheet has ended, discards the copy, marks the installed
// files and opens the database again. The database must be closed when it is called.
void RunWorkbook(Main& main);
