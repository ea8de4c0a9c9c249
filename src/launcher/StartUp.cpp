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

void InitDatabase(Main& main)
{
    main.VirtualStorePath = ResolveVirtualStorePath(main);
    OpenDatabase(main);
    UpgradeSchema(main);

    SharedRecordset& rs = *main.SharedRecordset;
    rs.open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"), *main.DbConnection);
    main.HonorificSetting = values::toInteger16(rs.field(QStringLiteral("compellation")));
    main.RuledLineSetting = values::toInteger16(rs.field(QStringLiteral("ruling")));
    rs.release();
    main.CreatorSearchMode = 0;
}

StartUpResult StartUp(Main& main, StartWindow& window)
{
    window.centre();
    main.WindowsVersionCode = IdentifyWindowsVersion(main.environment);
    if (CheckExcelVersion(main) != ExcelCheckResult::Usable)
        return StartUpResult::Refused;
    InitDatabase(main);
    if (main.isVistaOrLater())
        platform::removeFileIfPresent(main.environment.localAppData() + main.VirtualStorePath +
                                      kWorkbookFileName);
    window.loadMaintenanceWindowOnceShown();
    window.show();
    return StartUpResult::Shown;
}
