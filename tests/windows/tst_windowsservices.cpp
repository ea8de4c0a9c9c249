// SPDX-License-Identifier: MIT
// The Windows services behind src/platform/, run under Windows (or Wine): the registry, the Excel check
// through COM, the shell's open and the wait for the spreadsheet, file attributes and the Windows version.
#include "common/JsonCases.h"
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
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <windows.h>

namespace {

const wchar_t kTestKey[] = L"SOFTWARE\\Quenby\\HanaplanTest";
const wchar_t kExcelProgId[] = L"Software\\Classes\\Excel.Application";
const wchar_t kExcelClass[] = L"Software\\Classes\\CLSID\\{6F1D3A52-8C47-4E0B-9A1E-2B7C5D3E9F10}";
const QString kExcelClassId = QStringLiteral("{6F1D3A52-8C47-4E0B-9A1E-2B7C5D3E9F10}");
const wchar_t kSheetExtension[] = L"Software\\Classes\\.xls";
const wchar_t kSheetClass[] = L"Software\\Classes\\Hanaplan.TestSheet";
constexpr UINT kSpreadsheetEndMessage = WM_APP + 7; // hanaplan-testspreadsheet's "end with this code"

platform::Environment environment()
{
    return platform::Environment(QCoreApplication::applicationDirPath());
}

// A path of the build as Windows writes it (the build folder is reached through drive Z: under Wine).
QString windowsPath(const char* path)
{
    return QDir::toNativeSeparators(QFileInfo(QString::fromUtf8(path)).absoluteFilePath());
}

// Text as the registry holds it: UTF-16 with its NUL.
QByteArray registryText(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), (text.size() + 1) * sizeof(char16_t));
}

// A value below HKEY_LOCAL_MACHINE, its key made where missing.
void setValue(const wchar_t* key, const wchar_t* name, DWORD type, const QByteArray& data)
{
    QCOMPARE(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, type, data.constData(), DWORD(data.size())),
             ERROR_SUCCESS);
}

void setText(const wchar_t* key, const wchar_t* name, const QString& value)
{
    setValue(key, name, REG_SZ, registryText(value));
}

// Calls back when the event loop takes a thread message of the given number from the queue. (A filter
// leaves the application when destroyed.)
struct NativeMessageWatch : QAbstractNativeEventFilter
{
    NativeMessageWatch(UINT message, std::function<void()> seen) : message(message), seen(std::move(seen))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    bool nativeEventFilter(const QByteArray&, void* taken, qintptr*) override
    {
        if (static_cast<MSG*>(taken)->message == message)
            seen();
        return false;
    }
    const UINT message;
    const std::function<void()> seen;
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
        setText((std::wstring(kExcelProgId) + L"\\CLSID").c_str(), nullptr, kExcelClassId);
        const std::wstring server = std::wstring(kExcelClass) + L"\\InprocServer32";
        setText(server.c_str(), nullptr, windowsPath(HANAPLAN_TEST_EXCEL_SERVER));
        setText(server.c_str(), L"ThreadingModel", QStringLiteral("Apartment"));
        setText(kExcelClass, L"TestPath", folder);
    }

    // The test spreadsheet for .xls files; guarded, it lets others only wait for its end, as a spreadsheet
    // run as administrator does.
    void registerSpreadsheet(bool guarded = false)
    {
        setText(kSheetExtension, nullptr, QStringLiteral("Hanaplan.TestSheet"));
        setText((std::wstring(kSheetClass) + L"\\shell\\open\\command").c_str(), nullptr,
                QLatin1Char('"') + windowsPath(HANAPLAN_TEST_SPREADSHEET) +
                    (guarded ? QStringLiteral("\" --guarded \"%1\"") : QStringLiteral("\" \"%1\"")));
    }
    // A file of the test's folder, with the content given; its path as Windows writes it.
    QString writeFile(const QString& name, const QByteArray& content = QByteArray())
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return QDir::toNativeSeparators(file.fileName());
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not readable)");
    }
    // A working copy in the test's folder opened with the shell in the test spreadsheet: the shell once the
    // spreadsheet's window is there, else none.
    std::unique_ptr<platform::Shell> openInSpreadsheet(QString& copy, bool guarded = false)
    {
        registerSpreadsheet(guarded);
        copy = writeFile(QStringLiteral("作業シート.xls"));
        std::unique_ptr<platform::Shell> shell = platform::makeSystemShell(environment());
        const bool shown = shell->open(copy) > 32 &&
                           QTest::qWaitFor([] { return FindWindowW(L"XLMAIN", nullptr) != nullptr; }, 15000);
        return shown ? std::move(shell) : nullptr;
    }

private Q_SLOTS:
    void cleanup()
    {
        // A spreadsheet a failed case left running would be found by the next one.
        for (int tries = 0; tries < 50 && FindWindowW(L"XLMAIN", nullptr); ++tries) {
            PostMessageW(FindWindowW(L"XLMAIN", nullptr), kSpreadsheetEndMessage, 0, 0);
            QTest::qWait(100);
        }
        for (const wchar_t* key : {kExcelProgId, kExcelClass, kSheetExtension, kSheetClass, kTestKey}) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
        }
    }

    // GetRegistryValue over the registry: the conversions by type, the 2048-byte buffer and "Not Found".
    void registryValues_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        const auto text = [](const char* name, int type, const QString& data, const QString& expected) {
            QTest::newRow(name) << type << registryText(data) << expected;
        };
        const auto dword = [](const char* name, quint32 number, const char* expected) {
            QTest::newRow(name) << int(REG_DWORD) << QByteArray(reinterpret_cast<const char*>(&number), 4)
                                << QString::fromLatin1(expected);
        };
        const QString a2047(2047, QLatin1Char('a'));
        text("version text", REG_SZ, "1.1.4.0", "1.1.4.0");
        text("empty text", REG_SZ, "", "");
        text("Japanese text", REG_SZ, "山田 花子", "山田 花子");
        text("2047 bytes and the NUL", REG_SZ, a2047, a2047);
        text("2048 bytes and the NUL", REG_SZ, a2047 + QLatin1Char('a'), "Not Found");
        text("1024 Japanese characters", REG_SZ, QString(1024, QChar(0x82B1)), "Not Found");
        text("expandable text", REG_EXPAND_SZ, "%SystemRoot%\\x", "%SystemRoot%\\x");
        dword("dword 0", 0, "000");
        dword("dword 7", 7, "007");
        dword("dword 1234", 1234, "123");
        QTest::newRow("binary") << int(REG_BINARY) << QByteArray("\x0a\xff") << "0AFF";
        // The key is there, with another value only.
        QTest::newRow("missing value") << int(REG_NONE) << QByteArray() << "Not Found";
    }
    void registryValues()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        setValue(kTestKey, type == REG_NONE ? L"Other" : L"DisplayVersion", type, data);
        const auto value = [](const wchar_t* key) {
            return GetRegistryValue(environment(), platform::RegistryRoot::LocalMachine,
                                    QString::fromWCharArray(key) + QLatin1Char('\\'),
                                    QStringLiteral("DisplayVersion"));
        };
        QCOMPARE(value(kTestKey), expected);
        QCOMPARE(value(L"SOFTWARE\\Quenby\\NoSuchKey"), kRegistryNotFound);
    }

    // The Excel check through COM, with the test server registered as "Excel.Application" and its Path on
    // program files the project's version tool wrote (a fixture of the test data; none: not registered).
    void excelCheck_data() { addJsonCases("windows.json", "excelCheck", "check"); }
    void excelCheck()
    {
        QFETCH(QJsonValue, check);
        if (check["fixture"].isString())
            registerExcel(windowsPath(HANAPLAN_TEST_DATA "/excel/") + '\\' + check["fixture"].toString());

        platform::Services services(QCoreApplication::applicationDirPath());
        MessageRecorder messages;
        QList<int> sleeps;
        services.messageBoxes = &messages;
        services.sleep = [&sleeps](int milliseconds) { sleeps.append(milliseconds); };
        const char* const results[] = {"Usable", "Refused", "NoAutomation"};
        QCOMPARE(QLatin1String(results[int(CheckExcelVersion(services))]), check["result"].toString());
        const QString message = check["message"].toString();
        QCOMPARE(messages.described(),
                 (message.isEmpty() ? QList<QStringList>()
                                    : QList<QStringList>{{"critical", "Hanaplan", message}}));
        // One second's wait once the server answered; none when there is no server.
        QCOMPARE(sleeps, check["fixture"].isString() ? QList<int>{1000} : QList<int>());
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
        const QString opened = QFileInfo(QString::fromUtf8(HANAPLAN_TEST_SPREADSHEET)).absolutePath() +
                               QStringLiteral("/opened.txt");
        QFile::remove(opened);
        QString copy;
        const std::unique_ptr<platform::Shell> shell = openInSpreadsheet(copy, guarded);
        QVERIFY(shell);
        // The wait's own timing starts once the spreadsheet's window is there.
        const HWND window = FindWindowW(L"XLMAIN", nullptr);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(50);
        QTimer::singleShot(1500, this, [window, exitCode] {
            PostMessageW(window, exitCode < 0 ? WM_CLOSE : kSpreadsheetEndMessage, WPARAM(exitCode), 0);
        });
        QElapsedTimer elapsed;
        elapsed.start();
        const quint64 processorBefore = processorTime100ns();
        shell->waitForOpenedProgram();
        const qint64 waited = elapsed.elapsed();
        const quint64 processorMs = (processorTime100ns() - processorBefore) / 10000;

        QVERIFY2(waited >= 1400, qPrintable(QString::number(waited)));
        QVERIFY(!IsWindow(window));
        QVERIFY2(ticks >= 10, "timers kept running during the wait");
        QVERIFY2(processorMs * 4 < quint64(waited),
                 qPrintable(QStringLiteral("%1 ms busy").arg(processorMs)));
        QCOMPARE(QString::fromUtf8(readFile(opened)).trimmed(), copy);
    }

    // A message that was already in the queue when the wait began, and that a look at the queue had seen,
    // is handled at once, not when the spreadsheet ends.
    void queuedInputDuringTheWait()
    {
        QString copy;
        const std::unique_ptr<platform::Shell> shell = openInSpreadsheet(copy);
        QVERIFY(shell);
        constexpr UINT kQueued = WM_APP + 9;
        QElapsedTimer elapsed;
        qint64 handledAt = -1;
        NativeMessageWatch watch(kQueued, [&] { handledAt = elapsed.elapsed(); });
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

    // A file with no program for it, and a missing file: the shell's result, and nothing to wait for.
    void shellFailures()
    {
        const std::unique_ptr<platform::Shell> shell = platform::makeSystemShell(environment());
        QCOMPARE(shell->open(writeFile(QStringLiteral("plan.hanaplan-none"))),
                 int(platform::Shell::NoAssociation));
        registerSpreadsheet();
        QCOMPARE(shell->open(QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("missing.xls")))),
                 int(platform::Shell::FileNotFound));
        QElapsedTimer elapsed;
        elapsed.start();
        shell->waitForOpenedProgram();
        QVERIFY(elapsed.elapsed() < 1000);
    }

    // Attributes as Windows keeps them. The part of a working copy that a crash left, with the attributes of
    // the installed workbook it was copied from, is removed before the next copy is made.
    void fileAttributes_data()
    {
        QTest::addColumn<int>("attributes");
        for (int attributes : {0, 1, 6, 7}) // normal, read-only, hidden + system, all three
            QTest::addRow("%d", attributes) << attributes;
    }
    void fileAttributes()
    {
        QFETCH(int, attributes);
        const QString source = writeFile(QStringLiteral("Hanaplan.xls"), "workbook");
        const QString copy = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("作業シート.xls")));
        const QString partial = writeFile(QStringLiteral("作業シート.xls.partial"), "half");
        for (const QString& path : {source, partial})
            platform::setFileAttributes(path, attributes);
        constexpr DWORD kReadOnlyHiddenSystem =
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        QCOMPARE(GetFileAttributesW(source.toStdWString().c_str()) & kReadOnlyHiddenSystem,
                 DWORD(attributes));
        QCOMPARE(platform::fileAttributes(source), attributes);
        platform::copyFile(source, copy);
        QVERIFY(!QFileInfo::exists(partial));
        QCOMPARE(readFile(copy), QByteArray("workbook"));
        for (const QString& path : {source, copy}) {
            platform::setFileAttributes(path, platform::FileAttribute::Normal);
            platform::deleteFile(path);
            QCOMPARE(platform::fileAttributes(path), -1);
        }
        HANAPLAN_VERIFY_RUNTIME_ERROR(platform::setFileAttributes(source, attributes),
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
        OSVERSIONINFOW real = {sizeof real};
        QCOMPARE(rtlGetVersion(&real), 0);
        const platform::WindowsVersion reported = platform::readWindowsVersion(environment());
        QCOMPARE((QList<quint32>{reported.platformId, reported.majorVersion, reported.minorVersion}),
                 (QList<quint32>{real.dwPlatformId, real.dwMajorVersion, real.dwMinorVersion}));
        QVERIFY(IdentifyWindowsVersion(environment()) > 2100);
    }
};

QTEST_MAIN(WindowsServicesTest)
#include "tst_windowsservices.moc"
