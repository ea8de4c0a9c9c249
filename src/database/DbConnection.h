// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>

class QSqlError;

// The program's one connection to its database file. It is given a connection string of the Access ODBC
// form; the file that the string's DBQ names is an SQLite database. Every failure throws RuntimeError with
// the engine's error code and text.
class DbConnection
{
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    void setConnectionString(const QString& text) { m_connectionString = text; }
    const QString& connectionString() const { return m_connectionString; }

    // How long a statement waits for a lock held by another process before it fails.
    void setBusyTimeout(int milliseconds) { m_busyTimeout = milliseconds; }

    // Opens the file named by the connection string. The user name and password are those of the open
    // call; the file itself carries none.
    void open(const QString& user = {}, const QString& password = {}, int options = -1);
    bool isOpen() const { return m_db.isOpen(); }
    void close();

    // The database file the connection string names, in the platform's separators.
    QString databaseFile() const;

    // Runs a statement that returns no rows (a table change or a row change).
    void execute(const QString& statement, int options = -1);

    // Runs a statement and returns the engine's query, forward-only, positioned before its first row. The
    // observer is told the statement as the program wrote it: asWritten where the caller rewrote it.
    QSqlQuery run(const QString& statement, const QString& asWritten = {});
    // Runs an engine statement with bound values; used by the record set to write rows.
    QSqlQuery& runPrepared(const QString& engineText, const QVariantList& values);

    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction();

    // Receives every statement the program sends, as the program wrote it, before it runs.
    void setStatementObserver(std::function<void(const QString&)> observer) { m_observer = std::move(observer); }

    // Throws the engine's failure as a RuntimeError.
    [[noreturn]] static void fail(const QSqlError& error, const QString& context = {});

    QSqlDatabase& database() { return m_db; }

private:
    void requireOpen() const;

    QString m_name;
    QString m_connectionString;
    int m_busyTimeout = 5000;
    bool m_inTransaction = false;
    QSqlDatabase m_db;
    QHash<QString, QSqlQuery> m_prepared;
    std::function<void(const QString&)> m_observer;
};
