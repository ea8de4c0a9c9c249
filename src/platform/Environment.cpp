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

QString userFolder(QStandardPaths::StandardLocation location)
{
    return QDir::cleanPath(QStandardPaths::writableLocation(location) + QStringLiteral("/hanaplan"));
}

} // namespace

Environment::Environment(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString Environment::programFiles() const
{
    return variableOr("ProgramFiles", QFileInfo(m_programFolder).absolutePath());
}

QString Environment::localAppData() const
{
    return variableOr("LOCALAPPDATA", userFolder(QStandardPaths::GenericDataLocation));
}

QString Environment::allUsersProfile() const
{
    return variableOr("ALLUSERSPROFILE", userFolder(QStandardPaths::GenericCacheLocation));
}

} // namespace platform
