// SPDX-License-Identifier: MIT
#pragma once

#include "database/SqlText.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>

class QSqlError;

// The program's one connection to its database file. It is given a connection string of the Access ODBC
// form and opens the file that the string's DBQ names with the engine the file's own first bytes call for:
// an SQLite file with the embedded engine; an Access file (Jet's or ACE's) on Windows through QtSql's ODBC
// driver, with the connection string as it stands and the string's Password as the password. The
// program's statements go to Access as written, since they are written in a form Access accepts; what the
// record set writes itself (row reads with their keys, row changes, added rows) is made in the engine's
// dialect, which only this class knows: see Dialect. Every failure throws RuntimeError with the engine's
// error code and text.
class DbConnection
{
public:
    enum class Engine {
        // The file named by DBQ is an SQLite database, opened by the embedded engine.
        Embedded,
        // The connection string is handed to ODBC ("Microsoft Access Driver (*.mdb)").
        AccessOdbc,
    };

    // What differs between the engines in the statements the record set makes itself.
    struct Dialect
    {
        // The marks a table or column name is quoted in.
        QChar quoteOpen;
        QChar quoteClose;
        // The key every row of every table carries without a column of its own (the embedded engine's
        // rowid); empty where rows are addressed by a key column of their table.
        QString rowIdName;
        // Reads the key the engine gave the row this connection added last; empty where the engine tells
        // it with the insert itself.
        QString lastAddedKeyQuery;
        // 64-bit whole numbers can be bound; otherwise a number within 32 bits is bound as a Long.
        bool bindsWideNumbers = true;

        static Dialect embedded();
        static Dialect access();
        static Dialect of(Engine engine);
    };

    // How the rows of one table are addressed to write them back.
    struct RowKey
    {
        // The key as the engine selects it and compares it; empty when the rows cannot be addressed.
        QString expression;
        // The table's column that holds the key; empty for the embedded engine's rowid.
        QString column;
        bool isValid() const { return !expression.isEmpty(); }
    };

    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    void setConnectionString(const QString& text) { m_connectionString = text; }
    const QString& connectionString() const { return m_connectionString; }

    // How long a statement waits for a lock held by another process before it fails.
    void setBusyTimeout(int milliseconds) { m_busyTimeout = milliseconds; }

    // Fixes the engine open() uses, whatever the file's first bytes say, for an ODBC data source that
    // stands in for Access. Choosing the engine chooses its dialect.
    void setEngine(Engine engine);
    Engine engine() const { return m_engine; }
    const Dialect& dialect() const { return m_dialect; }

    // The names of a table's columns as the engine's catalogue tells them, read without reading its rows;
    // empty when the table is unknown or its definition cannot be read.
    QStringList columnsOf(const QString& table);
    // A table or column name quoted for the engine.
    QString quoteName(const QString& name) const;
    // How rows of the table are addressed: by the embedded engine's rowid; on Access by the table's
    // primary key when that is one column, or else by its ID column; invalid when the table has neither.
    RowKey rowKey(const QString& table);
    // The key of the row this connection added last, for a key the insert did not assign itself.
    QVariant lastAddedRowKey();

    // Opens the file named by the connection string with the engine its first bytes call for (or the one
    // fixed by setEngine). A file that is neither an SQLite nor an Access database, or holds no bytes, is
    // refused as a damaged file; an Access file is refused on systems without the Access driver. The user
    // name and password are those of the open call; the file itself carries none.
    void open(const QString& user = {}, const QString& password = {});
    bool isOpen() const { return m_db.isOpen(); }
    void close();

    // The database file the connection string names, in the platform's separators.
    QString databaseFile() const;

    // Runs a statement that returns no rows (a table change or a row change).
    void execute(const QString& statement);

    // Runs a query and hands over its rows: first the column names, then each row's values, one call a
    // row. Reads straight from the engine, without a QVariant cache in between, for the record set's
    // snapshots. The observer is told the statement as written (asWritten where the caller rewrote it).
    void readRows(const QString& statement, const QString& asWritten,
                  const std::function<void(const QStringList& columns)>& header,
                  const std::function<void(const QVariant* values)>& row);
    // The same for a statement already in the engine's form, with its values; the observer is not told.
    void readEngineRows(const QString& engineText, const QVariantList& values,
                        const std::function<void(const QStringList& columns)>& header,
                        const std::function<void(const QVariant* values)>& row);

    // Runs an engine statement that changes rows, with bound values, and returns the number of rows
    // changed; used by the record set to write rows. The statement is prepared once and kept while the
    // connection is open.
    qint64 write(const QString& engineText, const QVariantList& values);
    // As write(), for a statement meant to change one row of the table, and kept only when it changed at
    // most one: a statement that changed more (rows addressed by a key that is not unique) is taken back,
    // with its own transaction where none is open, and refused with a run-time error.
    qint64 writeOneRow(const QString& engineText, const QVariantList& values, const QString& table);

    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();

    // Receives every statement the program sends, as the program wrote it, before it runs.
    void setStatementObserver(std::function<void(const QString&)> observer)
    {
        m_observer = std::move(observer);
    }

    // Throws the engine's failure as a RuntimeError with the engine's number and a description the user
    // can read (see DescribeEngineFailure).
    [[noreturn]] void fail(const QSqlError& error, const QString& context = {}) const;

private:
    void requireOpen() const;
    void openThroughOdbc(const QString& user, const QString& password);
    // Takes the engine the file calls for, or refuses the file.
    void chooseEngine(const QString& file);
    // A statement of the program in the form the engine takes.
    sqltext::EngineStatement engineStatement(const QString& statement) const;

    QString m_name;
    QString m_connectionString;
    int m_busyTimeout = 5000;
    Engine m_engine = Engine::Embedded;
    bool m_engineFixed = false; // by setEngine, rather than by the file
    Dialect m_dialect = Dialect::embedded();
    QVariant m_lastInsertId;          // told by the engine with the last write, where it tells it
    QHash<QString, RowKey> m_rowKeys; // by table, while the connection is open
    bool m_inTransaction = false;
    QSqlDatabase m_db;
    QHash<QString, QSqlQuery> m_statements;
    std::function<void(const QString&)> m_observer;
};
