// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariantList>

// How the program's statement texts reach the engine.
namespace sqltext {

// The four forms a record-set source text takes.
enum class SourceKind {
    Query,     // a full SELECT
    Table,     // a table name, with or without a condition: read as "SELECT * FROM " + source
    Statement, // a statement that returns no rows
};

SourceKind classify(const QString& source);

// A statement as the engine runs it: literals replaced by placeholders and bound as parameters.
struct EngineStatement
{
    QString text;
    QVariantList values;
};

// Translates a statement of the program into the engine's dialect: "DELETE * FROM" becomes "DELETE FROM",
// the column type Memo becomes Text. In statements that read or change rows every string and number
// literal becomes a bound parameter, so that no typed text ever becomes part of the SQL the engine parses.
EngineStatement forEngine(const QString& statement);

// The single table a query reads from and the columns it selects, when the query is of the plain form
// "SELECT columns FROM table [WHERE ...] [ORDER BY ...]"; rows of such a query can be written back.
struct TableQuery
{
    QString columns;
    QString table;
    QString rest;
    bool valid = false;
};

TableQuery parseTableQuery(const QString& query);

} // namespace sqltext
