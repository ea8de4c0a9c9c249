// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Environment.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "platform/Sleep.h"

#include <QString>

#include <functional>

namespace platform {

// The Windows services the program's operations use: one part of the program-wide state, held by the
// launcher's Main beside the database's and the maintenance window's. An operation that needs a service
// takes this, or the one service it uses.
struct Services
{
    explicit Services(QString programFolder) : environment(std::move(programFolder)) {}

    Environment environment;
    // Where the program's message boxes go; set by main() or by a test.
    MessageBoxes* messageBoxes = nullptr;
    // How the program waits a number of milliseconds; tests put in one that only records the wait.
    std::function<void(int)> sleep = platform::sleep;
    // Opens the working copy and waits for the spreadsheet; set by main() or by a test.
    Shell* shell = nullptr;
};

} // namespace platform
