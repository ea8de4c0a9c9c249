// SPDX-License-Identifier: MIT
#include "database/Database.h"

#include "database/DatabaseState.h"
#include "database/Values.h"
#include "platform/Events.h"
#include "platform/FileSystem.h"
#include "platform/SystemRegistry.h"

QString BuildConnectionString(const QString& folder)
{
    return QStringLiteral("Driver=Microsoft Access Driver (*.mdb);") + QStringLiteral("DBQ=") + folder +
           kDatabaseFileName + QStringLiteral(";") + QStringLiteral("Password=tovelo37&pirake;");
}

QString ResolveVirtualStorePath(const DatabaseState& main)
{
    if (main.WindowsVersionCode <= 2100)
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

DbConnection::Engine InstalledDatabaseEngine(const platform::Environment& environment)
{
    const std::optional<platform::RegistryValue> value = platform::querySystemRegistryValue(
        environment, platform::RegistryRoot::LocalMachine, kProductKey, kDatabaseEngineValue, 2048);
    if (!value || (value->type != platform::RegistryType::String &&
                   value->type != platform::RegistryType::ExpandString))
        return DbConnection::Engine::Embedded;
    const qsizetype end = value->data.indexOf('\0');
    const QString name = QString::fromUtf8(end < 0 ? value->data : value->data.left(end)).trimmed();
    return name.compare(QLatin1String("Access"), Qt::CaseInsensitive) == 0 ? DbConnection::Engine::AccessOdbc
                                                                           : DbConnection::Engine::Embedded;
}

void OpenDatabase(DatabaseState& main)
{
    const QString installedFolder = main.environment.programFiles() + QStringLiteral("\\Hanaplan");
    QString folder = installedFolder;
    if (main.WindowsVersionCode > 2100) {
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
    main.DbConnection->setEngine(InstalledDatabaseEngine(main.environment));
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
