// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>

namespace platform {
class MessageBoxes;
}

// The application object. Every event handler runs below notify(), so this is the one place that catches
// an unguarded failure of a handler: it shows the run-time error report and ends the program with exit
// status 1. Otherwise the program ends only when the start window unloads, never because Qt saw its last
// visible window close.
class LauncherApplication : public QApplication
{
public:
    LauncherApplication(int& argc, char** argv);

    // Where the report is shown; set by main() once the message boxes exist.
    void setMessageBoxes(platform::MessageBoxes* messages) { m_messages = messages; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    platform::MessageBoxes* m_messages = nullptr;
    bool m_failed = false;
};
