// SPDX-License-Identifier: MIT
// The shell on Windows: ShellExecuteA "open", and the wait for the spreadsheet's process found through its
// window of class "XLMAIN".
#include "platform/Shell.h"

#include "platform/win/AnsiText.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <windows.h>

#include <shellapi.h>

namespace platform {
namespace {

// How long a spreadsheet that the shell has started may take to show its window.
constexpr qint64 kWindowDelayMs = 15000;

// The first top-level window of class "XLMAIN". The shell may return before the spreadsheet has made its
// window, so it is looked for again every tenth of a second, with messages running in between, until it
// shows or kWindowDelayMs have passed.
HWND findSpreadsheetWindow()
{
    QElapsedTimer since;
    since.start();
    for (;;) {
        if (const HWND window = FindWindowA("XLMAIN", nullptr))
            return window;
        const qint64 left = kWindowDelayMs - since.elapsed();
        if (left <= 0)
            return nullptr;
        if (MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(qMin<qint64>(left, 100)), QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0)
            QCoreApplication::processEvents();
    }
}

class WindowsShell : public Shell
{
public:
    int open(const QString& file) override
    {
        const QString native = QDir::toNativeSeparators(file);
        HINSTANCE result = nullptr;
        // Show mode 10: the application's default. A path the ANSI code page cannot write goes to the
        // function's wide form.
        if (const std::optional<QByteArray> ansi = win::toAnsi(native))
            result = ShellExecuteA(nullptr, "open", ansi->constData(), "", "", SW_SHOWDEFAULT);
        else
            result = ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(native.utf16()), L"",
                                   L"", SW_SHOWDEFAULT);
        const INT_PTR code = reinterpret_cast<INT_PTR>(result);
        m_opened = code > 32;
        return m_opened ? Opened : int(code);
    }

    // Follows the process that owns the first top-level window of class "XLMAIN" until it ends, whatever its
    // exit code. The thread sleeps in MsgWaitForMultipleObjects until the process ends or a message
    // arrives, and lets the messages run, so the program stays responsive without keeping the processor
    // busy. Nothing opened, no window or no process to open: there is nothing to wait for.
    void waitForOpenedProgram() override
    {
        if (!m_opened)
            return;
        m_opened = false;
        const HWND window = findSpreadsheetWindow();
        if (!window)
            return;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == 0)
            return;
        // The wait needs no more than SYNCHRONIZE, which a spreadsheet running elevated still grants.
        const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        if (!process)
            return;
        for (;;) {
            // MWMO_INPUTAVAILABLE: input already in the queue, which a look at the queue has seen but left
            // there, wakes the wait as well as new input does.
            const DWORD woken =
                MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woken != WAIT_OBJECT_0 + 1)
                break; // the process has ended, or the wait itself failed
            QCoreApplication::processEvents();
        }
        CloseHandle(process);
    }

private:
    bool m_opened = false;
};

} // namespace

std::unique_ptr<Shell> makeSystemShell(const Environment&)
{
    return std::make_unique<WindowsShell>();
}

} // namespace platform
