// SPDX-License-Identifier: MIT
#include "database/Database.h"

#include "database/DatabaseState.h"
#include "database/Values.h"
#include "platform/Environment.h"
#include "platform/Events.h"
#include "platform/FileSystem.h"

QString BuildConnectionString(const QString& folder)
{
    return QStringLiteral("Driver=Microsoft Access Driver (*.mdb);") + QStringLiteral("DBQ=") + folder +
           kDatabaseFileName + QStringLiteral(";") + QStringLiteral("Password=tovelo37&pirake;");
}

QString ResolveVirtualStorePath(const DatabaseState& database, const platform::Environment& environment)
{
    if (!database.isVistaOrLater())
        return QString();
    const QString localAppData = environment.localAppData();
    if (platform::folderExists(
            platform::nativePath(localAppData + QStringLiteral("\\VirtualStore\\Program Files"))))
        return QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan");
    if (platform::folderExists(
            platform::nativePath(localAppData + QStringLiteral("\\VirtualStore\\Program Files (x86)"))))
        return QStringLiteral("\\VirtualStore\\Program Files (x86)\\Hanaplan");
    return QString();
}

void OpenDatabase(DatabaseState& database, const platform::Environment& environment)
{
    const QString installedFolder = environment.programFiles() + QStringLiteral("\\Hanaplan");
    QString folder = installedFolder;
    if (database.isVistaOrLater()) {
        folder = environment.localAppData() + database.VirtualStorePath;
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
    database.ConnectionString = BuildConnectionString(folder);

    database.SharedRecordset.reset();
    database.DbConnection.reset();
    database.DbConnection = std::make_unique<DbConnection>();
    database.SharedRecordset = std::make_unique<SharedRecordset>();
    database.DbConnection->setConnectionString(database.ConnectionString);
    database.DbConnection->setBusyTimeout(database.databaseBusyTimeout);
    database.DbConnection->open();
}

void CloseDatabase(DatabaseState& database)
{
    database.SharedRecordset.reset();
    if (database.DbConnection)
        database.DbConnection->close();
    database.DbConnection.reset();
}

QString QuoteSql(const QString& text)
{
    QString quoted = values::trimBlanks(text);
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return quoted;
}
