// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QWidget;

// When the environment variable HANAPLAN_TRACE_STARTUP is set, writes the line "shown" to standard output
// the first time the window is exposed on the screen, so that a benchmark can time the start-up from the
// outside. Without the variable it does nothing.
class ShownTrace : public QObject
{
public:
    static void watch(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
