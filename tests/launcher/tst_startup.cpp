// SPDX-License-Identifier: MIT
#include "common/MessageRecorder.h"
#include "common/RegistryStoreText.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "launcher/StartUp.h"
#include "launcher/StartWindow.h"
#include "maintenance/MasterActions.h"
#include "platform/FileSystem.h"

#include "VersionPeWriter.h"

#include <QLineEdit>
#include <QTest>

// The start-up sequence with an installation, registry store and Excel program file of the test's own.
class StartUpTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    MessageRecorder messages;

    // A registry store with Excel of the given major version (0: no Excel registered) and the Windows
    // version the system reports.
    void writeStore(int excelMajor, int windowsMajor = 10, int windowsMinor = 0)
    {
        RegistryStoreText text;
        text.windowsVersion(windowsMajor, windowsMinor);
        if (excelMajor > 0) {
            versionpe::Options options;
            options.productVersion = {quint16(excelMajor), 0, 0, 0};
            QFile exe(install->root() + QStringLiteral("/excel.exe"));
            QVERIFY(exe.open(QIODevice::WriteOnly));
            exe.write(versionpe::writeVersionPe(options));
            text.excelFolder(install->root());
        }
        QVERIFY(text.writeTo(install->root() + QStringLiteral("/system.reg")));
    }
    QString localFile(const QString& path) const { return install->localAppData() + path; }

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        qputenv("HANAPLAN_REGISTRY", (install->root() + QStringLiteral("/system.reg")).toUtf8());
        program = install->makeMain();
        program->messageBoxes = &messages;
        program->sleep = [](int) {};
        messages.shown.clear();
    }
    void cleanup()
    {
        program.reset();
        install.reset();
        qunsetenv("HANAPLAN_REGISTRY");
    }

    void excelRefusedEndsBeforeTheDatabase_data()
    {
        QTest::addColumn<int>("major");
        QTest::newRow("no Excel") << 0;
        QTest::newRow("Excel 97") << 8;
    }
    void excelRefusedEndsBeforeTheDatabase()
    {
        QFETCH(int, major);
        writeStore(major);
        const QString before = DatabaseInspector(install->installedDatabase()).dump();
        StartWindow window(*program);
        QCOMPARE(int(StartUp(*program, window)), int(StartUpResult::Refused));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(!program->DbConnection);
        QVERIFY(!window.maintenanceWindow());
        QVERIFY(!window.isVisible());
        QVERIFY(QDir(install->localAppData()).isEmpty()); // no per-user copy either
        QCOMPARE(DatabaseInspector(install->installedDatabase()).dump(), before);
    }

    // On newer Windows the database is the per-user copy below the first virtual-store folder, and a
    // virtualised workbook there goes; on Windows XP the installed file is used in place and nothing goes.
    // The master row's two settings are read, and the start window shows with the maintenance window
    // loaded hidden, its actions connected.
    void startUp_data()
    {
        QTest::addColumn<int>("windowsMajor");
        QTest::addColumn<int>("windowsMinor");
        QTest::addColumn<double>("code");
        QTest::addColumn<QString>("virtualStore");
        QTest::newRow("Windows 10") << 10 << 0 << 3000.0
                                    << QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan");
        QTest::newRow("Windows XP") << 5 << 1 << 2100.0 << QString();
    }
    void startUp()
    {
        QFETCH(int, windowsMajor);
        QFETCH(int, windowsMinor);
        QFETCH(double, code);
        QFETCH(QString, virtualStore);
        writeStore(9, windowsMajor, windowsMinor);
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE MST SET compellation = 1, ruling = 0"));
        QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files/Hanaplan"));
        QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files (x86)"));
        const QStringList workbooks = {
            localFile(QStringLiteral("/VirtualStore/Program Files/Hanaplan/Hanaplan.xls")),
            localFile(QStringLiteral("/Hanaplan.xls"))};
        for (const QString& workbook : workbooks) {
            QFile f(workbook);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            platform::setFileAttributes(workbook, 7);
        }
        program->CreatorSearchMode = 1;

        StartWindow window(*program);
        QCOMPARE(int(StartUp(*program, window)), int(StartUpResult::Shown));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(program->WindowsVersionCode, code);
        QCOMPARE(program->VirtualStorePath, virtualStore);
        QCOMPARE(program->DbConnection->databaseFile(),
                 virtualStore.isEmpty()
                     ? install->installedDatabase()
                     : localFile(QStringLiteral("/VirtualStore/Program Files/Hanaplan/HanacareService.mdb")));
        QCOMPARE(QFile::exists(workbooks[0]), virtualStore.isEmpty());
        QVERIFY(QFile::exists(workbooks[1]));
        QCOMPARE(program->HonorificSetting, qint16(1));
        QCOMPARE(program->RuledLineSetting, qint16(0));
        QCOMPARE(program->CreatorSearchMode, qint16(0));
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(window.maintenanceWindow() && !window.maintenanceWindow()->isVisible());
        QVERIFY(window.maintenanceWindow()->findChild<MasterActions*>());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.focusWidget(), window.作成者ID());
    }

    // A master row the start-up cannot read ends it with the run-time error, before anything is shown.
    void damagedMasterRow_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("error");
        QTest::newRow("null setting")
            << QStringLiteral("UPDATE MST SET ruling = NULL") << int(ErrorNumber::InvalidUseOfNull);
        QTest::newRow("no live master row") << QStringLiteral("UPDATE MST SET 削除日 = '2026-01-01 00:00:00'")
                                            << int(ErrorNumber::NoCurrentRecord);
    }
    void damagedMasterRow()
    {
        QFETCH(QString, statement);
        QFETCH(int, error);
        writeStore(16);
        DatabaseInspector(install->installedDatabase()).value(statement);
        StartWindow window(*program);
        HANAPLAN_VERIFY_RUNTIME_ERROR(StartUp(*program, window), error);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.maintenanceWindow());
    }
};

QTEST_MAIN(StartUpTest)
#include "tst_startup.moc"
