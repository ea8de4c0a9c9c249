// SPDX-License-Identifier: MIT
#pragma once

#include "database/Database.h"
#include "launcher/Main.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A test's own installation: ProgramFiles, LOCALAPPDATA and ALLUSERSPROFILE in a temporary folder, with
// the environment pointing there while the object lives.
class TestInstallation
{
public:
    TestInstallation()
    {
        for (const QString& folder : {programFolder(), localAppData(), allUsersProfile()})
            QDir().mkpath(folder);
        qputenv("ProgramFiles", programFiles().toUtf8());
        qputenv("LOCALAPPDATA", localAppData().toUtf8());
        qputenv("ALLUSERSPROFILE", allUsersProfile().toUtf8());
    }
    // Unsets only what still points here: a test may make its next installation before this one goes.
    ~TestInstallation()
    {
        for (const char* name : {"ProgramFiles", "LOCALAPPDATA", "ALLUSERSPROFILE"})
            if (qEnvironmentVariable(name).startsWith(m_dir.path()))
                qunsetenv(name);
    }

    QString root() const { return m_dir.path(); }
    QString programFiles() const { return m_dir.path() + QStringLiteral("/ProgramFiles"); }
    QString programFolder() const { return programFiles() + QStringLiteral("/Hanaplan"); }
    QString localAppData() const { return m_dir.path() + QStringLiteral("/LocalAppData"); }
    QString allUsersProfile() const { return m_dir.path() + QStringLiteral("/AllUsers"); }
    QString installedDatabase() const { return programFolder() + QStringLiteral("/HanacareService.mdb"); }

    // Places a database built for the tests ("installed", "unversioned", "v1020", ...) as the installed file.
    void installDatabase(const QString& name) const { copyFixture(name, installedDatabase()); }

    static void copyFixture(const QString& name, const QString& target)
    {
        QFile::remove(target);
        const QString source = QStringLiteral(HANAPLAN_TEST_DATA "/") + name + QStringLiteral(".mdb");
        QVERIFY2(QFile::copy(source, target), qPrintable(source));
        QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    // A fresh program whose own folder is the installed one, on Windows XP (the file is used in place).
    std::unique_ptr<Main> makeMain(double windowsVersionCode = 2100) const
    {
        auto main = std::make_unique<Main>(programFolder());
        main->database.WindowsVersionCode = windowsVersionCode;
        main->database.databaseBusyTimeout = 100;
        return main;
    }

private:
    QTemporaryDir m_dir;
};

// Looks into a database file through a connection of its own, independent of the program's.
class DatabaseInspector
{
public:
    explicit DatabaseInspector(const QString& file)
        : m_name(QStringLiteral("inspector-%1").arg(quintptr(this)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        db.open();
    }
    ~DatabaseInspector()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    QVariant value(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.exec(sql) || !q.next())
            return QStringLiteral("<error: %1>").arg(q.lastError().text());
        return q.value(0);
    }

    QList<QVariantList> rows(const QString& sql) const
    {
        QList<QVariantList> out;
        QSqlQuery q(QSqlDatabase::database(m_name));
        q.exec(sql);
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row.append(q.isNull(i) ? QVariant() : q.value(i));
            out.append(row);
        }
        return out;
    }

    // Every table's schema (or only its name) and rows as one text, to compare a whole file before and after.
    QString dump(bool withSchema = true) const
    {
        QString out;
        for (const QVariantList& t :
             rows(QStringLiteral("SELECT name, sql FROM sqlite_master ORDER BY name"))) {
            out += t.at(withSchema ? 1 : 0).toString() + QLatin1Char('\n');
            if (t.at(0).toString().startsWith(QLatin1String("sqlite_")))
                continue;
            for (const QVariantList& r :
                 rows(QStringLiteral("SELECT * FROM \"%1\"").arg(t.at(0).toString()))) {
                QStringList cells;
                for (const QVariant& v : r)
                    cells.append(v.isNull() ? QStringLiteral("NULL") : v.toString());
                out += cells.join(QLatin1Char('|')) + QLatin1Char('\n');
            }
        }
        return out;
    }

private:
    QString m_name;
};

// A test's program on an installation of its own: the installed database (a test database by name), changed
// by statements run behind the program's back, and a fresh program opened on it that reports every
// statement it sends into `statements`. sql(), rows() and dump() look into the file through a connection of
// their own.
struct ProgramFixture
{
    explicit ProgramFixture(const QString& database = QStringLiteral("installed"),
                            const QStringList& changes = {})
    {
        install.installDatabase(database);
        for (const QString& change : changes)
            sql(change);
    }
    // Opens the program on the installed file as it stands now.
    void open(double windowsVersionCode = 2100)
    {
        program = install.makeMain(windowsVersionCode);
        OpenDatabase(program->database, program->services.environment);
        program->database.DbConnection->setStatementObserver(
            [this](const QString& s) { statements.append(s); });
    }

    DbConnection& db() const { return *program->database.DbConnection; }
    SharedRecordset& rs() const { return *program->database.SharedRecordset; }
    QVariant sql(const QString& statement) const
    {
        return DatabaseInspector(install.installedDatabase()).value(statement);
    }
    QList<QVariantList> rows(const QString& query) const
    {
        return DatabaseInspector(install.installedDatabase()).rows(query);
    }
    QString dump() const { return DatabaseInspector(install.installedDatabase()).dump(); }

    TestInstallation install;
    std::unique_ptr<Main> program;
    QStringList statements;
};

// Runs an expression that must throw RuntimeError with the given number.
#define HANAPLAN_VERIFY_RUNTIME_ERROR(expression, expectedNumber)                                            \
    do {                                                                                                     \
        bool thrown_ = false;                                                                                \
        try {                                                                                                \
            expression;                                                                                      \
        } catch (const RuntimeError& error_) {                                                               \
            thrown_ = true;                                                                                  \
            QCOMPARE(error_.number(), (expectedNumber));                                                     \
            QVERIFY2(!error_.description().isEmpty(), "a run-time error carries a description");             \
        }                                                                                                    \
        QVERIFY2(thrown_, "expected a RuntimeError from " #expression);                                      \
    } while (false)
