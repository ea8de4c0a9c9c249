// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

// The Japanese input-method mode a text box starts in. The mode is recorded on the text box (property
// "inputMode"); Disabled also switches the input method off for it.
namespace inputmode {

enum class Mode { Disabled, Hiragana, FullWidthKatakana };

void set(QWidget* textBox, Mode mode);
Mode of(const QWidget* textBox);

} // namespace inputmode
