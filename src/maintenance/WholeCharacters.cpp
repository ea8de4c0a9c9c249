// SPDX-License-Identifier: MIT
#include "maintenance/WholeCharacters.h"

QValidator::State WholeCharacters::validate(QString& input, int& pos) const
{
    QString whole;
    whole.reserve(input.size());
    int newPos = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
            whole.append(c);
            whole.append(input.at(++i));
        } else if (c.isSurrogate()) {
            if (i < pos)
                --newPos;
        } else {
            whole.append(c);
        }
    }
    if (whole.size() != input.size()) {
        input = whole;
        pos = newPos;
    }
    return Acceptable;
}
