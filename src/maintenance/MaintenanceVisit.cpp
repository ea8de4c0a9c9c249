// SPDX-License-Identifier: MIT
#include "maintenance/MaintenanceVisit.h"

#include "maintenance/CreatorActions.h"
#include "maintenance/CreatorList.h"
#include "maintenance/HonorificSettings.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/MasterActions.h"
#include "maintenance/PeriodStampSettings.h"
#include "maintenance/SearchSettings.h"

void ConnectMaintenanceActions(MaintenanceProgram& main, MaintenanceWindow& window)
{
    // Each action object is a child of the window and lives as long as it.
    new CreatorActions(main, window);
    new MasterActions(main, window);
    new SearchSettingsActions(main, window);
    new PeriodStampActions(main, window);
    new HonorificActions(main, window);
}

void OpenMaintenance(MaintenanceProgram& main, MaintenanceWindow& window)
{
    FillCreatorList(main, window);
    ShowSearchSettings(main, window);
    ShowPeriodStampSettings(main, window);
    ShowHonorificSettings(main, window);
    window.show();
    window.raise();
    window.activateWindow();
}
