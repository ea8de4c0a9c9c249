// SPDX-License-Identifier: MIT
#include "launcher/Main.h"
#include "RuntimeError.h"
#include "launcher/LauncherApplication.h"
#include "launcher/RuntimeErrorReport.h"
#include "launcher/ShownTrace.h"
#include "launcher/StartUp.h"
#include "launcher/StartWindow.h"
#include "platform/SingleInstance.h"
#include "platform/widgets/QtMessageBoxes.h"

#include <QIcon>

int main(int argc, char* argv[])
{
    LauncherApplication app(argc, argv);
    // The desktop entry and the icon the installed package places.
    QGuiApplication::setDesktopFileName(QStringLiteral("hanaplan"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("hanaplan")));

    // A second copy ends at once, with nothing shown of its own; the running copy brings its window to
    // the front.
    platform::SingleInstance single(QStringLiteral("hanaplan"));
    if (!single.acquire()) {
        single.notifyRunningCopy();
        return 0;
    }

    Main program(QCoreApplication::applicationDirPath());
    QtMessageBoxes messages;
    const std::unique_ptr<platform::Shell> shell = platform::makeSystemShell(program.services.environment);
    program.services.messageBoxes = &messages;
    program.services.shell = shell.get();
    app.setMessageBoxes(&messages);

    StartWindow start(program);
    QObject::connect(&single, &platform::SingleInstance::startedAgain, &start, &StartWindow::bringToFront);
    ShownTrace::watch(start);
    try {
        if (StartUp(program, start) != StartUpResult::Shown)
            return 0;
    } catch (const RuntimeError& error) {
        ShowRuntimeErrorReport(messages, error);
        return 1;
    }
    return app.exec();
}
