// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/EngineFailure.h"
#include "database/Transaction.h"
#include "platform/FileSystem.h"

#include <QProcess>

constexpr char kCases[] = "databaselocation.json";

// Where the database file is found, the per-user copy, the connection string and opening failures, with
// the cases of databaselocation.json.
class DatabaseLocationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> f;

    // A program on the given Windows and virtualised folder that has not opened its database yet.
    DatabaseState& fresh(double code, const QString& store)
    {
        f->program = f->install.makeMain(code);
        f->program->database.VirtualStorePath = store;
        return f->program->database;
    }
    void openDatabase() { OpenDatabase(f->program->database, f->program->services.environment); }
    QString masterId() const
    {
        f->rs().open("MST WHERE 削除日 IS NULL AND ID = 1", f->db());
        const QString id = f->rs().field("masterID").toString();
        f->rs().release();
        return id;
    }
    static RuntimeError thrown(const std::function<void()>& run)
    {
        try {
            run();
        } catch (const RuntimeError& error) {
            return error;
        }
        return RuntimeError(0, "no run-time error");
    }

    // Runs what must fail with an engine error, and checks the report a user reads: the number, a Japanese
    // sentence first, the database file's full path, and the engine's own text on the last line.
    static void verifyEngineFailure(const std::function<void()>& run, int number, const QString& sentence,
                                    const QString& file)
    {
        const RuntimeError error = thrown(run);
        const QStringList lines = error.description().split(QLatin1Char('\n'));
        QCOMPARE(error.number(), number);
        QVERIFY2(lines.size() == 3, qPrintable(error.description()));
        QVERIFY2(lines[0].startsWith(sentence), qPrintable(lines[0]));
        QCOMPARE(lines[1], "ファイル: " + QDir::toNativeSeparators(file));
        QVERIFY2(!lines[2].isEmpty() && lines[2].at(0).unicode() < 0x80, qPrintable(lines[2]));
    }

private Q_SLOTS:
    void init() { f = std::make_unique<ProgramFixture>(); }
    void cleanup() { f.reset(); }

    // Older Windows use the installed file in place; newer ones a per-user copy made once from it, in the
    // virtualised folder or, without one, in the local application data itself (where a file of no bytes
    // holds nothing and is made anew). A missing installed file (for the cases without a virtualised folder)
    // or folder fails the open, leaving no half file behind and no file the engine made.
    void whereTheFileLies_data() { addJsonCases(kCases, "whereTheFileLies", {"code", "store", "failure"}); }
    void whereTheFileLies()
    {
        QFETCH(QJsonValue, code);
        QFETCH(QJsonValue, store);
        QFETCH(QJsonValue, failure);
        if (failure.isDouble()) {
            if (store.toString().isEmpty())
                QFile::remove(f->install.installedDatabase());
            fresh(code.toDouble(), store.toString());
            HANAPLAN_VERIFY_RUNTIME_ERROR(openDatabase(), failure.toInt());
            QVERIFY(QDir(f->install.localAppData()).isEmpty());
            QCOMPARE(QFileInfo::exists(f->install.installedDatabase()), !store.toString().isEmpty());
            return;
        }
        const QString virtualStore = store.toString();
        const bool perUser = code.toDouble() > 2100;
        const QString folder = perUser ? f->install.localAppData() + virtualStore
                                       : f->install.programFiles() + QStringLiteral("\\Hanaplan");
        const QString file = platform::nativePath(folder) + "/HanacareService.mdb";
        if (perUser && virtualStore.isEmpty())
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        else if (perUser) // the program makes the last level
            QVERIFY(QDir().mkpath(QFileInfo(platform::nativePath(folder)).path()));
        // The installed file may be readable by all; a copy, which holds passwords, by its owner only.
        const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        const QFileDevice::Permissions readable = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QFile(f->install.installedDatabase()).setPermissions(owner | readable);
        DatabaseState& database = fresh(code.toDouble(), virtualStore);
        openDatabase();
        QCOMPARE(database.ConnectionString, "Driver=Microsoft Access Driver (*.mdb);DBQ=" + folder +
                                                "\\HanacareService.mdb;Password=tovelo37&pirake;");
        QCOMPARE(f->db().databaseFile(), QDir::toNativeSeparators(file));
        // The copy is hidden and system on Windows, so the look counts such files too.
        QCOMPARE(QDir(f->install.localAppData())
                     .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 !perUser);
#ifndef Q_OS_WIN // on Windows the user's own folder keeps others out; permission bits tell nothing there
        QCOMPARE(QFile(file).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 owner | (perUser ? QFileDevice::Permissions() : readable));
#endif
        // A copy is hidden and system; these are advisory, and a file system without extended attributes
        // keeps none.
        const QString probe = f->install.root() + "/probe";
        QFile(probe).open(QIODevice::WriteOnly);
        platform::setFileAttributes(probe, perUser ? 6 : 0);
        QCOMPARE(platform::fileAttributes(file), platform::fileAttributes(probe));

        // The program works on its file: a copy leaves the installed file as it was, and a newer installed
        // file never replaces it. A second open replaces both objects even without a close between.
        f->rs().open("MST", f->db());
        f->rs().setField("masterID", "changed");
        f->rs().release();
        QCOMPARE(f->sql("SELECT masterID FROM MST").toString(), perUser ? "master" : "changed");
        if (perUser)
            f->sql("UPDATE MST SET masterID = 'newer seed'");
        f->rs().setCursorLocation(SharedRecordset::ClientSideCursor);
        QCOMPARE(f->rs().cursorLocation(), SharedRecordset::ClientSideCursor);
        openDatabase();
        QCOMPARE(f->rs().cursorLocation(), SharedRecordset::ServerSideCursor);
        QCOMPARE(masterId(), "changed");
        CloseDatabase(database);
        QVERIFY(!database.DbConnection && !database.SharedRecordset);
    }

    // The engine follows the file's first bytes: SQLite's file opens with the embedded engine; Jet's or ACE's
    // is an Access database, opened through ODBC on Windows and refused by name elsewhere; anything else, a
    // file of no bytes included, is a damaged file.
    void engineByTheFile_data()
    {
        addJsonCases(kCases, "engineByTheFile", {"head", "engine"});
    }
    void engineByTheFile()
    {
        QFETCH(QJsonValue, head);
        QFETCH(QJsonValue, engine);
        const QString file = f->install.installedDatabase();
        if (head.isString()) {
            QFile data(file);
            const QByteArray bytes = head.toString().toLatin1();
            QVERIFY(data.open(QIODevice::WriteOnly | QIODevice::Truncate));
            data.write(bytes.isEmpty() ? bytes : bytes + QByteArray(2048, '\0'));
        }
        if (engine.isDouble()) {
            verifyEngineFailure([&] { f->open(); }, engine.toInt(), "データベースファイルが壊れているか",
                                file);
        } else if (engine.toString() == QLatin1String("embedded")) {
            f->open();
            QCOMPARE(f->db().engine(), DbConnection::Engine::Embedded);
            QCOMPARE(masterId(), "master");
        } else {
#ifdef Q_OS_WIN
            // No Access driver is registered here: the open goes to ODBC and fails there.
            HANAPLAN_VERIFY_RUNTIME_ERROR(f->open(), ErrorNumber::ProviderError);
            QCOMPARE(f->db().engine(), DbConnection::Engine::AccessOdbc);
#else
            const RuntimeError error = thrown([&] { f->open(); });
            QCOMPARE(error.number(), ErrorNumber::ProviderError);
            QCOMPARE(error.description(),
                     QStringLiteral("データベースファイルは Access のデータベースです。"
                                    "このプログラムは Windows 以外では Access のデータベースを開けません。"
                                    "\nファイル: ") +
                         file);
#endif
        }
    }

    // A table or column the file lacks, a file that is no database or is damaged (bytes written at an offset,
    // a text so many times): the open and a statement run after it fail with the engine's code.
    void engineFailures_data()
    {
        addJsonCases(kCases, "engineFailures", {"sql", "overwrite", "statement", "number", "sentence"});
    }
    void engineFailures()
    {
        QFETCH(QJsonValue, sql);
        QFETCH(QJsonValue, overwrite);
        QFETCH(QJsonValue, statement);
        QFETCH(QJsonValue, number);
        QFETCH(QJsonValue, sentence);
        if (!sql.toString().isEmpty())
            f->sql(sql.toString());
        if (overwrite.isArray()) {
            QFile file(f->install.installedDatabase());
            const QByteArray bytes = overwrite[1].toString().toUtf8().repeated(overwrite[2].toInt());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(overwrite[0].toInt()) &&
                    file.write(bytes) > 0);
        }
        verifyEngineFailure(
            [&] {
                f->open();
                f->rs().open(statement.toString(), f->db());
            },
            number.toInt(), sentence.toString(), f->install.installedDatabase());
    }

    void databaseLockedByAnotherProcess()
    {
#ifdef Q_OS_WIN
        QSKIP("The lock is held by the build machine's sqlite3, which a Windows program cannot start");
#endif
        QProcess holder;
        // stdbuf: the engine's shell buffers its output when it writes to a pipe.
        holder.start("stdbuf", {"-o0", QStringLiteral(SQLITE3_EXECUTABLE), f->install.installedDatabase()});
        QVERIFY(holder.waitForStarted());
        holder.write("BEGIN EXCLUSIVE;\nSELECT 'locked';\n");
        QByteArray said;
        QTRY_VERIFY((said += holder.readAllStandardOutput()).contains("locked"));
        verifyEngineFailure([&] { f->open(); }, 5, "データベースファイルは他のプログラムが使用中です。",
                            f->install.installedDatabase());
        holder.write("ROLLBACK;\n.quit\n");
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished());
        f->open(); // once released, the same file opens
        QCOMPARE(masterId(), "master");
        // A full disk cannot be made here; its code reads as such.
        QVERIFY(DescribeEngineFailure(13, "database or disk is full", QString())
                    .startsWith("ディスクの空き容量が足りない"));
    }

    // A commit that fails is described by the engine's code, as a failed statement is (here the lock of a
    // reader in another connection, as a full disk at the commit would be), and takes the save back.
    void failedCommit()
    {
        f->open();
        const DatabaseInspector reader(f->install.installedDatabase());
        {
            Transaction save(f->db(), f->rs());
            f->rs().open("MST", f->db());
            f->rs().setField("ruling", 1);
            f->rs().release();
            reader.value("BEGIN");
            reader.value("SELECT ruling FROM MST");
            verifyEngineFailure([&] { save.commit(); }, 5,
                                "データベースファイルは他のプログラムが使用中です。",
                                f->install.installedDatabase());
        }
        reader.value("ROLLBACK");
        QCOMPARE(reader.value("SELECT ruling FROM MST").toInt(), 0);
    }

    void readOnlyPerUserFile()
    {
        f->open(3000);
        CloseDatabase(f->program->database);
        const QString copy = f->install.localAppData() + "/HanacareService.mdb";
        platform::setFileAttributes(copy, platform::FileAttribute::ReadOnly);
        f->open(3000);
        QCOMPARE(masterId(), "master"); // reading works
        f->rs().open("MST", f->db());
        f->rs().setField("ruling", 1);
        verifyEngineFailure([&] { f->rs().update(); }, 8, "データベースファイルが読み取り専用のため", copy);
        f->rs().discard();
        CloseDatabase(f->program->database);
        QCOMPARE(DatabaseInspector(copy).value("SELECT ruling FROM MST").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(DatabaseLocationTest)
#include "tst_databaselocation.moc"
