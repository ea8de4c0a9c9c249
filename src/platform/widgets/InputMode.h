// SPDX-License-Identifier: MIT
#pragma once

#include <QVariant>
#include <QWidget>

// The Japanese input-method mode of a text box: the mode the input method takes whenever the box gets the
// keyboard focus.
//
// set() records the mode on the text box (property "inputMode") and gives the box what Qt offers for it:
// Disabled switches the input method off for the box and asks for Latin input only. On Windows the mode
// itself is applied through the input method each time the box takes the focus (win/InputModeWin.cpp):
// Hiragana opens it in native full-shape conversion, FullWidthKatakana in native katakana full-shape
// conversion, and Disabled leaves the window without an input context while the box has the focus, so
// that no Japanese can be typed there. Elsewhere (InputMode.cpp) the mode is recorded and Qt's hints are
// all the input method is told.
namespace inputmode {

enum class Mode { Disabled, Hiragana, FullWidthKatakana };

void set(QWidget* textBox, Mode mode);

inline constexpr char kProperty[] = "inputMode";
inline Mode of(const QWidget* textBox)
{
    return Mode(textBox->property(kProperty).toInt());
}

// What set() does on every system: records the mode and sets Qt's input-method properties for it.
inline void record(QWidget* textBox, Mode mode)
{
    textBox->setProperty(kProperty, int(mode));
    textBox->setAttribute(Qt::WA_InputMethodEnabled, mode != Mode::Disabled);
    const Qt::InputMethodHints ours = Qt::ImhLatinOnly | Qt::ImhNoPredictiveText;
    textBox->setInputMethodHints((textBox->inputMethodHints() & ~ours) |
                                 (mode == Mode::Disabled ? ours : Qt::InputMethodHints()));
}

} // namespace inputmode
