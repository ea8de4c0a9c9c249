// SPDX-License-Identifier: MIT
#pragma once

#include "launcher/Main.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

#include <QFile>
#include <functional>

// A shell that opens nothing: it records what it was asked to open and what the program's state was at
// that moment, answers with a preset result, and runs an optional action as "the spreadsheet".
class ScriptedShell : public platform::Shell
{
public:
    explicit ScriptedShell(Main& main) : m_main(main) {}

    int open(const QString& file) override
    {
        opened.append(file);
        databaseOpenWhileRunning = m_main.DbConnection && m_main.DbConnection->isOpen();
        copyAttributes = platform::fileAttributes(file);
        QFile f(file);
        if (f.open(QIODevice::ReadOnly))
            copyContent = f.readAll();
        return result;
    }

    void waitForOpenedProgram() override
    {
        ++waits;
        if (spreadsheet)
            spreadsheet();
    }

    int result = platform::Shell::Opened;
    std::function<void()> spreadsheet;
    QStringList opened;
    bool databaseOpenWhileRunning = false;
    int copyAttributes = -1;
    QByteArray copyContent;
    int waits = 0;

private:
    Main& m_main;
};
