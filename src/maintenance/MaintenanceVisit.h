// SPDX-License-Identifier: MIT
#pragma once

struct DatabaseState;
struct MaintenanceState;
namespace platform {
class MessageBoxes;
}
class MaintenanceWindow;

// Gives the maintenance window its page actions: the creator page, the master page and the three
// settings pages. Called once, when the window is loaded.
void ConnectMaintenanceActions(DatabaseState& database, MaintenanceState& state,
                               platform::MessageBoxes& messages, MaintenanceWindow& window);

// A maintenance visit after a successful master sign-in: fills the creator list, the search settings, the
// period and stamp settings and the honorific settings, in that order, then shows the window.
void OpenMaintenance(DatabaseState& database, MaintenanceState& state, platform::MessageBoxes& messages,
                     MaintenanceWindow& window);
