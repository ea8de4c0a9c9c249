// SPDX-License-Identifier: MIT
#include "platform/widgets/Fonts.h"

#include <QStringList>

namespace fonts {

QFont font(Face face, qreal pointSize, bool bold)
{
    QFont f;
    if (face == Face::Gothic) {
        f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                       QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")});
        f.setStyleHint(QFont::SansSerif);
    } else {
        f.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"),
                       QStringLiteral("Noto Serif CJK JP"), QStringLiteral("Noto Serif JP")});
        f.setStyleHint(QFont::Serif);
    }
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    f.setItalic(false);
    return f;
}

} // namespace fonts
