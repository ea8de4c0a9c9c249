// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Cases kept as data in tests/data/cases/<file>: a JSON object whose members are tables, each an array of
// cases [title, case] (the case mostly an object of named values), and what the cases need besides. The
// object, or empty when the file is missing or no JSON.
inline QJsonObject jsonCases(const char* file)
{
    QFile data(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/cases/") + QLatin1String(file));
    QJsonParseError error{};
    const QJsonObject cases =
        QJsonDocument::fromJson(data.open(QIODevice::ReadOnly) ? data.readAll() : "", &error).object();
    if (cases.isEmpty())
        qWarning("%s: %s", file, qPrintable(error.errorString()));
    return cases;
}

// A _data function gets one row a case of the table, named by its title, with the case as the QJsonValue
// of the one column.
inline void addJsonCases(const char* file, const char* table, const char* column)
{
    QTest::addColumn<QJsonValue>(column);
    const QJsonArray cases = jsonCases(file)[QLatin1String(table)].toArray();
    QVERIFY2(!cases.isEmpty(), table);
    for (const QJsonValue& entry : cases) {
        QVERIFY2(entry.toArray().size() == 2, qPrintable(entry[0].toString()));
        QTest::newRow(qPrintable(entry[0].toString())) << entry[1];
    }
}

// A value as compact JSON text, to compare with a case's expected value.
inline QByteArray jsonText(const QJsonValue& value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}
