// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

// How the settings pages read and write the whole numbers of MST and Setting.
namespace storedvalues {

// A stored whole number compared with a number as the pages compare it: a null equals no number, a text
// that is no number is a type mismatch (run-time error 13).
bool equals(const QVariant& value, int number);

// A 16-bit whole number as a field value; bound as a whole number, never as text.
QVariant whole16(qint16 value);

// The row a save is about to write is not there: run-time error 3021 (no current row), naming the table.
[[noreturn]] void noRowToSave(const QString& table);

} // namespace storedvalues
