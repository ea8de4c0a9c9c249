// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

// Conversions of field values as the program reads them. A null, a value that is no number or one out of
// range throws RuntimeError (invalid use of Null, type mismatch, overflow).
namespace values {

// The value as a number: a number, or a text that reads as one (blanks at its ends allowed). False for
// anything else, a null included, and for an infinite or undefined number.
bool readNumber(const QVariant& value, double& number);

// A 16-bit whole number, rounded half to even.
qint16 toInteger16(const QVariant& value);
// A 32-bit whole number, rounded half to even.
qint32 toInteger32(const QVariant& value);
// The value as text; a null gives the empty text.
QString textOrEmpty(const QVariant& value);
// The current local date and time as the database keeps it: "YYYY-MM-DD HH:MM:SS".
QString now();
// The text without the blanks (space characters only) at its ends.
QString trimBlanks(const QString& text);

} // namespace values
