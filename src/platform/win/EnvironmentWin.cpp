// SPDX-License-Identifier: MIT
// The process environment on Windows: the variables as Windows sets them, and the folders Windows names
// where one of them is not set.
#include "platform/Environment.h"

#include <windows.h>

#include <shlobj.h>

namespace platform {
namespace {

QString knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = QString::fromWCharArray(path);
    CoTaskMemFree(path);
    return folder;
}

QString variableOr(const char* name, REFKNOWNFOLDERID folder)
{
    return qEnvironmentVariableIsSet(name) ? qEnvironmentVariable(name) : knownFolder(folder);
}

} // namespace

Environment::Environment(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString Environment::programFiles() const
{
    return variableOr("ProgramFiles", FOLDERID_ProgramFiles);
}

QString Environment::localAppData() const
{
    return variableOr("LOCALAPPDATA", FOLDERID_LocalAppData);
}

QString Environment::allUsersProfile() const
{
    return variableOr("ALLUSERSPROFILE", FOLDERID_ProgramData);
}

} // namespace platform
