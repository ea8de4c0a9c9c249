// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

#include <initializer_list>
#include <utility>

struct DatabaseState;

// How the settings pages read and write the whole numbers of MST and Setting.
namespace storedvalues {

// A stored whole number compared with a number as the pages compare it: a null equals no number, a text
// that is no number is a type mismatch (run-time error 13).
bool equals(const QVariant& value, int number);

// A 16-bit whole number as a field value; bound as a whole number, never as text.
QVariant whole16(qint16 value);

// Opens Setting, every row, on the record set for a save of the settings pages. A table without rows is
// released again and is a run-time error (no current row): the page's choices are then not half stored.
void openSettingsForSave(DatabaseState& database);

// Writes columns of the live master row in the order given, then 更新日 (the current date and time), and
// saves the row; all or nothing. A missing row is a run-time error.
void writeMasterRow(DatabaseState& database, std::initializer_list<std::pair<QString, QVariant>> columns);

} // namespace storedvalues
