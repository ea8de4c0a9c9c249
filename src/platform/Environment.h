// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

// The process environment the program locates its files with: the variables ProgramFiles, LOCALAPPDATA
// and ALLUSERSPROFILE, each used exactly when it is set, and the program's own folder. Variables are read
// at every call, so a change of the environment is seen at once.
class Environment
{
public:
    explicit Environment(QString programFolder);

    // The folder the executable lies in.
    const QString& programFolder() const { return m_programFolder; }
    // ProgramFiles; unset: the parent of the program's folder.
    QString programFiles() const;
    // LOCALAPPDATA and ALLUSERSPROFILE; unset: the program's per-user data folder (~/.local/share/hanaplan)
    // and cache folder (~/.cache/hanaplan). A default folder that is missing is made, with every missing
    // parent, readable and writable by its owner only.
    QString localAppData() const;
    QString allUsersProfile() const;

private:
    QString m_programFolder;
};

} // namespace platform
