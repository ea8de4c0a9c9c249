// SPDX-License-Identifier: MIT
#include "launcher/StartUp.h"

#include "database/Database.h"
#include "database/SchemaUpgrade.h"
#include "database/Values.h"
#include "environment/ExcelCheck.h"
#include "environment/WindowsIdentification.h"
#include "launcher/Main.h"
#include "launcher/StartWindow.h"
#include "launcher/WorkbookRun.h"
#include "platform/FileSystem.h"

void InitDatabase(DatabaseState& database, const platform::Environment& environment, MaintenanceState& state)
{
    database.VirtualStorePath = ResolveVirtualStorePath(database, environment);
    OpenDatabase(database, environment);
    UpgradeSchema(database);

    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(kLiveMasterRow, *database.DbConnection);
    state.HonorificSetting = values::toInteger16(rs.field(QStringLiteral("compellation")));
    state.RuledLineSetting = values::toInteger16(rs.field(QStringLiteral("ruling")));
    rs.release();
    state.CreatorSearchMode = 0;
}

StartUpResult StartUp(Main& main, StartWindow& window)
{
    window.centre();
    const platform::Environment& environment = main.services.environment;
    main.database.WindowsVersionCode = IdentifyWindowsVersion(environment);
    if (CheckExcelVersion(main.services) != ExcelCheckResult::Usable)
        return StartUpResult::Refused;
    InitDatabase(main.database, environment, main.maintenance);
    if (main.database.isVistaOrLater())
        platform::removeFileIfPresent(environment.localAppData() + main.database.VirtualStorePath +
                                      kWorkbookFileName);
    window.loadMaintenanceWindowOnceShown();
    window.show();
    return StartUpResult::Shown;
}
