// SPDX-License-Identifier: MIT
// The yardstick of the start-up benchmark: a bare Qt program that shows an empty window.
#include "launcher/ShownTrace.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(583, 396);
    ShownTrace::watch(window);
    window.show();
    return app.exec();
}
