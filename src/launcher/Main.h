// SPDX-License-Identifier: MIT
#pragma once

#include "database/DatabaseState.h"
#include "maintenance/MaintenanceState.h"
#include "platform/Services.h"

#include <QString>

// The program-wide state, created once by main() and handed by reference to the start window and the
// start-up; every test builds a fresh one. It holds its parts side by side: the Windows services, the
// database, the maintenance window's state and, here, the launcher's own. The start window passes each
// operation the parts it uses.
struct Main
{
    explicit Main(QString programFolder) : services(std::move(programFolder)) {}

    platform::Services services;
    DatabaseState database;
    MaintenanceState maintenance;

    // The installed plan workbook and its working copy; empty until the first creator sign-in of the run.
    QString WorkbookSourcePath;
    QString WorkbookCopyPath;
};
