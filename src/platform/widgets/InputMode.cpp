// SPDX-License-Identifier: MIT
#include "platform/widgets/InputMode.h"

#include <QVariant>
#include <QWidget>

namespace inputmode {

void set(QWidget* textBox, Mode mode)
{
    textBox->setProperty("inputMode", int(mode));
    textBox->setAttribute(Qt::WA_InputMethodEnabled, mode != Mode::Disabled);
    textBox->setInputMethodHints(mode == Mode::Disabled ? Qt::ImhPreferLatin | Qt::ImhNoPredictiveText
                                                        : Qt::ImhNone);
}

Mode of(const QWidget* textBox)
{
    return Mode(textBox->property("inputMode").toInt());
}

} // namespace inputmode
