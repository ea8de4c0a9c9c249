// SPDX-License-Identifier: MIT
// The version information of program files on Windows: GetFileVersionInfoSizeA, GetFileVersionInfoA and
// VerQueryValueA.
#include "platform/FileVersion.h"

#include "platform/win/AnsiText.h"

#include <QDir>

#include <cstring>

#include <windows.h>

namespace platform {
namespace {

// The smallest version block that can hold a fixed part: header, key "VS_VERSION_INFO" and the 52 bytes.
constexpr qsizetype kSmallestBlock = 92;

} // namespace

quint32 fileVersionInfoSize(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    DWORD ignored = 0;
    if (const std::optional<QByteArray> ansi = win::toAnsi(native))
        return GetFileVersionInfoSizeA(ansi->constData(), &ignored);
    return GetFileVersionInfoSizeW(reinterpret_cast<const wchar_t*>(native.utf16()), &ignored);
}

QByteArray fileVersionInfo(const QString& path, quint32 length)
{
    if (length == 0)
        return QByteArray();
    const QString native = QDir::toNativeSeparators(path);
    QByteArray block(qsizetype(length), '\0');
    const std::optional<QByteArray> ansi = win::toAnsi(native);
    const BOOL read =
        ansi ? GetFileVersionInfoA(ansi->constData(), 0, length, block.data())
             : GetFileVersionInfoW(reinterpret_cast<const wchar_t*>(native.utf16()), 0, length, block.data());
    return read ? block : QByteArray();
}

std::optional<FixedFileInfo> queryFixedFileInfo(QByteArrayView versionInfo)
{
    // The block comes from fileVersionInfo(); one that cannot hold a fixed part, or that claims more bytes
    // than it has, is not handed to the system.
    if (versionInfo.size() < kSmallestBlock)
        return std::nullopt;
    quint16 claimed = 0;
    std::memcpy(&claimed, versionInfo.data(), sizeof claimed);
    if (claimed < kSmallestBlock || claimed > versionInfo.size())
        return std::nullopt;
    QByteArray block = versionInfo.toByteArray();
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(block.data(), "\\", &value, &size) || !value || size < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    if (fixed.dwSignature != FixedFileInfo::expectedSignature)
        return std::nullopt;
    return FixedFileInfo{fixed.dwSignature,     fixed.dwStrucVersion,     fixed.dwFileVersionMS,
                         fixed.dwFileVersionLS, fixed.dwProductVersionMS, fixed.dwProductVersionLS,
                         fixed.dwFileFlagsMask, fixed.dwFileFlags,        fixed.dwFileOS,
                         fixed.dwFileType,      fixed.dwFileSubtype,      fixed.dwFileDateMS,
                         fixed.dwFileDateLS};
}

} // namespace platform
