// SPDX-License-Identifier: MIT
#include "launcher/ShownTrace.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>

void ShownTrace::watch(QWidget& window)
{
    if (!qEnvironmentVariableIsSet("HANAPLAN_TRACE_STARTUP"))
        return;
    window.winId(); // makes the native window, so that its expose events can be watched
    window.windowHandle()->installEventFilter(new ShownTrace);
}

bool ShownTrace::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        watched->removeEventFilter(this);
        deleteLater();
    }
    return false;
}
