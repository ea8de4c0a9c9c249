// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

// Window positions and sizes are given in twips: 15 twips to a pixel at 96 dpi. Qt's high-DPI support
// scales the pixels on other screens.
namespace twips {

constexpr int toPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace twips
