// SPDX-License-Identifier: MIT
#include "environment/StoreFolder.h"

#include "environment/Registry.h"
#include "launcher/Main.h"

#include <QTest>

using platform::RegistryRoot;

class RegistryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("binary 0A FF") << QByteArray("\"v\"=hex:0a,ff") << "0AFF";
        QTest::newRow("binary, one digit") << QByteArray("\"v\"=hex:5,c0,0") << "05C000";
        QTest::newRow("binary, empty") << QByteArray("\"v\"=hex:") << "";
        QTest::newRow("dword 0") << QByteArray("\"v\"=dword:00000000") << "000";
        QTest::newRow("dword 7") << QByteArray("\"v\"=dword:00000007") << "007";
        QTest::newRow("dword 250") << QByteArray("\"v\"=dword:000000fa") << "250";
        QTest::newRow("dword 1234") << QByteArray("\"v\"=dword:000004d2") << "123";
        QTest::newRow("dword, largest") << QByteArray("\"v\"=dword:ffffffff") << "429";
        QTest::newRow("dword of two bytes") << QByteArray("\"v\"=hex(4):2a,00") << "042";
        QTest::newRow("text") << QByteArray("\"v\"=\"1.1.4\"") << "1.1.4";
        QTest::newRow("text, Japanese") << QByteArray("\"v\"=\"介護　計画\"") << "介護　計画";
        QTest::newRow("text, empty") << QByteArray("\"v\"=\"\"") << "";
        QTest::newRow("literally Not Found") << QByteArray("\"v\"=\"Not Found\"") << "Not Found";
        QTest::newRow("expandable text") << QByteArray("\"v\"=hex(2):25,00,50,00,25,00,00,00") << "%P%";
        QTest::newRow("multi text: the first")
            << QByteArray("\"v\"=hex(7):61,00,00,00,62,00,00,00,00,00") << "a";
        QTest::newRow("text without terminator") << QByteArray("\"v\"=hex(1):61,00,62,00") << "ab";
        QTest::newRow("other type: its bytes as text") << QByteArray("\"v\"=hex(b):41,42,00,43") << "AB";
        QTest::newRow("missing value") << QByteArray("\"w\"=\"1\"") << "Not Found";
        QTest::newRow("deleted value") << QByteArray("\"v\"=\"1\"\r\n\"v\"=-") << "Not Found";
        // The read buffer holds 2048 bytes, terminator included.
        QTest::newRow("text of 2047 bytes")
            << QByteArray("\"v\"=\"" + QByteArray(2047, 'x') + "\"") << QString(2047, QLatin1Char('x'));
        QTest::newRow("text of 2048 bytes")
            << QByteArray("\"v\"=\"" + QByteArray(2048, 'x') + "\"") << "Not Found";
        QTest::newRow("682 Japanese characters")
            << QByteArray("\"v\"=\"" + QString(682, QChar(0x7248)).toUtf8() + "\"")
            << QString(682, QChar(0x7248));
        QTest::newRow("683 Japanese characters")
            << QByteArray("\"v\"=\"" + QString(683, QChar(0x7248)).toUtf8() + "\"") << "Not Found";
        QByteArray bytes = QByteArray(2048, '\x01').toHex(',');
        QTest::newRow("binary of 2048 bytes")
            << QByteArray("\"v\"=hex:" + bytes) << QStringLiteral("01").repeated(2048);
        QTest::newRow("binary of 2049 bytes") << QByteArray("\"v\"=hex:01," + bytes) << "Not Found";
    }
    void conversions()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, expected);
        StoreFolder folder;
        QVERIFY(folder.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare]\r\n" + line));
        const Main main(folder.path());
        QCOMPARE(GetRegistryValue(main.environment, RegistryRoot::LocalMachine,
                                  QStringLiteral("SOFTWARE\\Quenby\\Hanacare\\"), QStringLiteral("v")),
                 expected);
    }

    void keysAndStores()
    {
        StoreFolder folder;
        const Main main(folder.path());
        const QString key = QStringLiteral("SOFTWARE\\Quenby\\Hanacare\\");
        const QString name = QStringLiteral("DisplayVersion");
        QCOMPARE(GetRegistryValue(main.environment, RegistryRoot::LocalMachine, key, name),
                 kRegistryNotFound);

        QVERIFY(folder.write(
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare]\r\n\"DisplayVersion\"=\"1.1.4\"\r\n"
            "[HKEY_CLASSES_ROOT\\.xls]\r\n@=\"Excel.Sheet.8\"\r\n"));
        QCOMPARE(GetRegistryValue(main.environment, RegistryRoot::LocalMachine, key, name),
                 QStringLiteral("1.1.4"));
        QCOMPARE(
            GetRegistryValue(main.environment, RegistryRoot::LocalMachine, key.toLower(), name.toUpper()),
            QStringLiteral("1.1.4"));
        QCOMPARE(GetRegistryValue(main.environment, RegistryRoot::LocalMachine,
                                  QStringLiteral("SOFTWARE\\Quenby"), name),
                 kRegistryNotFound);
        QCOMPARE(GetRegistryValue(main.environment, RegistryRoot::ClassesRoot, key, name), kRegistryNotFound);
        QCOMPARE(
            GetRegistryValue(main.environment, RegistryRoot::ClassesRoot, QStringLiteral(".xls"), QString()),
            QStringLiteral("Excel.Sheet.8"));
    }
};

QTEST_GUILESS_MAIN(RegistryTest)
#include "tst_registry.moc"
