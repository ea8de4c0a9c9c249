// SPDX-License-Identifier: MIT
// File attributes on Windows: the file system's own (SetFileAttributesA).
#include "platform/FileSystem.h"

#include "RuntimeError.h"
#include "platform/win/AnsiText.h"

#include <QDir>

#include <windows.h>

namespace platform {
namespace {

constexpr DWORD kKnownAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Sets the attributes; false with the system's error set when the file cannot be changed. A path that the
// ANSI code page cannot write goes to the function's wide form, so that no file is out of reach.
bool applyAttributes(const QString& path, int attributes)
{
    const DWORD value = DWORD(attributes) & kKnownAttributes;
    const DWORD set = value == 0 ? FILE_ATTRIBUTE_NORMAL : value;
    if (const std::optional<QByteArray> ansi = win::toAnsi(QDir::toNativeSeparators(path)))
        return SetFileAttributesA(ansi->constData(), set) != 0;
    return SetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                              set) != 0;
}

} // namespace

void setFileAttributes(const QString& path, int attributes)
{
    if (applyAttributes(path, attributes))
        return;
    const QString shown = QDir::toNativeSeparators(path);
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        throw RuntimeError(ErrorNumber::FileNotFound, QStringLiteral("ファイルが見つかりません。: ") + shown);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
        throw RuntimeError(ErrorNumber::PermissionDenied, QStringLiteral("書き込みできません。: ") + shown);
    default:
        throw RuntimeError(ErrorNumber::PathFileAccess, QStringLiteral("パス名が無効です。: ") + shown);
    }
}

bool trySetFileAttributes(const QString& path, int attributes)
{
    return applyAttributes(path, attributes);
}

int fileAttributes(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    const std::optional<QByteArray> ansi = win::toAnsi(native);
    const DWORD value = ansi ? GetFileAttributesA(ansi->constData())
                             : GetFileAttributesW(reinterpret_cast<const wchar_t*>(native.utf16()));
    if (value == INVALID_FILE_ATTRIBUTES)
        return -1;
    return int(value & kKnownAttributes);
}

} // namespace platform
