// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/SchemaUpgrade.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A file's name on the machine whose ODBC driver manager serves the test: under Wine, the Unix name Wine
// gives the Windows path.
QString buildMachinePath(const QString& file)
{
#ifdef Q_OS_WIN
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return file;
    const std::wstring native = QDir::toNativeSeparators(file).toStdWString();
    char* name = unixName(native.c_str());
    if (!name)
        return file;
    const QString result = QFile::decodeName(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
#else
    return file;
#endif
}

} // namespace

// The record set and the schema upgrade on the Access engine's path: the connection string handed to
// QtSql's ODBC driver and the driver manager, with an ODBC driver for SQLite registered under the Access
// driver's name in place of the Access driver. SQLite takes Access's bracketed names and gives a table's
// rows keys of its own (rowid) that differ from their ID, so a row written back by the wrong key shows. It
// cannot parse "SELECT @@IDENTITY": that one query of the Access dialect is the stand-in's own.
class AccessEngineTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    std::unique_ptr<DatabaseInspector> inspect;

    DbConnection& db() { return *program->database.DbConnection; }
    SharedRecordset& rs() { return *program->database.SharedRecordset; }

    // The program's state on the installed copy of a fixture, connected through ODBC as Access.
    void openThroughOdbc(const QString& fixture)
    {
        install->installDatabase(fixture);
        const QString file = install->installedDatabase();
        program = install->makeMain();
        program->database.DbConnection = std::make_unique<DbConnection>();
        program->database.SharedRecordset = std::make_unique<SharedRecordset>();
        // Database= is the key the stand-in driver reads the file from, by the build machine's name for it;
        // the Access driver reads DBQ=.
        db().setConnectionString(
            QStringLiteral(
                "Driver=Microsoft Access Driver (*.mdb);DBQ=%1;Database=%2;Password=tovelo37&pirake;")
                .arg(file, buildMachinePath(file)));
        db().setEngine(DbConnection::Engine::AccessOdbc);
        db().open();
        inspect = std::make_unique<DatabaseInspector>(file);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")),
                 "QtSql's ODBC driver is installed");
        QVERIFY2(!qEnvironmentVariableIsEmpty("ODBCSYSINI"),
                 "the stand-in driver is registered (run by ctest)");
    }
    void init() { install = std::make_unique<TestInstallation>(); }
    void cleanup()
    {
        inspect.reset();
        program.reset();
        install.reset();
    }

    // Access's dialect, which the stand-in cannot tell from the embedded engine's.
    void dialects()
    {
        DbConnection connection;
        QCOMPARE(connection.quoteName(QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
        connection.setEngine(DbConnection::Engine::AccessOdbc);
        QCOMPARE(connection.quoteName(QStringLiteral("作成者")), QStringLiteral("[作成者]"));
        QCOMPARE(connection.dialect().lastAddedKeyQuery, QStringLiteral("SELECT @@IDENTITY"));
        QVERIFY(connection.dialect().rowIdName.isEmpty());
        connection.setEngine(DbConnection::Engine::Embedded);
        QCOMPARE(connection.quoteName(QStringLiteral("作成者")), QStringLiteral("\"作成者\""));
    }

    // A change goes to the row it was made on, found by the table's ID, by its one-column primary key where
    // it has no ID, and by its new ID once the ID itself was changed; a table with neither key is read-only.
    void rowsAreWrittenBackByTheirKey()
    {
        openThroughOdbc(QStringLiteral("installed"));
        for (const char* statement : {
                 "CREATE TABLE 記録 (内容 TEXT, ID INTEGER)",
                 "INSERT INTO 記録 VALUES ('三十', 30), ('十', 10), ('二十', 20)",
                 "CREATE TABLE 区分 (内容 TEXT, コード TEXT PRIMARY KEY, ID INTEGER)",
                 "INSERT INTO 区分 VALUES ('い', 'a', 1), ('ろ', 'b', 1)",
                 "CREATE TABLE 重複 (内容 TEXT, ID INTEGER)",
                 "INSERT INTO 重複 VALUES ('甲', 7), ('乙', 7)",
                 "CREATE TABLE 覚え (内容 TEXT)",
                 "INSERT INTO 覚え VALUES ('メモ')",
             })
            inspect->value(QString::fromUtf8(statement));

        rs().open(QStringLiteral("SELECT * FROM 記録 ORDER BY ID"), db());
        rs().setField(QStringLiteral("内容"), QStringLiteral("拾"));
        rs().moveNext();
        rs().setField(QStringLiteral("ID"), 21);
        rs().update();
        rs().setField(QStringLiteral("内容"), QStringLiteral("弐拾壱"));
        rs().release();
        QCOMPARE(inspect->rows(QStringLiteral("SELECT ID, 内容 FROM 記録 ORDER BY rowid")),
                 (QList<QVariantList>{{30, QStringLiteral("三十")},
                                      {10, QStringLiteral("拾")},
                                      {21, QStringLiteral("弐拾壱")}}));

        rs().open(QStringLiteral("区分 WHERE コード = 'b'"), db());
        rs().setField(QStringLiteral("内容"), QStringLiteral("は"));
        rs().release();
        QCOMPARE(inspect->rows(QStringLiteral("SELECT 内容 FROM 区分 ORDER BY rowid")),
                 (QList<QVariantList>{{QStringLiteral("い")}, {QStringLiteral("は")}}));

        rs().open(QStringLiteral("重複"), db());
        rs().setField(QStringLiteral("内容"), QStringLiteral("丙"));
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().update(), ErrorNumber::ProviderError);
        rs().discard();
        QCOMPARE(inspect->rows(QStringLiteral("SELECT 内容 FROM 重複 ORDER BY rowid")),
                 (QList<QVariantList>{{QStringLiteral("甲")}, {QStringLiteral("乙")}}));

        rs().open(QStringLiteral("覚え"), db());
        QCOMPARE(rs().field(QStringLiteral("内容")).toString(), QStringLiteral("メモ"));
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setField(QStringLiteral("内容"), QString()),
                                      ErrorNumber::NotSupported);
        rs().release();
    }

    // An added row is read back by the ID it was given and can be changed at once. (A row whose AutoNumber
    // the engine gives is read back through @@IDENTITY, which only Access itself answers.)
    void addedRowsAreReadBack()
    {
        openThroughOdbc(QStringLiteral("installed"));
        inspect->value(QStringLiteral("INSERT INTO temp (ID) VALUES (4), (5)"));
        inspect->value(QStringLiteral("DELETE FROM temp"));
        rs().open(QStringLiteral("SELECT * FROM temp"), db());
        rs().addNew();
        rs().setField(QStringLiteral("ID"), 42);
        rs().update();
        rs().setField(QStringLiteral("ID"), 43);
        rs().release();
        QCOMPARE(inspect->rows(QStringLiteral("SELECT ID FROM temp")), (QList<QVariantList>{{43}}));
    }

    // A driver's native error numbers are its own: a failure is reported under the provider's number.
    void driverFailures()
    {
        openThroughOdbc(QStringLiteral("installed"));
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().open(QStringLiteral("無い表"), db()), ErrorNumber::ProviderError);
        QVERIFY(!rs().isOpen());
    }

    // The oldest file, with its conversions of numbers to text, comes out of the upgrade with the same rows
    // on both engines, its statements sent as written. A provider number beyond 32 bits, which an Access Long
    // cannot hold and the stand-in driver reads as one, is left to the embedded engine's tests.
    void upgradeGivesTheSameRows()
    {
        const QString within32Bits =
            QStringLiteral("UPDATE 事業者 SET 事業者番号 = 567890123 WHERE 事業者番号 > 2147483647");
        openThroughOdbc(QStringLiteral("unversioned"));
        inspect->value(within32Bits);
        inspect.reset();
        UpgradeSchema(program->database);
        program.reset();
        const QString throughOdbc = DatabaseInspector(install->installedDatabase()).dump(false);
        // Access's own DDL went as written.
        QVERIFY(DatabaseInspector(install->installedDatabase())
                    .value(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'MST'"))
                    .toString()
                    .contains(QStringLiteral("stampcont Memo")));

        auto embedded = install->makeMain();
        install->installDatabase(QStringLiteral("unversioned"));
        DatabaseInspector(install->installedDatabase()).value(within32Bits);
        OpenDatabase(embedded->database, embedded->services.environment);
        UpgradeSchema(embedded->database);
        CloseDatabase(embedded->database);
        QCOMPARE(throughOdbc, DatabaseInspector(install->installedDatabase()).dump(false));
        QVERIFY(throughOdbc.contains(QStringLiteral("説明を受け、同意し、交付を受けました。")));
    }
};

QTEST_GUILESS_MAIN(AccessEngineTest)
#include "tst_accessengine.moc"
