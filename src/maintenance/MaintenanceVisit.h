// SPDX-License-Identifier: MIT
#pragma once

struct MaintenanceProgram;
class MaintenanceWindow;

// Gives the maintenance window its page actions: the creator page, the master page and the three
// settings pages. Called once, when the window is loaded.
void ConnectMaintenanceActions(MaintenanceProgram& main, MaintenanceWindow& window);

// A maintenance visit after a successful master sign-in: fills the creator list, the search settings, the
// period and stamp settings and the honorific settings, in that order, then shows the window.
void OpenMaintenance(MaintenanceProgram& main, MaintenanceWindow& window);
