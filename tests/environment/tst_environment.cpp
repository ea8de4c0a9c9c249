// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/MessageRecorder.h"

#include "environment/ExcelCheck.h"
#include "environment/GetRegistryValue.h"
#include "environment/WindowsIdentification.h"
#include "launcher/Main.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using platform::RegistryRoot;

constexpr char kCases[] = "environment.json";

// Registry values as the program reads them, the Windows version and the Excel check, for a program whose
// folder holds the registry store; the cases are in environment.json.
class EnvironmentTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;

    // Writes the store, system.reg: the header of a Unicode export and the key's section with the lines
    // given; for null, no store at all.
    void writeStore(const QString& key, const QJsonValue& lines)
    {
        QFile file(folder.filePath("system.reg"));
        file.remove();
        if (!lines.isNull())
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[%1]\r\n%2\r\n")
                                   .arg(key, lines.toString())
                                   .toUtf8()) > 0);
    }
    // "«text*n»" in a case stands for the text written n times.
    static QString expand(QString text)
    {
        static const QRegularExpression repeat("«(.*?)\\*(\\d+)»");
        for (QRegularExpressionMatch m = repeat.match(text); m.hasMatch(); m = repeat.match(text))
            text.replace(m.capturedStart(), m.capturedLength(),
                         m.captured(1).repeated(m.captured(2).toInt()));
        return text;
    }

private Q_SLOTS:
    void initTestCase() { qunsetenv("HANAPLAN_REGISTRY"); }

    // Binary data as hex digits, a dword as its first three decimal digits, texts up to their terminator, and
    // "Not Found" for no value or one larger than the read buffer. Each root reads its own section, and no
    // name reads the key's default value.
    void registryValues_data() { addJsonCases(kCases, "registryValues", "value"); }
    void registryValues()
    {
        QFETCH(QJsonValue, value); // {"line", "expected"}
        writeStore("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenby\\Hanacare",
                   QString(expand(value["line"].toString()) +
                           "\r\n[HKEY_CLASSES_ROOT\\SOFTWARE\\Quenby\\Hanacare]\r\n@=\"classes\""));
        const Main main(folder.path());
        QCOMPARE(GetRegistryValue(main.services.environment, RegistryRoot::LocalMachine,
                                  "SOFTWARE\\Quenby\\Hanacare\\", "v"),
                 expand(value["expected"].toString()));
        QCOMPARE(GetRegistryValue(main.services.environment, RegistryRoot::ClassesRoot,
                                  "SOFTWARE\\Quenby\\Hanacare", QString()),
                 "classes");
    }

    // The codes are exact, 3.1 being the double nearest to it.
    void windowsCodes_data() { addJsonCases(kCases, "windowsCodes", "version"); }
    void windowsCodes()
    {
        QFETCH(QJsonValue, version); // {"platform", "major", "minor", "pack" (service pack), "code"}
        const QString pack = version["pack"].toString();
        const double result = WindowsVersionCodeOf(
            quint32(version["platform"].toDouble()), quint32(version["major"].toDouble()),
            quint32(version["minor"].toDouble()), pack.isEmpty() ? QChar() : pack[0]);
        QVERIFY2(result == version["code"].toDouble(), qPrintable(QString::number(result, 'g', 17)));
    }

    void windowsFromStore_data() { addJsonCases(kCases, "windowsFromStore", "store"); }
    void windowsFromStore()
    {
        QFETCH(QJsonValue, store); // {"values", "code"}
        writeStore("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", store["values"]);
        const Main main(folder.path());
        QCOMPARE(IdentifyWindowsVersion(main.services.environment), store["code"].toDouble());
    }

    void excelRefusals_data() { addJsonCases(kCases, "excelRefusals", "refusal"); }
    void excelRefusals()
    {
        QFETCH(QJsonValue, refusal); // {"major", "message"}
        QCOMPARE(ExcelVersionRefusal(quint32(refusal["major"].toDouble())), refusal["message"].toString());
    }

    // Excel's App Paths entry leads to its program file ("$EXCEL" stands for the folder of the test's
    // program files of several versions). The check shows at most one message, a stop with OK under the
    // program's name, and waits a second once it has found the automation server.
    void excelCheck_data() { addJsonCases(kCases, "excelCheck", "check"); }
    void excelCheck()
    {
        QFETCH(QJsonValue, check); // {"path", "result", "message", "waits"}
        const QJsonValue path = check["path"];
        const QString message = check["message"].toString();
        writeStore("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe",
                   path.isNull() ? path : path.toString().replace("$EXCEL", HANAPLAN_TEST_DATA "/excel"));
        platform::Services services(folder.path());
        MessageRecorder recorder;
        services.messageBoxes = &recorder;
        QJsonArray waited;
        services.sleep = [&](int milliseconds) { waited.append(milliseconds); };
        const char* const results[] = {"Usable", "Refused", "NoAutomation"};
        QCOMPARE(QLatin1String(results[int(CheckExcelVersion(services))]), check["result"].toString());
        QCOMPARE(jsonText(waited), jsonText(check["waits"]));
        QCOMPARE(recorder.described(),
                 (message.isEmpty() ? QList<QStringList>()
                                    : QList<QStringList>{{"critical", "Hanaplan", message}}));
    }
};

QTEST_GUILESS_MAIN(EnvironmentTest)
#include "tst_environment.moc"
