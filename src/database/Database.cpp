// SPDX-License-Identifier: MIT
#include "database/Database.h"

#include "database/DatabaseState.h"
#include "database/Values.h"
#include "platform/Events.h"
#include "platform/FileSystem.h"

QString BuildConnectionString(const QString& folder)
{
    return QStringLiteral("Driver=Microsoft Access Driver (*.mdb);") + QStringLiteral("DBQ=") + folder +
           kDatabaseFileName + QStringLiteral(";") + QStringLiteral("Password=tovelo37&pirake;");
}

QString ResolveVirtualStorePath(const DatabaseState& main)
{
    if (!main.isVistaOrLater())
        return QString();
    const QString localAppData = main.environment.localAppData();
    if (platform::folderExists(
            platform::nativePath(localAppData + QStringLiteral("\\VirtualStore\\Program Files"))))
        return QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan");
    if (platform::folderExists(
            platform::nativePath(localAppData + QStringLiteral("\\VirtualStore\\Program Files (x86)"))))
        return QStringLiteral("\\VirtualStore\\Program Files (x86)\\Hanaplan");
    return QString();
}

void OpenDatabase(DatabaseState& main)
{
    const QString installedFolder = main.environment.programFiles() + QStringLiteral("\\Hanaplan");
    QString folder = installedFolder;
    if (main.isVistaOrLater()) {
        folder = main.environment.localAppData() + main.VirtualStorePath;
        const QString nativeFolder = platform::nativePath(folder);
        if (!platform::folderExists(nativeFolder))
            platform::createFolder(nativeFolder);
        const QString file = platform::nativePath(folder + kDatabaseFileName);
        // A file of no bytes holds no database (an interrupted copy, a full disk): it is made anew from the
        // installed file, as a missing one is. Any other existing file is the user's data and is kept.
        if (!platform::fileExists(file) || platform::fileSize(file) == 0) {
            platform::copyFile(platform::nativePath(installedFolder + kDatabaseFileName), file);
            platform::setFileAttributes(file,
                                        platform::FileAttribute::Hidden | platform::FileAttribute::System);
            // The copy holds the master and creator passwords.
            platform::restrictToOwner(file);
            platform::letPendingMessagesRun();
        }
    }
    main.ConnectionString = BuildConnectionString(folder);

    main.SharedRecordset.reset();
    main.DbConnection.reset();
    main.DbConnection = std::make_unique<DbConnection>();
    main.SharedRecordset = std::make_unique<SharedRecordset>();
    main.DbConnection->setConnectionString(main.ConnectionString);
    main.DbConnection->setBusyTimeout(main.databaseBusyTimeout);
    main.DbConnection->open();
}

void CloseDatabase(DatabaseState& main)
{
    main.SharedRecordset.reset();
    if (main.DbConnection)
        main.DbConnection->close();
    main.DbConnection.reset();
}

QString QuoteSql(const QString& text)
{
    QString quoted = values::trimBlanks(text);
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return quoted;
}
