// SPDX-License-Identifier: MIT
#include "platform/Environment.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

QString variableOr(const char* name, const QString& fallback)
{
    return qEnvironmentVariableIsSet(name) ? qEnvironmentVariable(name) : fallback;
}

// Creates a folder with every missing parent, each readable and writable by its owner only. A folder
// that cannot be made is left to the operation that needs it, which reports the missing path.
void makeOwnerOnlyPath(const QString& folder)
{
    QStringList missing;
    for (QFileInfo level(folder); !level.exists() && !level.isRoot(); level.setFile(level.absolutePath()))
        missing.prepend(level.absoluteFilePath());
    for (const QString& level : std::as_const(missing)) {
        if (!QDir().mkdir(level, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
            return;
    }
}

// The program's folder below one of the user's standard folders, made when it is missing.
QString userFolder(QStandardPaths::StandardLocation location)
{
    const QString folder =
        QDir::cleanPath(QStandardPaths::writableLocation(location) + QStringLiteral("/hanaplan"));
    makeOwnerOnlyPath(folder);
    return folder;
}

} // namespace

Environment::Environment(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString Environment::programFiles() const
{
    return variableOr("ProgramFiles", QFileInfo(m_programFolder).absolutePath());
}

QString Environment::localAppData() const
{
    if (qEnvironmentVariableIsSet("LOCALAPPDATA"))
        return qEnvironmentVariable("LOCALAPPDATA");
    return userFolder(QStandardPaths::GenericDataLocation);
}

QString Environment::allUsersProfile() const
{
    if (qEnvironmentVariableIsSet("ALLUSERSPROFILE"))
        return qEnvironmentVariable("ALLUSERSPROFILE");
    return userFolder(QStandardPaths::GenericCacheLocation);
}

} // namespace platform
