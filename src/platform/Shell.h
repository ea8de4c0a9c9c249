// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

class QProcess;

namespace platform {

class Environment;

// The shell's "open" of a file, and the wait for the program it started.
class Shell
{
public:
    // Results of open() at or below 32 are failures, numbered as the shell numbers them.
    static constexpr int OutOfMemory = 0;
    static constexpr int FileNotFound = 2;
    static constexpr int PathNotFound = 3;
    static constexpr int AccessDenied = 5;
    static constexpr int BadFormat = 11;
    static constexpr int IncompleteAssociation = 27;
    static constexpr int NoAssociation = 31;
    static constexpr int Opened = 42;

    virtual ~Shell() = default;
    // Opens a file with the program registered for its kind; a result above 32 means it was started.
    virtual int open(const QString& file) = 0;
    // Waits until the program the last successful open() started has ended, however it ended. Window
    // messages keep flowing meanwhile, and the processor is not kept busy.
    virtual void waitForOpenedProgram() = 0;
};

// The system's shell: on Windows the shell itself with the spreadsheet's window and process
// (ShellWin.cpp), elsewhere the RegistryShell below (Shell.cpp).
std::unique_ptr<Shell> makeSystemShell(const Environment& environment);

// The shell of a system without one: the association of a file's extension is read from the registry
// store (HKEY_CLASSES_ROOT\.ext names a class whose shell\open\command is a command line with %1 for the
// file), and the program is started as a child process.
class RegistryShell : public Shell
{
public:
    explicit RegistryShell(const Environment& environment);
    ~RegistryShell() override;

    int open(const QString& file) override;
    void waitForOpenedProgram() override;

    // The command line registered for opening files of the given extension (".xls"), or empty.
    static QString openCommand(const Environment& environment, const QString& extension);

private:
    const Environment& m_environment;
    std::unique_ptr<QProcess> m_process;
};

} // namespace platform
