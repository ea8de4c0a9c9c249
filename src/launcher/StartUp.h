// SPDX-License-Identifier: MIT
#pragma once

struct DatabaseState;
struct Main;
struct MaintenanceState;
class StartWindow;
namespace platform {
class Environment;
}

// Resolves VirtualStorePath, opens and upgrades the database and reads the two settings of the master
// row that the program keeps for the run.
void InitDatabase(DatabaseState& database, const platform::Environment& environment, MaintenanceState& state);

// How the start-up ended.
enum class StartUpResult {
    Shown,   // the start window is shown
    Refused, // Excel cannot be used; its check has told the user
};

// The start-up of the start window, after the check for another running copy: centres the window,
// identifies Windows, checks Excel, opens the database, removes a virtualised copy of the plan workbook,
// loads the maintenance window hidden and shows the start window. An unguarded failure throws
// RuntimeError before anything is shown.
StartUpResult StartUp(Main& main, StartWindow& window);
