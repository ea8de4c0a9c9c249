// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The description of a failure of the database engine, for the run-time error report: a Japanese
// sentence that tells the user what happened and what to do, the database file's full path so that
// support can find it, and the engine's own text on the last line.
//
// code is the engine's result code (extended codes are reduced to their primary code); engineText its
// message, with the statement where there is one; file the database file, or empty when not known.
QString DescribeEngineFailure(int code, const QString& engineText, const QString& file);

// The engine's code for a file that is no database, or a damaged one.
inline constexpr int kNotADatabaseCode = 26;

// The description of an Access database file on a system that has no Access driver: the file is the
// product's own database, which this build of the program cannot open.
QString DescribeAccessFileRefusal(const QString& file);
