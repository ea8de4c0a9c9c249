// SPDX-License-Identifier: MIT
#include "common/MessageRecorder.h"
#include "common/RegistryStoreText.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "launcher/StartUp.h"
#include "launcher/StartWindow.h"
#include "maintenance/MaintenanceWindow.h"
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

    QString store() const { return install->root() + QStringLiteral("/system.reg"); }

    // A registry store with Excel of the given major version (0: no Excel registered) and, when given,
    // the Windows version the system reports.
    void writeStore(int excelMajor, int windowsMajor = 10, int windowsMinor = 0)
    {
        RegistryStoreText text;
        text.windowsVersion(windowsMajor, windowsMinor);
        if (excelMajor > 0) {
            const QString folder = install->root() + QStringLiteral("/Excel");
            QDir().mkpath(folder);
            versionpe::Options options;
            options.productVersion = {quint16(excelMajor), 0, 0, 0};
            QFile exe(folder + QStringLiteral("/excel.exe"));
            QVERIFY(exe.open(QIODevice::WriteOnly));
            exe.write(versionpe::writeVersionPe(options));
            text.excelFolder(folder);
        }
        QVERIFY(text.writeTo(store()));
    }

    StartUpResult startUp(StartWindow& window) { return StartUp(*program, window); }

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        qputenv("HANAPLAN_REGISTRY", store().toUtf8());
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
        QCOMPARE(int(startUp(window)), int(StartUpResult::Refused));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(!program->DbConnection);
        QVERIFY(!window.maintenanceWindow());
        QVERIFY(!window.isVisible());
        QVERIFY(QDir(install->localAppData()).isEmpty()); // no per-user copy either
        QCOMPARE(DatabaseInspector(install->installedDatabase()).dump(), before);
    }

    void startUpOnNewerWindows()
    {
        writeStore(16, 10, 0);
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE MST SET compellation = 1, ruling = 0"));
        // Both virtual-store folders: the first is chosen. A virtualised workbook copy, read-only, goes.
        QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files/Hanaplan"));
        QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files (x86)"));
        const QString virtualised =
            install->localAppData() + QStringLiteral("/VirtualStore/Program Files/Hanaplan/Hanaplan.xls");
        QFile f(virtualised);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        platform::setFileAttributes(virtualised, 7);

        StartWindow window(*program);
        QCOMPARE(int(startUp(window)), int(StartUpResult::Shown));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(program->WindowsVersionCode, 3000.0);
        QCOMPARE(program->VirtualStorePath, QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan"));
        QVERIFY(QFile::exists(install->localAppData() +
                              QStringLiteral("/VirtualStore/Program Files/Hanaplan/HanacareService.mdb")));
        QVERIFY(!QFile::exists(virtualised));
        QCOMPARE(program->HonorificSetting, qint16(1));
        QCOMPARE(program->RuledLineSetting, qint16(0));
        QCOMPARE(program->CreatorSearchMode, qint16(0));
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(window.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The maintenance window is loaded, hidden, once the start window is on the screen.
        QVERIFY(QTest::qWaitFor([&] { return window.maintenanceWindow() != nullptr; }));
        QVERIFY(!window.maintenanceWindow()->isVisible());
        QCOMPARE(window.focusWidget(), window.作成者ID());
    }

    void startUpOnWindowsXp()
    {
        writeStore(9, 5, 1);
        QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files"));
        const QString untouched = install->localAppData() + QStringLiteral("/Hanaplan.xls");
        QFile f(untouched);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        StartWindow window(*program);
        QCOMPARE(int(startUp(window)), int(StartUpResult::Shown));
        QCOMPARE(program->WindowsVersionCode, 2100.0);
        QCOMPARE(program->VirtualStorePath, QString());
        QCOMPARE(program->DbConnection->databaseFile(), install->installedDatabase());
        QVERIFY(QFile::exists(untouched));
    }

    void nullSettingEndsTheStartUp()
    {
        writeStore(16);
        DatabaseInspector(install->installedDatabase()).value(QStringLiteral("UPDATE MST SET ruling = NULL"));
        StartWindow window(*program);
        HANAPLAN_VERIFY_RUNTIME_ERROR(startUp(window), ErrorNumber::InvalidUseOfNull);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.maintenanceWindow());
    }

    void missingMasterRowEndsTheStartUp()
    {
        writeStore(16);
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE MST SET 削除日 = '2026-01-01 00:00:00'"));
        StartWindow window(*program);
        HANAPLAN_VERIFY_RUNTIME_ERROR(startUp(window), ErrorNumber::NoCurrentRecord);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(StartUpTest)
#include "tst_startup.moc"
