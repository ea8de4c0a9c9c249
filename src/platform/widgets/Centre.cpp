// SPDX-License-Identifier: MIT
#include "platform/widgets/Centre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace centre {

QPoint centredPosition(const QRect& screenArea, const QSize& windowSize)
{
    const double left = (screenArea.width() - windowSize.width()) / 2.0;
    const double top = (screenArea.height() - windowSize.height()) / 2.0;
    return {screenArea.left() + int(std::max(0.0, std::round(left))),
            screenArea.top() + int(std::max(0.0, std::round(top)))};
}

void onScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        window.move(centredPosition(screen->geometry(), window.frameGeometry().size()));
}

} // namespace centre
