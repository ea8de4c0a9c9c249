// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

// The program's two Japanese typefaces, asked for by their own names first, with Noto CJK JP as the
// fallback where they are not installed.
namespace fonts {

enum class Face { Gothic, Mincho };

// ＭＳ Ｐゴシック or ＭＳ Ｐ明朝 at a point size, normal or bold.
QFont font(Face face, qreal pointSize, bool bold = false);

} // namespace fonts
