// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The version information of program files: the version resource (type 16, name 1) of a PE file holds a
// VS_VERSIONINFO block, whose value is a VS_FIXEDFILEINFO.
//
// fileVersionInfoSize(), fileVersionInfo() and queryFixedFileInfo() are the system's service: on Windows
// its own functions (FileVersionInfoWin.cpp), elsewhere the program's own reader of the PE format below
// (FileVersionInfo.cpp).
//
// The reader trusts nothing in the file: every offset and size is checked against the file before it is
// used, the resource directory is followed exactly three levels down (type, name, language) and never
// further, and it reads at most a few megabytes whatever the file claims. A file that is not PE, is cut
// short, is malformed or carries no version resource has no version information (size 0).
namespace platform {

// VS_FIXEDFILEINFO: thirteen 32-bit fields, 52 bytes.
struct FixedFileInfo
{
    static constexpr quint32 expectedSignature = 0xFEEF04BD;

    quint32 signature = 0;
    quint32 structVersion = 0;
    quint32 fileVersionMS = 0;
    quint32 fileVersionLS = 0;
    quint32 productVersionMS = 0;
    quint32 productVersionLS = 0;
    quint32 fileFlagsMask = 0;
    quint32 fileFlags = 0;
    quint32 fileOS = 0;
    quint32 fileType = 0;
    quint32 fileSubtype = 0;
    quint32 fileDateMS = 0;
    quint32 fileDateLS = 0;
};

// The program's own reader. The VS_VERSIONINFO block of a PE image held in memory, or of a file; empty when
// there is none.
QByteArray versionInfoOfImage(QByteArrayView image);
QByteArray versionInfoOfFile(const QString& path);
// The fixed file information of a VS_VERSIONINFO block, or nothing when the block does not hold a
// well-formed one.
std::optional<FixedFileInfo> fixedFileInfoOfBlock(QByteArrayView versionInfo);

// The system's service. The size in bytes of a file's version information; 0 when it has none or cannot be
// read.
quint32 fileVersionInfoSize(const QString& path);
// The file's version information, at most `length` bytes of it; empty when it has none.
QByteArray fileVersionInfo(const QString& path, quint32 length);
// The fixed file information of the root block of version information, or nothing when the block does not
// hold a well-formed one.
std::optional<FixedFileInfo> queryFixedFileInfo(QByteArrayView versionInfo);

} // namespace platform
