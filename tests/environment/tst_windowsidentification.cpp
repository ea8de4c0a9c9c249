// SPDX-License-Identifier: MIT
#include "environment/StoreFolder.h"

#include "environment/WindowsIdentification.h"
#include "launcher/Main.h"

#include <QTest>

class WindowsIdentificationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void table_data()
    {
        QTest::addColumn<uint>("platformId");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<QString>("servicePack");
        QTest::addColumn<double>("code");
        QTest::addColumn<bool>("newer");
        QTest::newRow("Win32s") << 0u << 3u << 10u << "" << 3.1 << false;
        QTest::newRow("Win32s, any version") << 0u << 99u << 99u << "A" << 3.1 << false;
        QTest::newRow("95") << 1u << 4u << 0u << "" << 95.0 << false;
        QTest::newRow("95 OSR (C)") << 1u << 4u << 0u << "C" << 952.0 << false;
        QTest::newRow("95 OSR (B)") << 1u << 4u << 0u << "B" << 952.0 << false;
        QTest::newRow("95, service pack a") << 1u << 4u << 0u << "a" << 95.0 << false;
        QTest::newRow("95, service pack A") << 1u << 4u << 0u << "A" << 95.0 << false;
        QTest::newRow("95, blank before C") << 1u << 4u << 0u << " C" << 95.0 << false;
        QTest::newRow("98") << 1u << 4u << 10u << "" << 98.0 << false;
        QTest::newRow("98 SE") << 1u << 4u << 10u << "A" << 982.0 << false;
        QTest::newRow("98, service pack B") << 1u << 4u << 10u << "B" << 98.0 << false;
        QTest::newRow("Me") << 1u << 4u << 90u << "A" << 983.0 << false;
        QTest::newRow("95 family, unknown minor") << 1u << 4u << 50u << "" << 0.0 << false;
        QTest::newRow("95 family, unknown major") << 1u << 5u << 0u << "" << 0.0 << false;
        QTest::newRow("NT 3.5") << 2u << 3u << 50u << "" << 3.5 << false;
        QTest::newRow("NT 3.51") << 2u << 3u << 51u << "" << 3.5 << false;
        QTest::newRow("NT 4.0") << 2u << 4u << 0u << "Service Pack 6" << 4.0 << false;
        QTest::newRow("2000") << 2u << 5u << 0u << "" << 2000.0 << false;
        QTest::newRow("XP") << 2u << 5u << 1u << "Service Pack 3" << 2100.0 << false;
        QTest::newRow("Server 2003") << 2u << 5u << 2u << "" << 2003.0 << false;
        QTest::newRow("NT 5.3") << 2u << 5u << 3u << "" << 0.0 << false;
        QTest::newRow("Vista") << 2u << 6u << 0u << "Service Pack 2" << 3000.0 << true;
        QTest::newRow("7") << 2u << 6u << 1u << "" << 3100.0 << true;
        QTest::newRow("8") << 2u << 6u << 2u << "" << 3200.0 << true;
        QTest::newRow("8.1") << 2u << 6u << 3u << "" << 3200.0 << true;
        QTest::newRow("10") << 2u << 10u << 0u << "" << 3000.0 << true;
        QTest::newRow("NT 10.5") << 2u << 10u << 5u << "" << 3200.0 << true;
        QTest::newRow("NT 2.0") << 2u << 2u << 0u << "" << 0.0 << false;
        QTest::newRow("platform 3") << 3u << 10u << 0u << "" << 0.0 << false;
        QTest::newRow("platform 4294967295") << 4294967295u << 6u << 1u << "" << 0.0 << false;
    }
    void table()
    {
        QFETCH(uint, platformId);
        QFETCH(uint, major);
        QFETCH(uint, minor);
        QFETCH(QString, servicePack);
        QFETCH(double, code);
        QFETCH(bool, newer);
        const double result = WindowsVersionCodeOf(platformId, major, minor,
                                                   servicePack.isEmpty() ? QChar() : servicePack.at(0));
        // The codes are exact, 3.1 being the double nearest to it.
        QVERIFY2(result == code, qPrintable(QString::number(result, 'g', 17)));
        QCOMPARE(result > 2100, newer);
    }

    void identify_data()
    {
        QTest::addColumn<QByteArray>("values");
        QTest::addColumn<double>("code");
        QTest::newRow("no store: NT 10.0") << QByteArray() << 3000.0;
        QTest::newRow("XP")
            << QByteArray("\"CurrentMajorVersionNumber\"=dword:5\r\n\"CurrentMinorVersionNumber\"=dword:1")
            << 2100.0;
        QTest::newRow("only the minor: 10.1")
            << QByteArray("\"CurrentMinorVersionNumber\"=dword:1") << 3100.0;
        QTest::newRow("98 SE") << QByteArray(
                                      "\"PlatformId\"=dword:1\r\n\"CurrentMajorVersionNumber\"=dword:4\r\n"
                                      "\"CurrentMinorVersionNumber\"=dword:0a\r\n\"CSDVersion\"=\"A\"")
                               << 982.0;
        QTest::newRow("unknown platform") << QByteArray("\"PlatformId\"=dword:3") << 0.0;
        QTest::newRow("version as text is ignored")
            << QByteArray("\"CurrentMajorVersionNumber\"=\"5\"") << 3000.0;
    }
    void identify()
    {
        QFETCH(QByteArray, values);
        QFETCH(double, code);
        StoreFolder folder;
        if (!values.isEmpty())
            QVERIFY(folder.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n" +
                                 values));
        Main main(folder.path());
        main.WindowsVersionCode = -1;
        main.WindowsVersionCode = IdentifyWindowsVersion(main.environment);
        QCOMPARE(main.WindowsVersionCode, code);
    }
};

QTEST_GUILESS_MAIN(WindowsIdentificationTest)
#include "tst_windowsidentification.moc"
