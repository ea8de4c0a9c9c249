// SPDX-License-Identifier: MIT
#pragma once

#include "maintenance/MaintenanceState.h"

#include <QString>

// The program-wide state, created once by main() and handed by reference to the windows and operations
// that use it; every test builds a fresh one. It is made of layers: the Windows services
// (platform::Services), the database (DatabaseState), the maintenance window (MaintenanceProgram) and, here,
// the launcher's own. An operation takes the layer it needs.
struct Main : MaintenanceProgram
{
    using MaintenanceProgram::MaintenanceProgram;

    // The installed plan workbook and its working copy; empty until the first creator sign-in of the run.
    QString WorkbookSourcePath;
    QString WorkbookCopyPath;
};
