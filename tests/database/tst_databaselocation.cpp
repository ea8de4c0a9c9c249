// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/Database.h"
#include "database/EngineFailure.h"
#include "platform/FileSystem.h"

#include <QProcess>
#include <QTest>

// Where the database file is found, the per-user copy, the connection string and opening failures.
class DatabaseLocationTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;

    QString masterId(Main& program)
    {
        program.SharedRecordset->open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"),
                                      *program.DbConnection);
        const QString id = program.SharedRecordset->field(QStringLiteral("masterID")).toString();
        program.SharedRecordset->release();
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

    void connectionString()
    {
        QCOMPARE(
            BuildConnectionString(QStringLiteral("C:\\Program Files") + QStringLiteral("\\Hanaplan")),
            QStringLiteral(
                "Driver=Microsoft Access Driver (*.mdb);DBQ=C:\\Program Files\\Hanaplan\\HanacareService.mdb;"
                "Password=tovelo37&pirake;"));
    }

    void olderWindowsUsesInstalledFile_data()
    {
        QTest::addColumn<double>("code");
        QTest::newRow("XP") << 2100.0;
        QTest::newRow("Server 2003") << 2003.0;
        QTest::newRow("2000") << 2000.0;
    }
    void olderWindowsUsesInstalledFile()
    {
        QFETCH(double, code);
        auto program = install->makeMain(code);
        OpenDatabase(*program);
        QCOMPARE(program->ConnectionString,
                 BuildConnectionString(install->programFiles() + QStringLiteral("\\Hanaplan")));
        QCOMPARE(program->DbConnection->databaseFile(),
                 QDir::toNativeSeparators(install->installedDatabase()));
        QCOMPARE(masterId(*program), QStringLiteral("master"));
        QVERIFY(QDir(install->localAppData()).isEmpty());
        QCOMPARE(platform::fileAttributes(install->installedDatabase()), 0);
    }

    void newerWindowsCopiesSeedOnce()
    {
        QVERIFY(QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files (x86)")));
        auto program = install->makeMain(3100);
        program->VirtualStorePath = QStringLiteral("\\VirtualStore\\Program Files (x86)\\Hanaplan");
        OpenDatabase(*program);

        const QString copy = install->localAppData() +
                             QStringLiteral("/VirtualStore/Program Files (x86)/Hanaplan/HanacareService.mdb");
        QVERIFY(QFileInfo::exists(copy));
        QCOMPARE(program->DbConnection->databaseFile(), QDir::toNativeSeparators(copy));
        QCOMPARE(program->ConnectionString,
                 BuildConnectionString(install->localAppData() +
                                       QStringLiteral("\\VirtualStore\\Program Files (x86)\\Hanaplan")));
        // Hidden and system are advisory; a file system without extended attributes keeps none.
        const QString probe = install->root() + QStringLiteral("/probe");
        QFile(probe).open(QIODevice::WriteOnly);
        platform::setFileAttributes(probe, 6);
        QCOMPARE(platform::fileAttributes(copy), platform::fileAttributes(probe));
#ifndef Q_OS_WIN // on Windows the user's own folder keeps others out; permission bits tell nothing there
        QCOMPARE(QFile(copy).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif

        // The program works on the copy; the installed seed stays as it was.
        program->SharedRecordset->open(QStringLiteral("MST"), *program->DbConnection);
        program->SharedRecordset->setField(QStringLiteral("masterID"), QStringLiteral("changed"));
        program->SharedRecordset->release();
        CloseDatabase(*program);
        QCOMPARE(DatabaseInspector(install->installedDatabase())
                     .value(QStringLiteral("SELECT masterID FROM MST"))
                     .toString(),
                 QStringLiteral("master"));

        // A newer seed never replaces an existing per-user file.
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE MST SET masterID = 'newer seed'"));
        OpenDatabase(*program);
        QCOMPARE(masterId(*program), QStringLiteral("changed"));
    }

    void reopenMakesFreshObjects()
    {
        auto program = install->makeMain();
        OpenDatabase(*program);
        program->SharedRecordset->setCursorLocation(SharedRecordset::ClientSideCursor);
        // A second open replaces both objects even without a close between.
        OpenDatabase(*program);
        QVERIFY(program->DbConnection->isOpen());
        QCOMPARE(program->SharedRecordset->cursorLocation(), SharedRecordset::ServerSideCursor);
        QCOMPARE(masterId(*program), QStringLiteral("master"));
        CloseDatabase(*program);
        QVERIFY(!program->DbConnection);
        QVERIFY(!program->SharedRecordset);
    }

    void missingSeed()
    {
        QFile::remove(install->installedDatabase());
        auto program = install->makeMain(3100);
        HANAPLAN_VERIFY_RUNTIME_ERROR(OpenDatabase(*program), ErrorNumber::FileNotFound);
        // The folder is made, but no half file is left in it.
        QVERIFY(QDir(install->localAppData()).isEmpty());
    }

    void missingVirtualStoreParent()
    {
        auto program = install->makeMain(3100);
        program->VirtualStorePath = QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan");
        HANAPLAN_VERIFY_RUNTIME_ERROR(OpenDatabase(*program), ErrorNumber::PathNotFound);
    }

    void missingInstalledFileOnOlderWindows()
    {
        QFile::remove(install->installedDatabase());
        auto program = install->makeMain(2100);
        HANAPLAN_VERIFY_RUNTIME_ERROR(OpenDatabase(*program), ErrorNumber::ProviderError);
        QVERIFY(!QFileInfo::exists(install->installedDatabase())); // the engine did not create one
    }

    void fileThatIsNoDatabase()
    {
        QFile file(install->installedDatabase());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("計画書のメモ: これはデータベースではありません。\n").repeated(200));
        file.close();
        auto program = install->makeMain();
        verifyEngineFailure([&] { OpenDatabase(*program); }, 26,
                            QStringLiteral("データベースファイルが壊れているか"),
                            install->installedDatabase());
    }

    void damagedDatabase()
    {
        QFile file(install->installedDatabase());
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(100); // keep the header, overwrite the first page's content
        file.write(QByteArray(4000, '\xA5'));
        file.close();
        auto program = install->makeMain();
        verifyEngineFailure(
            [&] {
                OpenDatabase(*program);
                program->SharedRecordset->open(QStringLiteral("MST"), *program->DbConnection);
            },
            11, QStringLiteral("データベースファイルが壊れているか"), install->installedDatabase());
    }

    void missingTableOrColumn()
    {
        DatabaseInspector(install->installedDatabase()).value(QStringLiteral("DROP TABLE temp"));
        auto program = install->makeMain();
        OpenDatabase(*program);
        verifyEngineFailure(
            [&] {
                program->SharedRecordset->open(QStringLiteral("DELETE * FROM temp"), *program->DbConnection);
            },
            1, QStringLiteral("データベースにテーブル「temp」がありません。"), install->installedDatabase());
        verifyEngineFailure(
            [&] { program->DbConnection->execute(QStringLiteral("UPDATE MST SET 敬称 = 1")); }, 1,
            QStringLiteral("データベースに列「敬称」がありません。"), install->installedDatabase());
        // A full disk cannot be made here; its code reads as such.
        QVERIFY(DescribeEngineFailure(13, QStringLiteral("database or disk is full"), QString())
                    .startsWith(QStringLiteral("ディスクの空き容量が足りない")));
    }

    // With no virtualised folder the per-user file lies in the local application data itself; one of no
    // bytes holds nothing, so it is made anew from the installed file.
    void emptyPerUserFileIsReplaced()
    {
        const QString copy = install->localAppData() + QStringLiteral("/HanacareService.mdb");
        QFile(copy).open(QIODevice::WriteOnly);
        QCOMPARE(QFileInfo(copy).size(), 0);
        auto program = install->makeMain(3000);
        program->VirtualStorePath = QString();
        OpenDatabase(*program);
        QCOMPARE(program->DbConnection->databaseFile(), QDir::toNativeSeparators(copy));
        QCOMPARE(program->ConnectionString, BuildConnectionString(install->localAppData()));
        QCOMPARE(masterId(*program), QStringLiteral("master"));
        QCOMPARE(QFileInfo(copy).size(), QFileInfo(install->installedDatabase()).size());
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
        verifyEngineFailure([&] { OpenDatabase(*program); }, 5,
                            QStringLiteral("データベースファイルは他のプログラムが使用中です。"),
                            install->installedDatabase());
        holder.write("ROLLBACK;\n.quit\n");
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished());
        OpenDatabase(*program); // once released, the same file opens
        QCOMPARE(masterId(*program), QStringLiteral("master"));
    }

    void readOnlyPerUserFile()
    {
        auto program = install->makeMain(3000);
        OpenDatabase(*program);
        CloseDatabase(*program);
        const QString copy = install->localAppData() + QStringLiteral("/HanacareService.mdb");
        platform::setFileAttributes(copy, platform::FileAttribute::ReadOnly);
        OpenDatabase(*program);
        QCOMPARE(masterId(*program), QStringLiteral("master")); // reading works
        program->SharedRecordset->open(QStringLiteral("MST"), *program->DbConnection);
        program->SharedRecordset->setField(QStringLiteral("ruling"), 1);
        verifyEngineFailure([&] { program->SharedRecordset->update(); }, 8,
                            QStringLiteral("データベースファイルが読み取り専用のため"), copy);
        program->SharedRecordset->discard();
        CloseDatabase(*program);
        QCOMPARE(DatabaseInspector(copy).value(QStringLiteral("SELECT ruling FROM MST")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(DatabaseLocationTest)
#include "tst_databaselocation.moc"
