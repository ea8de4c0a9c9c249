// SPDX-License-Identifier: MIT
#include "launcher/LauncherApplication.h"

#include "RuntimeError.h"
#include "launcher/RuntimeErrorReport.h"

#include <QTextStream>
#include <QWidget>

LauncherApplication::LauncherApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The program ends only when the start window unloads (or with the About window that outlives it).
    // Qt's own rule would end it whenever its last visible window closes: a message box shown while the
    // start window is hidden (a refused sign-in, a failed shell open, a message of the maintenance
    // window's fills), or the About window closing during a workbook run.
    setQuitOnLastWindowClosed(false);
}

bool LauncherApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const RuntimeError& error) {
        // The handler stopped where it failed. Nothing of the program runs on: the report, then the end.
        if (!m_failed) {
            m_failed = true;
            QTextStream(stderr) << RuntimeErrorReportText(error) << '\n';
            for (QWidget* window : QApplication::topLevelWidgets())
                window->hide();
            if (m_messages)
                ShowRuntimeErrorReport(*m_messages, error);
        }
        QApplication::exit(1);
        return false;
    }
}
