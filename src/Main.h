// SPDX-License-Identifier: MIT
#pragma once

#include "database/DbConnection.h"
#include "database/SharedRecordset.h"
#include "maintenance/MaintenanceState.h"
#include "platform/Environment.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "platform/Sleep.h"

#include <QString>

#include <functional>
#include <memory>

// The program-wide state, created once by main() and handed by reference to the windows and operations
// that use it. Every test builds a fresh one.
struct Main
{
    explicit Main(QString programFolder) : environment(std::move(programFolder)) {}

    platform::Environment environment;
    // Where the program's message boxes go; set by main() or by a test.
    platform::MessageBoxes* messageBoxes = nullptr;
    // How the program waits a number of milliseconds; tests put in one that only records the wait.
    std::function<void(int)> sleep = platform::sleep;

    // Code of the running Windows; greater than 2100 means Vista or later.
    double WindowsVersionCode = 0;
    // Per-user virtualised sub-folder below LOCALAPPDATA, or empty.
    QString VirtualStorePath;

    // The one connection and the one record set, made anew by every OpenDatabase. The record set is
    // declared last so that it goes before the connection it reads through.
    QString ConnectionString;
    std::unique_ptr<::DbConnection> DbConnection;
    std::unique_ptr<::SharedRecordset> SharedRecordset;
    // How long a statement waits for a lock another process holds.
    int databaseBusyTimeout = 5000;

    // MST.compellation and MST.ruling as read at start-up.
    qint16 HonorificSetting = 0;
    qint16 RuledLineSetting = 0;
    // Which creator list the maintenance window shows: 0 all, 1 name search, 2 reading search.
    qint16 CreatorSearchMode = 0;

    // The installed plan workbook and its working copy; empty until the first creator sign-in of the run.
    QString WorkbookSourcePath;
    QString WorkbookCopyPath;
    // Opens the working copy and waits for the spreadsheet; set by main() or by a test.
    platform::Shell* shell = nullptr;

    // The creator list and the search settings of the maintenance window.
    MaintenanceState maintenance;
};
