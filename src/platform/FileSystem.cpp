// SPDX-License-Identifier: MIT
#include "platform/FileSystem.h"

#include "RuntimeError.h"
#include "platform/Events.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {
namespace {

[[noreturn]] void fail(int number, const QString& what, const QString& path)
{
    throw RuntimeError(number, what + QStringLiteral(": ") + QDir::toNativeSeparators(path));
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
    // One left by a crash carries the source's attributes (read-only, hidden and system for the installed
    // workbook), which keep it from being removed until they are reset.
    if (fileExists(partial)) {
        trySetFileAttributes(partial, FileAttribute::Normal);
        QFile::remove(partial);
    }
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

void removeFileIfPresent(const QString& joined)
{
    const QString file = nativePath(joined);
    if (!fileExists(file))
        return;
    setFileAttributes(file, FileAttribute::Normal);
    letPendingMessagesRun();
    deleteFile(file);
    letPendingMessagesRun();
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
