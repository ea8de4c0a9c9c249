// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace centre {

// Where a window of the given frame size stands when it is centred on a screen area: half the free
// space on each side, computed in floating point and rounded. A window larger than the area is kept at
// its top-left corner so that its title bar stays reachable.
QPoint centredPosition(const QRect& screenArea, const QSize& windowSize);

// Centres a top-level window, frame included, on its screen (the primary screen when it has none yet).
void onScreen(QWidget& window);

} // namespace centre
