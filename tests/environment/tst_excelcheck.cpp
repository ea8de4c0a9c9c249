// SPDX-License-Identifier: MIT
#include "common/MessageRecorder.h"
#include "environment/StoreFolder.h"

#include "environment/ExcelCheck.h"
#include "launcher/Main.h"

#include <QTest>

using Icon = platform::MessageBoxes::Icon;
using Buttons = platform::MessageBoxes::Buttons;

namespace {

const QString kNotInstalled =
    QString::fromUtf16(u"Microsoft\u3000Excle がインストールされていません。\u3000");

QByteArray appPaths(const QByteArray& value)
{
    return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe]\r\n"
           "@=\"C:\\\\Program Files\\\\Microsoft Office\\\\excel.exe\"\r\n" +
           value;
}

QByteArray pathOf(const QString& fixture)
{
    return "\"Path\"=\"" + QFile::encodeName(QStringLiteral(HANAPLAN_TEST_DATA "/excel/") + fixture) + "\"";
}

} // namespace

Q_DECLARE_METATYPE(ExcelCheckResult)

class ExcelCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<uint>("major");
        QTest::addColumn<QString>("message");
        QTest::newRow("0") << 0u << "このバージョン[0このExcelでは働きません。";
        QTest::newRow("6") << 6u << "このバージョン[6このExcelでは働きません。";
        QTest::newRow("7") << 7u << "Excel95では働きません。";
        QTest::newRow("8") << 8u << "Excel97では働きません。";
        for (uint major : {9u, 10u, 11u, 12u, 14u, 15u, 65535u})
            QTest::addRow("%u", major) << major << QString();
    }
    void refusals()
    {
        QFETCH(uint, major);
        QFETCH(QString, message);
        QCOMPARE(ExcelVersionRefusal(major), message);
    }

    void check_data()
    {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<ExcelCheckResult>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QList<int>>("waits");
        const QList<int> wait{1000};
        const auto refused = ExcelCheckResult::Refused;
        const auto usable = ExcelCheckResult::Usable;
        QTest::newRow("5") << appPaths(pathOf("v5")) << refused << "このバージョン[5このExcelでは働きません。"
                           << wait;
        QTest::newRow("7") << appPaths(pathOf("v7")) << refused << "Excel95では働きません。" << wait;
        QTest::newRow("8") << appPaths(pathOf("v8")) << refused << "Excel97では働きません。" << wait;
        QTest::newRow("9") << appPaths(pathOf("v9")) << usable << QString() << wait;
        QTest::newRow("16") << appPaths(pathOf("v16")) << usable << QString() << wait;
        QTest::newRow("16, 64-bit") << appPaths(pathOf("v16-64")) << usable << QString() << wait;
        QTest::newRow("product 8, file 16")
            << appPaths(pathOf("product8-file16")) << refused << "Excel97では働きません。" << wait;
        QTest::newRow("product 9, file 8")
            << appPaths(pathOf("product9-file8")) << usable << QString() << wait;
        QTest::newRow("folder with a trailing backslash")
            << appPaths(pathOf("v9").replace("v9\"", "v9\\\\\"")) << usable << QString() << wait;
        QTest::newRow("no version resource")
            << appPaths(pathOf("noversion")) << refused << kNotInstalled << wait;
        QTest::newRow("no program file") << appPaths(pathOf("none")) << refused << kNotInstalled << wait;
        QTest::newRow("no App Paths entry")
            << QByteArray() << ExcelCheckResult::NoAutomation << kNotInstalled << QList<int>();
        QTest::newRow("App Paths without Path")
            << appPaths("") << ExcelCheckResult::NoAutomation << kNotInstalled << QList<int>();
        QTest::newRow("Path not a text") << appPaths("\"Path\"=dword:9") << ExcelCheckResult::NoAutomation
                                         << kNotInstalled << QList<int>();
    }
    void check()
    {
        QFETCH(QByteArray, store);
        QFETCH(ExcelCheckResult, result);
        QFETCH(QString, message);
        QFETCH(QList<int>, waits);
        StoreFolder folder;
        QVERIFY(folder.write(store));
        Main main(folder.path());
        MessageRecorder recorder;
        main.messageBoxes = &recorder;
        QList<int> waited;
        main.sleep = [&](int milliseconds) { waited.append(milliseconds); };

        QCOMPARE(CheckExcelVersion(main), result);
        QCOMPARE(waited, waits);
        if (message.isEmpty()) {
            QCOMPARE(recorder.shown.size(), 0);
            return;
        }
        QCOMPARE(recorder.shown.size(), 1);
        const platform::MessageBoxes::Message& shown = recorder.shown.first();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, QStringLiteral("Hanaplan"));
        QCOMPARE(shown.icon, Icon::Critical);
        QCOMPARE(shown.buttons, Buttons::Ok);
    }
};

QTEST_GUILESS_MAIN(ExcelCheckTest)
#include "tst_excelcheck.moc"
