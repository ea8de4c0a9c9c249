// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Environment.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "platform/Sleep.h"

#include <QString>

#include <functional>

namespace platform {

// The Windows services the program's operations use: the lowest layer of the program-wide state. Each
// subsystem above adds its own state to it (the database's, the maintenance window's, the launcher's
// Main), and an operation takes the layer it needs.
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
