// SPDX-License-Identifier: MIT
#pragma once

#include <QValidator>

// Keeps a text box from holding half a character. A text box's input limit counts UTF-16 units, so a limit
// can cut a character outside the basic plane (an emoji, a rare kanji) in two; the half is dropped, so
// that what the box holds is always whole text.
class WholeCharacters : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};
