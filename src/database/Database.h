// SPDX-License-Identifier: MIT
#pragma once

#include "database/DbConnection.h"

#include <QString>

struct DatabaseState;
namespace platform {
class Environment;
}

// The file name of the database and the fixed pieces of its connection string.
inline const QString kDatabaseFileName = QStringLiteral("\\HanacareService.mdb");

// The per-user virtualised sub-folder below LOCALAPPDATA on Vista and later:
// "\VirtualStore\Program Files\Hanaplan" when LOCALAPPDATA + "\VirtualStore\Program Files" exists, else
// the "(x86)" form when that folder exists, else empty. Empty on older Windows, where nothing is looked at.
QString ResolveVirtualStorePath(const DatabaseState& database, const platform::Environment& environment);

// Locates the database (making the per-user copy on Vista and later, where that copy is missing or holds
// no bytes), builds ConnectionString, and opens a new DbConnection with a new SharedRecordset; the
// previous ones are released. The connection uses the engine the file's own first bytes call for.
void OpenDatabase(DatabaseState& database, const platform::Environment& environment);
// Releases SharedRecordset and closes and releases DbConnection.
void CloseDatabase(DatabaseState& database);

// The connection string for the database in the given folder (pieces written with "\").
QString BuildConnectionString(const QString& folder);

// The live master row: MST's row 1 while it is not deleted holds the master account and the settings the
// program and the plan workbook read.
inline const QString kLiveMasterRow = QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1");

// Removes the blanks at both ends of a text and doubles its single quotes, for use inside an SQL string
// literal.
QString QuoteSql(const QString& text);
