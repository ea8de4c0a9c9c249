// SPDX-License-Identifier: MIT
// File attributes on a system without them: read-only is the owner's write permission; hidden and system
// are kept in an extended attribute of the program's own where the file system allows one.
#include "platform/FileSystem.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>
#include <sys/xattr.h>

namespace platform {
namespace {

const char* const kAttributeName = "user.hanaplan.attributes";

[[noreturn]] void fail(int number, const QString& what, const QString& path)
{
    throw RuntimeError(number, what + QStringLiteral(": ") + QDir::toNativeSeparators(path));
}

[[noreturn]] void failFromErrno(const QString& path)
{
    switch (errno) {
    case ENOENT:
        fail(ErrorNumber::FileNotFound, QStringLiteral("ファイルが見つかりません。"), path);
    case EACCES:
    case EPERM:
    case EROFS:
        fail(ErrorNumber::PermissionDenied, QStringLiteral("書き込みできません。"), path);
    default:
        fail(ErrorNumber::PathFileAccess, QStringLiteral("パス名が無効です。"), path);
    }
}

// Hidden and system bits kept beside the file; 0 where the file system keeps none.
int advisoryAttributes(const QByteArray& path)
{
    char value[8] = {};
    const ssize_t n = getxattr(path.constData(), kAttributeName, value, sizeof value - 1);
    if (n > 0)
        return std::atoi(value) & (FileAttribute::Hidden | FileAttribute::System);
    return 0;
}

void setAdvisoryAttributes(const QByteArray& path, int attributes)
{
    const int bits = attributes & (FileAttribute::Hidden | FileAttribute::System);
    if (bits == 0) {
        removexattr(path.constData(), kAttributeName);
    } else {
        const QByteArray value = QByteArray::number(bits);
        setxattr(path.constData(), kAttributeName, value.constData(), size_t(value.size()), 0);
    }
}

// Sets the attributes; false with errno set when the file cannot be changed.
bool applyAttributes(const QString& path, int attributes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (stat(name.constData(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & FileAttribute::ReadOnly)
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    if (mode != (st.st_mode & 07777) && chmod(name.constData(), mode) != 0)
        return false;
    setAdvisoryAttributes(name, attributes);
    return true;
}

} // namespace

void setFileAttributes(const QString& path, int attributes)
{
    if (!applyAttributes(path, attributes))
        failFromErrno(path);
}

bool trySetFileAttributes(const QString& path, int attributes)
{
    return applyAttributes(path, attributes);
}

int fileAttributes(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return -1;
    // isWritable() says what this process may do; the read-only attribute is the owner's write bit.
    const int attributes =
        (info.permissions() & QFileDevice::WriteOwner) ? FileAttribute::Normal : FileAttribute::ReadOnly;
    return attributes | advisoryAttributes(QFile::encodeName(path));
}

} // namespace platform
