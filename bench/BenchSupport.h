// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace bench {

// Peak resident memory of this process so far, in megabytes.
inline double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// The middle of a benchmark's rounds.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

[[noreturn]] inline void die(const QString& what)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(what));
    std::exit(2);
}

// Runs statements on a file through a connection of the benchmark's own, in one transaction.
class Filler
{
public:
    explicit Filler(const QString& file) : m_name(QStringLiteral("bench-filler"))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(file);
        if (!db.open() || !db.transaction())
            die(db.lastError().text());
    }
    ~Filler()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name);
            db.commit();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlQuery prepare(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        if (!q.prepare(sql))
            die(q.lastError().text());
        return q;
    }
    static void exec(QSqlQuery& q)
    {
        if (!q.exec())
            die(q.lastError().text());
    }

private:
    QString m_name;
};

} // namespace bench
