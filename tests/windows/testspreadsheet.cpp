// SPDX-License-Identifier: MIT
// hanaplan-testspreadsheet: the spreadsheet of the Windows tests. Opened on a file, it shows a top-level
// window of class "XLMAIN" titled with the file and notes the file in opened.txt beside itself; it ends when
// its window is closed, or with an exit code when told:
//   hanaplan-testspreadsheet.exe FILE            open FILE
//   hanaplan-testspreadsheet.exe --guarded FILE  open FILE, granting others no more than a spreadsheet run
//                                                as administrator grants a user's program: SYNCHRONIZE
//   hanaplan-testspreadsheet.exe --end N         tell the running one to end with exit code N
#include <windows.h>

#include <aclapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// The running spreadsheet ends with the exit code this message carries.
constexpr UINT kEndMessage = WM_APP + 7;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kEndMessage:
        PostQuitMessage(int(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Appends the opened file, in UTF-8, to opened.txt in the program's folder.
void noteOpenedFile(const wchar_t* file)
{
    wchar_t path[MAX_PATH];
    std::wstring note(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    note.replace(note.find_last_of(L'\\') + 1, std::wstring::npos, L"opened.txt");
    char line[4 * MAX_PATH] = {};
    WideCharToMultiByte(CP_UTF8, 0, file, -1, line, sizeof line, nullptr, nullptr);
    if (FILE* out = _wfopen(note.c_str(), L"ab")) {
        std::fprintf(out, "%s\n", line);
        std::fclose(out);
    }
}

// Lets every other process only wait for this one's end.
bool grantOnlySynchronize()
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone))
        return false;
    EXPLICIT_ACCESSW access = {};
    access.grfAccessPermissions = SYNCHRONIZE;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    PACL acl = nullptr;
    bool granted = SetEntriesInAclW(1, &access, nullptr, &acl) == ERROR_SUCCESS &&
                   SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                   nullptr, acl, nullptr) == ERROR_SUCCESS;
    LocalFree(acl);
    FreeSid(everyone);
    return granted;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    if (std::wcscmp(argv[1], L"--end") == 0) {
        const HWND running = FindWindowW(L"XLMAIN", nullptr);
        if (!running)
            return 1;
        PostMessageW(running, kEndMessage, WPARAM(argc > 2 ? _wtoi(argv[2]) : 0), 0);
        return 0;
    }

    const wchar_t* file = argv[1];
    if (std::wcscmp(argv[1], L"--guarded") == 0) {
        if (argc < 3 || !grantOnlySynchronize())
            return 4;
        file = argv[2];
    }
    noteOpenedFile(file);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"XLMAIN";
    if (!RegisterClassExW(&windowClass))
        return 3;
    const HWND window = CreateWindowExW(0, L"XLMAIN", file, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                        480, 200, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 3;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    LocalFree(argv);
    return int(message.wParam);
}
