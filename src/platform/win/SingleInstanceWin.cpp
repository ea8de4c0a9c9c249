// SPDX-License-Identifier: MIT
// A second running copy on Windows: a named mutex of the user's session marks the running copy, and a
// message-only window of the running copy takes a later copy's request to come to the front.
#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>

#include <windows.h>

namespace platform {
namespace {

// The message a later copy posts to the running copy's message-only window.
constexpr UINT kStartedAgainMessage = WM_APP + 1;

const wchar_t* wide(const QString& text)
{
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

} // namespace

class SingleInstance::Private
{
public:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kStartedAgainMessage) {
            if (auto* owner = reinterpret_cast<SingleInstance*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
                Q_EMIT owner->startedAgain();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    QString mutexName;
    QString className;
    HANDLE mutex = nullptr;
    HWND window = nullptr;
};

SingleInstance::SingleInstance(const QString& name, const QString& folder) : d(std::make_unique<Private>())
{
    // "Local\" puts the mutex in the user's session. A folder given keeps copies apart that name it
    // differently (tests run side by side).
    QString suffix = name;
    if (!folder.isEmpty())
        suffix +=
            QLatin1Char('.') + QString::fromLatin1(QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(),
                                                                            QCryptographicHash::Sha1)
                                                       .toHex()
                                                       .left(16));
    d->mutexName = QStringLiteral("Local\\Hanaplan.") + suffix;
    d->className = QStringLiteral("Hanaplan.SingleInstance.") + suffix;
}

SingleInstance::~SingleInstance()
{
    if (d->window)
        DestroyWindow(d->window);
    if (d->mutex)
        CloseHandle(d->mutex);
}

bool SingleInstance::acquire()
{
    if (d->mutex)
        return true;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, wide(d->mutexName));
    const DWORD error = GetLastError();
    if (mutex && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    // The mutex exists but another copy made it with rights that do not let this one open it (another
    // integrity level, a copy run as administrator): that copy is running.
    if (!mutex && error == ERROR_ACCESS_DENIED)
        return false;
    // A mutex that cannot be made at all does not keep the program from running.
    d->mutex = mutex;

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Private::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = wide(d->className);
    RegisterClassExW(&windowClass); // a class registered by an earlier instance in this process is reused
    d->window = CreateWindowExW(0, wide(d->className), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    // Without the window the program still runs; a later start then only ends.
    if (d->window)
        SetWindowLongPtrW(d->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void SingleInstance::notifyRunningCopy()
{
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, wide(d->className), nullptr);
    if (!window)
        return;
    // The user started this copy, so it may hand the right to take the foreground to the running one.
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != 0)
        AllowSetForegroundWindow(processId);
    PostMessageW(window, kStartedAgainMessage, 0, 0);
}

} // namespace platform
