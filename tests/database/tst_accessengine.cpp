// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/SchemaUpgrade.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// A file's name on the machine whose ODBC driver manager serves the test: under Wine, the Unix name Wine
// gives the Windows path.
static QString buildMachinePath(const QString& file)
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

// The record set and the schema upgrade on the Access engine's path, through QtSql's ODBC driver and the
// driver manager, with SQLite's ODBC driver registered under the Access driver's name. SQLite takes Access's
// bracketed names and gives a table's rows keys of their own (rowid) apart from their ID, so a row written
// back by the wrong key shows; of the Access dialect, only "SELECT @@IDENTITY" is beyond it.
class AccessEngineTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> f;

    // The program on the installed copy of a fixture, changed as given, connected through ODBC as Access.
    void openThroughOdbc(const QString& fixture, const QStringList& changes = {})
    {
        f = std::make_unique<ProgramFixture>(fixture, changes);
        const QString file = f->install.installedDatabase();
        f->program = f->install.makeMain();
        f->program->database.DbConnection = std::make_unique<DbConnection>();
        f->program->database.SharedRecordset = std::make_unique<SharedRecordset>();
        // Database= is the key the stand-in driver reads the file from, by the build machine's name for it;
        // the Access driver reads DBQ=.
        f->db().setConnectionString("Driver=Microsoft Access Driver (*.mdb);DBQ=" + file +
                                    ";Database=" + buildMachinePath(file) + ";Password=tovelo37&pirake;");
        f->db().setEngine(DbConnection::Engine::AccessOdbc);
        f->db().open();
    }
    DbConnection& db() { return f->db(); }
    SharedRecordset& rs() { return f->rs(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QSqlDatabase::isDriverAvailable("QODBC"), "QtSql's ODBC driver is installed");
        QVERIFY2(!qEnvironmentVariableIsEmpty("ODBCSYSINI"),
                 "the stand-in driver is registered (run by ctest)");
    }
    void cleanup() { f.reset(); }

    // Access's dialect, which the stand-in cannot tell from the embedded engine's.
    void dialects()
    {
        DbConnection connection;
        QCOMPARE(connection.quoteName("a\"b"), "\"a\"\"b\"");
        connection.setEngine(DbConnection::Engine::AccessOdbc);
        QCOMPARE((QStringList{connection.quoteName("作成者"), connection.dialect().lastAddedKeyQuery}),
                 (QStringList{"[作成者]", "SELECT @@IDENTITY"}));
    }

    // A change goes to the row it was made on, found by the table's ID, by its one-column primary key where
    // it has no ID, and by its new ID once the ID itself was changed; a table with neither key is read-only.
    void rowsAreWrittenBackByTheirKey()
    {
        openThroughOdbc("installed", jsonCases("recordset.json")["keyedTables"].toVariant().toStringList());

        rs().open("SELECT * FROM 記録 ORDER BY ID", db());
        rs().setField("内容", "拾");
        rs().moveNext();
        rs().setField("ID", 21);
        rs().update();
        rs().setField("内容", "弐拾壱");
        rs().release();
        QCOMPARE(f->rows("SELECT ID, 内容 FROM 記録 ORDER BY rowid"),
                 (QList<QVariantList>{{30, "三十"}, {10, "拾"}, {21, "弐拾壱"}}));

        rs().open("区分 WHERE コード = 'b'", db());
        rs().setField("内容", "は");
        rs().release();
        QCOMPARE(f->rows("SELECT 内容 FROM 区分 ORDER BY rowid"), (QList<QVariantList>{{"い"}, {"は"}}));

        rs().open("重複", db());
        rs().setField("内容", "丙");
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().update(), ErrorNumber::ProviderError);
        rs().discard();
        QCOMPARE(f->rows("SELECT 内容 FROM 重複 ORDER BY rowid"), (QList<QVariantList>{{"甲"}, {"乙"}}));

        rs().open("覚え", db());
        QCOMPARE(rs().field("内容").toString(), "メモ");
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setField("内容", QString()), ErrorNumber::NotSupported);
        rs().release();
    }

    // An added row is read back by the ID it was given and can be changed at once. (A row whose AutoNumber
    // the engine gives is read back through @@IDENTITY, which only Access itself answers.) A driver's native
    // error numbers are its own: a failure is reported under the provider's number.
    void addedRowsAndFailures()
    {
        openThroughOdbc("installed", {"INSERT INTO temp (ID) VALUES (4), (5)", "DELETE FROM temp"});
        rs().open("SELECT * FROM temp", db());
        rs().addNew();
        rs().setField("ID", 42);
        rs().update();
        rs().setField("ID", 43);
        rs().release();
        QCOMPARE(f->rows("SELECT ID FROM temp"), (QList<QVariantList>{{43}}));
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().open("無い表", db()), ErrorNumber::ProviderError);
        QVERIFY(!rs().isOpen());
    }

    // The oldest file, with its conversions of numbers to text, comes out of the upgrade with the same rows
    // on both engines, its statements sent as written. A provider number beyond 32 bits, which an Access Long
    // cannot hold and the stand-in driver reads as one, is left to the embedded engine's tests.
    void upgradeGivesTheSameRows()
    {
        const QString within32Bits = "UPDATE 事業者 SET 事業者番号 = 567890123 WHERE 事業者番号 > 2147483647";
        openThroughOdbc("unversioned", {within32Bits});
        UpgradeSchema(f->program->database);
        f->program.reset();
        const QString throughOdbc = DatabaseInspector(f->install.installedDatabase()).dump(false);
        const QString mst = f->sql("SELECT sql FROM sqlite_master WHERE name = 'MST'").toString();
        QVERIFY2(mst.contains("stampcont Memo"), "Access's own DDL went as written");

        f->install.installDatabase("unversioned");
        f->sql(within32Bits);
        f->open();
        UpgradeSchema(f->program->database);
        CloseDatabase(f->program->database);
        QCOMPARE(throughOdbc, DatabaseInspector(f->install.installedDatabase()).dump(false));
    }
};

QTEST_GUILESS_MAIN(AccessEngineTest)
#include "tst_accessengine.moc"
