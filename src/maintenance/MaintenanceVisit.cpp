// SPDX-License-Identifier: MIT
#include "maintenance/MaintenanceVisit.h"

#include "maintenance/CreatorActions.h"
#include "maintenance/CreatorList.h"
#include "maintenance/HonorificActions.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/MasterActions.h"
#include "maintenance/PeriodStampActions.h"
#include "maintenance/SearchSettingsActions.h"

void ConnectMaintenanceActions(DatabaseState& database, MaintenanceState& state,
                               platform::MessageBoxes& messages, MaintenanceWindow& window)
{
    // Each action object is a child of the window and lives as long as it.
    new CreatorActions(database, state, messages, window);
    new MasterActions(database, messages, window);
    new SearchSettingsActions(database, window);
    new PeriodStampActions(database, window);
    new HonorificActions(database, window);
}

void OpenMaintenance(DatabaseState& database, MaintenanceState& state, platform::MessageBoxes& messages,
                     MaintenanceWindow& window)
{
    FillCreatorList(database, state, messages, window);
    ShowSearchSettings(database, window);
    ShowPeriodStampSettings(database, window);
    ShowHonorificSettings(database, state, window);
    window.show();
    window.raise();
    window.activateWindow();
}
