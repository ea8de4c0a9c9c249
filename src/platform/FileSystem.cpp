// SPDX-License-Identifier: MIT
#include "platform/FileSystem.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/xattr.h>
#endif

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
#ifdef Q_OS_UNIX
    char value[8] = {};
    const ssize_t n = getxattr(path.constData(), kAttributeName, value, sizeof value - 1);
    if (n > 0)
        return std::atoi(value) & (FileAttribute::Hidden | FileAttribute::System);
#else
    Q_UNUSED(path);
#endif
    return 0;
}

void setAdvisoryAttributes(const QByteArray& path, int attributes)
{
#ifdef Q_OS_UNIX
    const int bits = attributes & (FileAttribute::Hidden | FileAttribute::System);
    if (bits == 0) {
        removexattr(path.constData(), kAttributeName);
    } else {
        const QByteArray value = QByteArray::number(bits);
        setxattr(path.constData(), kAttributeName, value.constData(), size_t(value.size()), 0);
    }
#else
    Q_UNUSED(path);
    Q_UNUSED(attributes);
#endif
}

// Sets the attributes; false with errno set when the file cannot be changed.
bool applyAttributes(const QString& path, int attributes)
{
#ifdef Q_OS_UNIX
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
#else
    QFile file(path);
    if (!file.exists()) {
        errno = ENOENT;
        return false;
    }
    QFileDevice::Permissions p = file.permissions();
    if (attributes & FileAttribute::ReadOnly)
        p &= ~(QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
               QFileDevice::WriteOther);
    else
        p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    return file.setPermissions(p);
#endif
}

} // namespace

QString nativePath(const QString& joined)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(joined);
#else
    QString path = joined;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
#endif
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool folderExists(const QString& path)
{
    return QFileInfo(path).isDir();
}

qint64 fileSize(const QString& path)
{
    return fileExists(path) ? QFileInfo(path).size() : 0;
}

void createFolder(const QString& path)
{
    if (folderExists(path))
        return;
    const QFileInfo info(path);
    if (!folderExists(info.absolutePath()))
        fail(ErrorNumber::PathNotFound, QStringLiteral("パスが見つかりません。"), info.absolutePath());
    if (!QDir().mkdir(path))
        fail(ErrorNumber::PathFileAccess, QStringLiteral("フォルダを作成できません。"), path);
}

void copyFile(const QString& source, const QString& target)
{
    if (!fileExists(source))
        fail(ErrorNumber::FileNotFound, QStringLiteral("ファイルが見つかりません。"), source);
    if (!folderExists(QFileInfo(target).absolutePath()))
        fail(ErrorNumber::PathNotFound, QStringLiteral("パスが見つかりません。"),
             QFileInfo(target).absolutePath());
    if (fileExists(target) && (fileAttributes(target) & FileAttribute::ReadOnly))
        fail(ErrorNumber::PermissionDenied, QStringLiteral("書き込みできません。"), target);
    // Copy to a temporary name first, so that a failed copy never leaves a half-written target.
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(source, partial))
        fail(ErrorNumber::PathFileAccess, QStringLiteral("ファイルをコピーできません。"), target);
    if (fileExists(target) && !QFile::remove(target)) {
        QFile::remove(partial);
        fail(ErrorNumber::PermissionDenied, QStringLiteral("書き込みできません。"), target);
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        fail(ErrorNumber::PathFileAccess, QStringLiteral("ファイルをコピーできません。"), target);
    }
}

void deleteFile(const QString& path)
{
    if (!fileExists(path))
        fail(ErrorNumber::FileNotFound, QStringLiteral("ファイルが見つかりません。"), path);
    QFile file(path);
    if (!file.remove())
        fail(ErrorNumber::PermissionDenied, QStringLiteral("書き込みできません。"), path);
}

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
    int attributes = info.isWritable() ? FileAttribute::Normal : FileAttribute::ReadOnly;
#ifdef Q_OS_UNIX
    // isWritable() says what this process may do; the read-only attribute is the owner's write bit.
    attributes =
        (info.permissions() & QFileDevice::WriteOwner) ? FileAttribute::Normal : FileAttribute::ReadOnly;
#endif
    return attributes | advisoryAttributes(QFile::encodeName(path));
}

void restrictToOwner(const QString& path)
{
    QFile file(path);
    const bool readOnly = !(file.permissions() & QFileDevice::WriteOwner);
    QFileDevice::Permissions p = QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (!readOnly)
        p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (!file.setPermissions(p))
        fail(ErrorNumber::PermissionDenied, QStringLiteral("書き込みできません。"), path);
}

} // namespace platform
