// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Cases kept as data in tests/data/cases/<file>: a JSON object whose members are tables, each an array of
// cases [title, value, ...], and what the cases need besides. The object, or empty when the file is missing
// or no JSON.
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

// A _data function names the columns and gets one row a case, each value a QJsonValue in its column.
inline void addJsonCases(const char* file, const char* table, std::initializer_list<const char*> columns)
{
    for (const char* column : columns)
        QTest::addColumn<QJsonValue>(column);
    const QJsonArray cases = jsonCases(file)[QLatin1String(table)].toArray();
    QVERIFY2(!cases.isEmpty(), table);
    for (const QJsonValue& entry : cases) {
        const QJsonArray values = entry.toArray();
        QVERIFY2(values.size() == qsizetype(columns.size()) + 1, qPrintable(values.first().toString()));
        QTestData& row = QTest::newRow(qPrintable(values.first().toString()));
        for (qsizetype i = 1; i < values.size(); ++i)
            row << values.at(i);
    }
}

// A value as compact JSON text, to compare with a case's expected value.
inline QByteArray jsonText(const QJsonValue& value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
}
