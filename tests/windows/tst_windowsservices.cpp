// SPDX-License-Identifier: MIT
// The Windows services behind src/platform/, run under Windows (or Wine): the registry, the Excel check
// through COM, the shell's open and the wait for the spreadsheet, file attributes and the Windows version.
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "environment/ExcelCheck.h"
#include "environment/Registry.h"
#include "environment/WindowsIdentification.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/WindowsVersion.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <windows.h>

Q_DECLARE_METATYPE(ExcelCheckResult)

namespace {

const QString kTestKey = QStringLiteral("SOFTWARE\\Quenby\\HanaplanTest");
const wchar_t kExcelProgId[] = L"Software\\Classes\\Excel.Application";
const wchar_t kExcelClass[] = L"Software\\Classes\\CLSID\\{6F1D3A52-8C47-4E0B-9A1E-2B7C5D3E9F10}";
const QString kExcelClassId = QStringLiteral("{6F1D3A52-8C47-4E0B-9A1E-2B7C5D3E9F10}");
const wchar_t kSheetExtension[] = L"Software\\Classes\\.xls";
const wchar_t kSheetClass[] = L"Software\\Classes\\Hanaplan.TestSheet";
constexpr UINT kSpreadsheetEndMessage = WM_APP + 7; // hanaplan-testspreadsheet's "end with this code"

const QString kNotInstalled =
    QString::fromUtf16(u"Microsoft\u3000Excle がインストールされていません。\u3000");

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// A path of the build as Windows writes it (the build folder is reached through drive Z: under Wine).
QString windowsPath(const char* path)
{
    return QDir::toNativeSeparators(QFileInfo(QString::fromUtf8(path)).absoluteFilePath());
}

// The registry as reg.exe, an installer's tool, writes it.
void reg(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("reg"), arguments);
    QVERIFY2(process.waitForFinished(30000), qPrintable(process.errorString()));
    QCOMPARE(process.exitCode(), 0);
}

void setText(const wchar_t* key, const wchar_t* name, const QString& value)
{
    const LSTATUS status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, wide(value),
                                           DWORD((value.size() + 1) * sizeof(wchar_t)));
    QCOMPARE(status, ERROR_SUCCESS);
}

quint64 processorTime100ns()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return quint64(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

} // namespace

class WindowsServicesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void registerExcel(const QString& folder)
    {
        setText(L"Software\\Classes\\Excel.Application\\CLSID", nullptr, kExcelClassId);
        const std::wstring server = std::wstring(kExcelClass) + L"\\InprocServer32";
        setText(server.c_str(), nullptr, windowsPath(HANAPLAN_TEST_EXCEL_SERVER));
        setText(server.c_str(), L"ThreadingModel", QStringLiteral("Apartment"));
        setText(kExcelClass, L"TestPath", folder);
    }
    static void unregister(const wchar_t* key)
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
    }

    void registerSpreadsheet()
    {
        setText(kSheetExtension, nullptr, QStringLiteral("Hanaplan.TestSheet"));
        setText(L"Software\\Classes\\Hanaplan.TestSheet\\shell\\open\\command", nullptr,
                QLatin1Char('"') + windowsPath(HANAPLAN_TEST_SPREADSHEET) + QStringLiteral("\" \"%1\""));
    }

private Q_SLOTS:
    void cleanup()
    {
        unregister(kExcelProgId);
        unregister(kExcelClass);
        unregister(kSheetExtension);
        unregister(kSheetClass);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, wide(kTestKey));
    }

    // GetRegistryValue over the registry: the conversions by type, the 2048-byte buffer and "Not Found".
    void registryValues_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& type, const QString& data,
                            const QString& expected) { QTest::newRow(name) << type << data << expected; };
        const QString a2047(2047, QLatin1Char('a'));
        row("version text", "REG_SZ", "1.1.4.0", "1.1.4.0");
        row("empty text", "REG_SZ", "", "");
        row("Japanese text", "REG_SZ", "山田 花子", "山田 花子");
        row("2047 bytes and the NUL", "REG_SZ", a2047, a2047);
        row("2048 bytes and the NUL", "REG_SZ", a2047 + QLatin1Char('a'), "Not Found");
        row("1024 Japanese characters", "REG_SZ", QString(1024, QChar(0x82B1)), "Not Found");
        row("expandable text", "REG_EXPAND_SZ", "%SystemRoot%\\x", "%SystemRoot%\\x");
        row("dword 0", "REG_DWORD", "0", "000");
        row("dword 7", "REG_DWORD", "7", "007");
        row("dword 1234", "REG_DWORD", "1234", "123");
        row("binary", "REG_BINARY", "0aff", "0AFF");
        row("missing value", "", "", "Not Found");
    }
    void registryValues()
    {
        QFETCH(QString, type);
        QFETCH(QString, data);
        QFETCH(QString, expected);
        const QString key = QStringLiteral("HKLM\\") + kTestKey;
        reg({QStringLiteral("add"), key, QStringLiteral("/f")});
        if (!type.isEmpty())
            reg({QStringLiteral("add"), key, QStringLiteral("/v"), QStringLiteral("DisplayVersion"),
                 QStringLiteral("/t"), type, QStringLiteral("/d"), data, QStringLiteral("/f")});
        const platform::Environment environment(QCoreApplication::applicationDirPath());
        QCOMPARE(GetRegistryValue(environment, platform::RegistryRoot::LocalMachine,
                                  kTestKey + QLatin1Char('\\'), QStringLiteral("DisplayVersion")),
                 expected);
        QCOMPARE(GetRegistryValue(environment, platform::RegistryRoot::LocalMachine,
                                  QStringLiteral("SOFTWARE\\Quenby\\NoSuchKey\\"),
                                  QStringLiteral("DisplayVersion")),
                 kRegistryNotFound);
    }

    // The Excel check through COM, with the test server registered as "Excel.Application" and its Path on
    // program files the project's version tool wrote.
    void excelCheck_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<ExcelCheckResult>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("Excel 16") << "v16" << ExcelCheckResult::Usable << "";
        QTest::newRow("Excel 16, 64-bit") << "v16-64" << ExcelCheckResult::Usable << "";
        QTest::newRow("Excel 9") << "v9" << ExcelCheckResult::Usable << "";
        QTest::newRow("Excel 8") << "v8" << ExcelCheckResult::Refused << "Excel97では働きません。";
        QTest::newRow("Excel 7") << "v7" << ExcelCheckResult::Refused << "Excel95では働きません。";
        QTest::newRow("Excel 5") << "v5" << ExcelCheckResult::Refused
                                 << "このバージョン[5このExcelでは働きません。";
        QTest::newRow("product 8, file 16")
            << "product8-file16" << ExcelCheckResult::Refused << "Excel97では働きません。";
        QTest::newRow("product 9, file 8") << "product9-file8" << ExcelCheckResult::Usable << "";
        QTest::newRow("no version resource") << "noversion" << ExcelCheckResult::Refused << kNotInstalled;
        QTest::newRow("no program file") << "none" << ExcelCheckResult::Refused << kNotInstalled;
        QTest::newRow("not registered") << "" << ExcelCheckResult::NoAutomation << kNotInstalled;
    }
    void excelCheck()
    {
        QFETCH(QString, fixture);
        QFETCH(ExcelCheckResult, result);
        QFETCH(QString, message);
        if (!fixture.isEmpty())
            registerExcel(windowsPath(HANAPLAN_TEST_DATA "/excel/") + QLatin1Char('\\') + fixture);

        platform::Services services(QCoreApplication::applicationDirPath());
        MessageRecorder messages;
        QList<int> sleeps;
        services.messageBoxes = &messages;
        services.sleep = [&sleeps](int milliseconds) { sleeps.append(milliseconds); };
        QCOMPARE(CheckExcelVersion(services), result);
        QCOMPARE(messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(messages.shown.first().text, message);
            QCOMPARE(messages.shown.first().title, QStringLiteral("Hanaplan"));
            QCOMPARE(messages.shown.first().icon, platform::MessageBoxes::Icon::Critical);
        }
        // One second's wait once the server answered; none when there is no server.
        QCOMPARE(sleeps, result == ExcelCheckResult::NoAutomation ? QList<int>() : QList<int>{1000});
    }

    // The shell opens the working copy with the registered spreadsheet; the wait follows the process of
    // its "XLMAIN" window to its end, whatever its exit code, with messages flowing and the processor idle.
    void shellOpensAndWaits_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::newRow("window closed") << -1;
        QTest::newRow("ends with 0") << 0;
        QTest::newRow("ends with 3") << 3;
    }
    void shellOpensAndWaits()
    {
        QFETCH(int, exitCode);
        registerSpreadsheet();
        const QString opened = QFileInfo(QString::fromUtf8(HANAPLAN_TEST_SPREADSHEET)).absolutePath() +
                               QStringLiteral("/opened.txt");
        QFile::remove(opened);
        const QString copy = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("作業シート.xls")));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        const std::unique_ptr<platform::Shell> shell =
            platform::makeSystemShell(platform::Environment(QCoreApplication::applicationDirPath()));
        QVERIFY(shell->open(copy) > 32);
        HWND window = nullptr;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(50);
        QTimer::singleShot(1500, this, [&window, exitCode] {
            window = FindWindowW(L"XLMAIN", nullptr);
            if (exitCode < 0)
                PostMessageW(window, WM_CLOSE, 0, 0);
            else
                PostMessageW(window, kSpreadsheetEndMessage, WPARAM(exitCode), 0);
        });
        QElapsedTimer elapsed;
        elapsed.start();
        const quint64 processorBefore = processorTime100ns();
        shell->waitForOpenedProgram();
        const qint64 waited = elapsed.elapsed();
        const quint64 processorMs = (processorTime100ns() - processorBefore) / 10000;

        QVERIFY2(waited >= 1400, qPrintable(QString::number(waited)));
        QVERIFY(window);
        QVERIFY(!IsWindow(window));
        QVERIFY2(ticks >= 10, "timers kept running during the wait");
        QVERIFY2(processorMs * 4 < quint64(waited),
                 qPrintable(QStringLiteral("%1 ms busy").arg(processorMs)));
        QFile note(opened);
        QVERIFY(note.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(note.readAll()).trimmed(), copy);
    }

    void shellFailures_data()
    {
        QTest::addColumn<bool>("associated");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("result");
        QTest::newRow("file missing") << true << "missing.xls" << int(platform::Shell::FileNotFound);
        QTest::newRow("no association")
            << false << "plan.hanaplan-none" << int(platform::Shell::NoAssociation);
    }
    void shellFailures()
    {
        QFETCH(bool, associated);
        QFETCH(QString, file);
        QFETCH(int, result);
        if (associated)
            registerSpreadsheet();
        QFile present(m_dir.filePath(QStringLiteral("plan.hanaplan-none")));
        QVERIFY(present.open(QIODevice::WriteOnly));
        present.close();
        const std::unique_ptr<platform::Shell> shell =
            platform::makeSystemShell(platform::Environment(QCoreApplication::applicationDirPath()));
        QCOMPARE(shell->open(QDir::toNativeSeparators(m_dir.filePath(file))), result);
        // No spreadsheet window: nothing to wait for.
        QElapsedTimer elapsed;
        elapsed.start();
        shell->waitForOpenedProgram();
        QVERIFY(elapsed.elapsed() < 1000);
    }

    void fileAttributes_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::newRow("normal") << 0;
        QTest::newRow("read-only") << 1;
        QTest::newRow("hidden + system") << 6;
        QTest::newRow("read-only + hidden + system") << 7;
    }
    void fileAttributes()
    {
        QFETCH(int, attributes);
        const QString path = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("作業シート.xls")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        platform::setFileAttributes(path, attributes);
        constexpr DWORD kReadOnlyHiddenSystem =
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        QCOMPARE(GetFileAttributesW(wide(path)) & kReadOnlyHiddenSystem, DWORD(attributes));
        QCOMPARE(platform::fileAttributes(path), attributes);
        platform::setFileAttributes(path, platform::FileAttribute::Normal);
        platform::deleteFile(path);
        QCOMPARE(platform::fileAttributes(path), -1);
        HANAPLAN_VERIFY_RUNTIME_ERROR(platform::setFileAttributes(path, attributes),
                                      ErrorNumber::FileNotFound);
    }

    // With the manifest, GetVersionExA reports what the system is, as RtlGetVersion (which never adapts
    // its answer) does.
    void windowsVersion()
    {
        using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
        const auto rtlGetVersion = reinterpret_cast<RtlGetVersion>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
        QVERIFY(rtlGetVersion);
        OSVERSIONINFOW real = {};
        real.dwOSVersionInfoSize = sizeof real;
        QCOMPARE(rtlGetVersion(&real), 0);
        const platform::WindowsVersion reported =
            platform::readWindowsVersion(platform::Environment(QCoreApplication::applicationDirPath()));
        QCOMPARE(reported.platformId, quint32(real.dwPlatformId));
        QCOMPARE(reported.majorVersion, quint32(real.dwMajorVersion));
        QCOMPARE(reported.minorVersion, quint32(real.dwMinorVersion));
        QVERIFY(IdentifyWindowsVersion(platform::Environment(QCoreApplication::applicationDirPath())) > 2100);
    }
};

QTEST_MAIN(WindowsServicesTest)
#include "tst_windowsservices.moc"
