// SPDX-License-Identifier: MIT
// The Windows services behind src/platform/, run under Windows (or Wine): the registry, the Excel check
// through COM, the shell's open and the wait for the spreadsheet, file attributes and the Windows version.
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "environment/ExcelCheck.h"
#include "environment/GetRegistryValue.h"
#include "environment/WindowsIdentification.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/WindowsVersion.h"

#include <QAbstractNativeEventFilter>
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

// A value of the product's test key, written as an installer writes it; a type of "" writes none.
void writeTestValue(const QString& type, const QString& data)
{
    const std::wstring key = QString(QStringLiteral("SOFTWARE\\Quenby\\HanaplanTest")).toStdWString();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    HKEY handle = nullptr;
    QCOMPARE(
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    LSTATUS status = ERROR_SUCCESS;
    if (type == QLatin1String("REG_SZ") || type == QLatin1String("REG_EXPAND_SZ")) {
        status = RegSetValueExW(handle, L"DisplayVersion", 0,
                                type == QLatin1String("REG_SZ") ? REG_SZ : REG_EXPAND_SZ,
                                reinterpret_cast<const BYTE*>(data.utf16()), DWORD((data.size() + 1) * 2));
    } else if (type == QLatin1String("REG_DWORD")) {
        const DWORD number = data.toUInt();
        status = RegSetValueExW(handle, L"DisplayVersion", 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof number);
    } else if (type == QLatin1String("REG_BINARY")) {
        const QByteArray bytes = QByteArray::fromHex(data.toLatin1());
        status = RegSetValueExW(handle, L"DisplayVersion", 0, REG_BINARY,
                                reinterpret_cast<const BYTE*>(bytes.constData()), DWORD(bytes.size()));
    }
    RegCloseKey(handle);
    QCOMPARE(status, ERROR_SUCCESS);
}

void setText(const wchar_t* key, const wchar_t* name, const QString& value)
{
    const LSTATUS status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, wide(value),
                                           DWORD((value.size() + 1) * sizeof(wchar_t)));
    QCOMPARE(status, ERROR_SUCCESS);
}

// Calls back when the event loop takes a thread message of the given number from the queue.
class NativeMessageWatch : public QAbstractNativeEventFilter
{
public:
    NativeMessageWatch(UINT message, std::function<void()> seen) : m_message(message), m_seen(std::move(seen))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~NativeMessageWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        if (static_cast<MSG*>(message)->message == m_message)
            m_seen();
        return false;
    }

private:
    UINT m_message;
    std::function<void()> m_seen;
};

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

    // The test spreadsheet for .xls files; guarded, it lets others only wait for its end, as a spreadsheet
    // run as administrator does.
    void registerSpreadsheet(bool guarded = false)
    {
        setText(kSheetExtension, nullptr, QStringLiteral("Hanaplan.TestSheet"));
        setText(L"Software\\Classes\\Hanaplan.TestSheet\\shell\\open\\command", nullptr,
                QLatin1Char('"') + windowsPath(HANAPLAN_TEST_SPREADSHEET) +
                    (guarded ? QStringLiteral("\" --guarded \"%1\"") : QStringLiteral("\" \"%1\"")));
    }
    // A working copy in the test's folder, opened with the shell.
    std::unique_ptr<platform::Shell> openWorkingCopy(QString& copy)
    {
        copy = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("作業シート.xls")));
        QFile file(copy);
        file.open(QIODevice::WriteOnly);
        file.close();
        std::unique_ptr<platform::Shell> shell =
            platform::makeSystemShell(platform::Environment(QCoreApplication::applicationDirPath()));
        const int opened = shell->open(copy);
        return opened > 32 ? std::move(shell) : nullptr;
    }

private Q_SLOTS:
    void cleanup()
    {
        // A spreadsheet a failed case left running would be found by the next one.
        for (int tries = 0; tries < 50 && FindWindowW(L"XLMAIN", nullptr); ++tries) {
            PostMessageW(FindWindowW(L"XLMAIN", nullptr), kSpreadsheetEndMessage, 0, 0);
            QTest::qWait(100);
        }
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
        writeTestValue(type, data);
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
    // its "XLMAIN" window to its end, whatever its exit code and whether or not it runs as administrator,
    // with messages flowing and the processor idle.
    void shellOpensAndWaits_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("guarded");
        QTest::newRow("window closed") << -1 << false;
        QTest::newRow("ends with 0") << 0 << false;
        QTest::newRow("ends with 3") << 3 << false;
        QTest::newRow("run as administrator") << 0 << true;
    }
    void shellOpensAndWaits()
    {
        QFETCH(int, exitCode);
        QFETCH(bool, guarded);
        registerSpreadsheet(guarded);
        const QString opened = QFileInfo(QString::fromUtf8(HANAPLAN_TEST_SPREADSHEET)).absolutePath() +
                               QStringLiteral("/opened.txt");
        QFile::remove(opened);
        QString copy;
        const std::unique_ptr<platform::Shell> shell = openWorkingCopy(copy);
        QVERIFY(shell);
        // The wait's own timing starts once the spreadsheet's window is there.
        QTRY_VERIFY_WITH_TIMEOUT(FindWindowW(L"XLMAIN", nullptr), 15000);
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

    // A message that was already in the queue when the wait began, and that a look at the queue had seen,
    // is handled at once, not when the spreadsheet ends.
    void queuedInputDuringTheWait()
    {
        registerSpreadsheet();
        QString copy;
        const std::unique_ptr<platform::Shell> shell = openWorkingCopy(copy);
        QVERIFY(shell);
        constexpr UINT kQueued = WM_APP + 9;
        QElapsedTimer elapsed;
        qint64 handledAt = -1;
        NativeMessageWatch watch(kQueued, [&] { handledAt = elapsed.elapsed(); });
        QTRY_VERIFY_WITH_TIMEOUT(FindWindowW(L"XLMAIN", nullptr), 15000); // there to be found
        QTimer::singleShot(
            1500, this, [] { PostMessageW(FindWindowW(L"XLMAIN", nullptr), kSpreadsheetEndMessage, 0, 0); });
        PostThreadMessageW(GetCurrentThreadId(), kQueued, 0, 0);
        MSG message;
        QVERIFY(PeekMessageW(&message, nullptr, kQueued, kQueued, PM_NOREMOVE));
        elapsed.start();
        shell->waitForOpenedProgram();
        QVERIFY2(elapsed.elapsed() >= 1000, "the wait lasted until the spreadsheet ended");
        QVERIFY2(handledAt >= 0 && handledAt < 1000, qPrintable(QString::number(handledAt)));
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

    // The part of a working copy that a crash left, read-only, hidden and system as the installed workbook
    // it was copied from, is removed before the next copy is made.
    void partialCopyLeftByACrash()
    {
        const QString source = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("Hanaplan.xls")));
        const QString copy = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("作業シート.xls")));
        const QString partial = copy + QStringLiteral(".partial");
        for (const auto& [path, content] : {std::pair{source, "workbook"}, std::pair{partial, "half"}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) > 0);
            file.close();
            platform::setFileAttributes(path, 7);
        }
        platform::copyFile(source, copy);
        QVERIFY(!QFileInfo::exists(partial));
        QFile result(copy);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), QByteArray("workbook"));
        result.close();
        for (const QString& path : {source, copy}) {
            platform::setFileAttributes(path, 0);
            platform::deleteFile(path);
        }
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
