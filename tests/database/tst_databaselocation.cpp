// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/EngineFailure.h"
#include "database/Transaction.h"
#include "platform/FileSystem.h"

#include <QProcess>

// Where the database file is found, the per-user copy, the connection string and opening failures, with
// the cases of databaselocation.json.
class DatabaseLocationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;

    static QString masterId(Main& program)
    {
        program.database.SharedRecordset->open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"),
                                               *program.database.DbConnection);
        const QString id = program.database.SharedRecordset->field(QStringLiteral("masterID")).toString();
        program.database.SharedRecordset->release();
        return id;
    }

    // Runs what must fail with an engine error, and checks the report a user reads: the number, a Japanese
    // sentence first, the database file's full path, and the engine's own text on the last line.
    static void verifyEngineFailure(const std::function<void()>& run, int number, const QString& sentence,
                                    const QString& file)
    {
        try {
            run();
        } catch (const RuntimeError& error) {
            const QStringList lines = error.description().split(QLatin1Char('\n'));
            QCOMPARE(error.number(), number);
            QVERIFY2(lines.size() == 3, qPrintable(error.description()));
            QVERIFY2(lines[0].startsWith(sentence), qPrintable(lines[0]));
            QCOMPARE(lines[1], QStringLiteral("ファイル: ") + QDir::toNativeSeparators(file));
            QVERIFY2(!lines[2].isEmpty() && lines[2].at(0).unicode() < 0x80, qPrintable(lines[2]));
            return;
        }
        QFAIL("no run-time error");
    }

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
    }
    void cleanup() { install.reset(); }

    // Older Windows use the installed file in place; newer ones a per-user copy made once from it, in the
    // virtualised folder or, without one, in the local application data itself (where a file of no bytes
    // holds nothing and is made anew).
    void whereTheFileLies_data()
    {
        addJsonCases("databaselocation.json", "whereTheFileLies", {"code", "store"});
    }
    void whereTheFileLies()
    {
        QFETCH(QJsonValue, code);
        QFETCH(QJsonValue, store);
        const QString virtualStore = store.toString();
        const bool perUser = code.toDouble() > 2100;
        const QString folder = perUser ? install->localAppData() + virtualStore
                                       : install->programFiles() + QStringLiteral("\\Hanaplan");
        const QString file = platform::nativePath(folder) + QStringLiteral("/HanacareService.mdb");
        if (perUser && virtualStore.isEmpty())
            QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        else if (perUser)
            QVERIFY(QDir().mkpath(
                QFileInfo(platform::nativePath(folder)).path())); // the program makes the last level
        // The installed file may be readable by all; a copy, which holds passwords, by its owner only.
        const QFileDevice::Permissions readable = QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QFile(install->installedDatabase())
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | readable);
        auto program = install->makeMain(code.toDouble());
        program->database.VirtualStorePath = virtualStore;
        OpenDatabase(program->database, program->services.environment);
        QCOMPARE(program->database.ConnectionString,
                 QStringLiteral("Driver=Microsoft Access Driver (*.mdb);DBQ=") + folder +
                     QStringLiteral("\\HanacareService.mdb;Password=tovelo37&pirake;"));
        QCOMPARE(program->database.DbConnection->databaseFile(), QDir::toNativeSeparators(file));
        // The copy is hidden and system on Windows, so the look counts such files too.
        QCOMPARE(QDir(install->localAppData())
                     .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 !perUser);
#ifndef Q_OS_WIN // on Windows the user's own folder keeps others out; permission bits tell nothing there
        QCOMPARE(QFile(file).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                     (perUser ? QFileDevice::Permissions() : readable));
#endif
        // A copy is hidden and system; these are advisory, and a file system without extended attributes
        // keeps none.
        const QString probe = install->root() + QStringLiteral("/probe");
        QFile(probe).open(QIODevice::WriteOnly);
        platform::setFileAttributes(probe, perUser ? 6 : 0);
        QCOMPARE(platform::fileAttributes(file), platform::fileAttributes(probe));

        // The program works on its file: a copy leaves the installed file as it was, and a newer installed
        // file never replaces it. A second open replaces both objects even without a close between.
        program->database.SharedRecordset->open(QStringLiteral("MST"), *program->database.DbConnection);
        program->database.SharedRecordset->setField(QStringLiteral("masterID"), QStringLiteral("changed"));
        program->database.SharedRecordset->release();
        const DatabaseInspector seed(install->installedDatabase());
        QCOMPARE(seed.value(QStringLiteral("SELECT masterID FROM MST")).toString(),
                 perUser ? QStringLiteral("master") : QStringLiteral("changed"));
        if (perUser)
            seed.value(QStringLiteral("UPDATE MST SET masterID = 'newer seed'"));
        program->database.SharedRecordset->setCursorLocation(SharedRecordset::ClientSideCursor);
        QCOMPARE(program->database.SharedRecordset->cursorLocation(), SharedRecordset::ClientSideCursor);
        OpenDatabase(program->database, program->services.environment);
        QCOMPARE(program->database.SharedRecordset->cursorLocation(), SharedRecordset::ServerSideCursor);
        QCOMPARE(masterId(*program), QStringLiteral("changed"));
        CloseDatabase(program->database);
        QVERIFY(!program->database.DbConnection && !program->database.SharedRecordset);
    }

    // A missing file or folder fails the open, leaving no half file behind and no file the engine made.
    void missingFiles_data()
    {
        addJsonCases("databaselocation.json", "missingFiles", {"code", "store", "seed", "number"});
    }
    void missingFiles()
    {
        QFETCH(QJsonValue, code);
        QFETCH(QJsonValue, store);
        QFETCH(QJsonValue, seed);
        QFETCH(QJsonValue, number);
        if (!seed.toBool())
            QFile::remove(install->installedDatabase());
        auto program = install->makeMain(code.toDouble());
        program->database.VirtualStorePath = store.toString();
        HANAPLAN_VERIFY_RUNTIME_ERROR(OpenDatabase(program->database, program->services.environment),
                                      number.toInt());
        QVERIFY(QDir(install->localAppData()).isEmpty());
        QCOMPARE(QFileInfo::exists(install->installedDatabase()), seed.toBool());
    }

    // The engine follows the file's first bytes: SQLite's file opens with the embedded engine; Jet's or ACE's
    // is an Access database, opened through ODBC on Windows and refused by name elsewhere; anything else, a
    // file of no bytes included, is a damaged file.
    void engineByTheFile_data()
    {
        addJsonCases("databaselocation.json", "engineByTheFile", {"head", "engine"});
    }
    void engineByTheFile()
    {
        QFETCH(QJsonValue, head);
        QFETCH(QJsonValue, engine);
        const QString file = install->installedDatabase();
        if (head.isString()) {
            QFile data(file);
            QVERIFY(data.open(QIODevice::WriteOnly | QIODevice::Truncate));
            const QByteArray bytes = head.toString().toLatin1();
            data.write(bytes.isEmpty() ? bytes : bytes + QByteArray(2048, '\0'));
        }
        auto program = install->makeMain();
        if (engine.isDouble()) {
            verifyEngineFailure([&] { OpenDatabase(program->database, program->services.environment); },
                                engine.toInt(), QStringLiteral("データベースファイルが壊れているか"), file);
        } else if (engine.toString() == QLatin1String("embedded")) {
            OpenDatabase(program->database, program->services.environment);
            QCOMPARE(program->database.DbConnection->engine(), DbConnection::Engine::Embedded);
            QCOMPARE(masterId(*program), QStringLiteral("master"));
        } else {
#ifdef Q_OS_WIN
            // No Access driver is registered here: the open goes to ODBC and fails there.
            HANAPLAN_VERIFY_RUNTIME_ERROR(OpenDatabase(program->database, program->services.environment),
                                          ErrorNumber::ProviderError);
            QCOMPARE(program->database.DbConnection->engine(), DbConnection::Engine::AccessOdbc);
#else
            try {
                OpenDatabase(program->database, program->services.environment);
                QFAIL("an Access file was opened");
            } catch (const RuntimeError& error) {
                QCOMPARE(error.number(), ErrorNumber::ProviderError);
                QCOMPARE(
                    error.description(),
                    QStringLiteral("データベースファイルは Access のデータベースです。"
                                   "このプログラムは Windows 以外では Access のデータベースを開けません。"
                                   "\nファイル: ") +
                        file);
            }
#endif
        }
    }

    // A table or column the file lacks, a file that is no database or is damaged (bytes written at an offset,
    // a text so many times): the open and a statement run after it fail with the engine's code.
    void engineFailures_data()
    {
        addJsonCases("databaselocation.json", "engineFailures",
                     {"sql", "overwrite", "statement", "number", "sentence"});
    }
    void engineFailures()
    {
        QFETCH(QJsonValue, sql);
        QFETCH(QJsonValue, overwrite);
        QFETCH(QJsonValue, statement);
        QFETCH(QJsonValue, number);
        QFETCH(QJsonValue, sentence);
        if (!sql.toString().isEmpty())
            DatabaseInspector(install->installedDatabase()).value(sql.toString());
        if (overwrite.isArray()) {
            QFile file(install->installedDatabase());
            const QByteArray bytes = overwrite[1].toString().toUtf8().repeated(overwrite[2].toInt());
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(overwrite[0].toInt()) &&
                    file.write(bytes) > 0);
        }
        auto program = install->makeMain();
        verifyEngineFailure(
            [&] {
                OpenDatabase(program->database, program->services.environment);
                program->database.SharedRecordset->open(statement.toString(),
                                                        *program->database.DbConnection);
            },
            number.toInt(), sentence.toString(), install->installedDatabase());
    }

    void databaseLockedByAnotherProcess()
    {
#ifdef Q_OS_WIN
        QSKIP("The lock is held by the build machine's sqlite3, which a Windows program cannot start");
#endif
        QProcess holder;
        // stdbuf: the engine's shell buffers its output when it writes to a pipe.
        holder.start(QStringLiteral("stdbuf"), {QStringLiteral("-o0"), QStringLiteral(SQLITE3_EXECUTABLE),
                                                install->installedDatabase()});
        QVERIFY(holder.waitForStarted());
        holder.write("BEGIN EXCLUSIVE;\nSELECT 'locked';\n");
        QByteArray said;
        QTRY_VERIFY((said += holder.readAllStandardOutput()).contains("locked"));
        auto program = install->makeMain();
        verifyEngineFailure([&] { OpenDatabase(program->database, program->services.environment); }, 5,
                            QStringLiteral("データベースファイルは他のプログラムが使用中です。"),
                            install->installedDatabase());
        holder.write("ROLLBACK;\n.quit\n");
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished());
        OpenDatabase(program->database, program->services.environment); // once released, the same file opens
        QCOMPARE(masterId(*program), QStringLiteral("master"));
        // A full disk cannot be made here; its code reads as such.
        QVERIFY(DescribeEngineFailure(13, QStringLiteral("database or disk is full"), QString())
                    .startsWith(QStringLiteral("ディスクの空き容量が足りない")));
    }

    // A commit that fails is described by the engine's code, as a failed statement is (here the lock of a
    // reader in another connection, as a full disk at the commit would be), and takes the save back.
    void failedCommit()
    {
        auto program = install->makeMain();
        OpenDatabase(program->database, program->services.environment);
        const DatabaseInspector reader(install->installedDatabase());
        {
            Transaction save(*program->database.DbConnection, *program->database.SharedRecordset);
            program->database.SharedRecordset->open(QStringLiteral("MST"), *program->database.DbConnection);
            program->database.SharedRecordset->setField(QStringLiteral("ruling"), 1);
            program->database.SharedRecordset->release();
            reader.value(QStringLiteral("BEGIN"));
            reader.value(QStringLiteral("SELECT ruling FROM MST"));
            verifyEngineFailure([&] { save.commit(); }, 5,
                                QStringLiteral("データベースファイルは他のプログラムが使用中です。"),
                                install->installedDatabase());
        }
        reader.value(QStringLiteral("ROLLBACK"));
        QCOMPARE(reader.value(QStringLiteral("SELECT ruling FROM MST")).toInt(), 0);
    }

    void readOnlyPerUserFile()
    {
        auto program = install->makeMain(3000);
        OpenDatabase(program->database, program->services.environment);
        CloseDatabase(program->database);
        const QString copy = install->localAppData() + QStringLiteral("/HanacareService.mdb");
        platform::setFileAttributes(copy, platform::FileAttribute::ReadOnly);
        OpenDatabase(program->database, program->services.environment);
        QCOMPARE(masterId(*program), QStringLiteral("master")); // reading works
        program->database.SharedRecordset->open(QStringLiteral("MST"), *program->database.DbConnection);
        program->database.SharedRecordset->setField(QStringLiteral("ruling"), 1);
        verifyEngineFailure([&] { program->database.SharedRecordset->update(); }, 8,
                            QStringLiteral("データベースファイルが読み取り専用のため"), copy);
        program->database.SharedRecordset->discard();
        CloseDatabase(program->database);
        QCOMPARE(DatabaseInspector(copy).value(QStringLiteral("SELECT ruling FROM MST")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(DatabaseLocationTest)
#include "tst_databaselocation.moc"
