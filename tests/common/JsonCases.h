// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Tables of cases kept as data in tests/data/cases/<file>: a JSON object whose members are tables, each an
// array of cases [title, value, ...]. A _data function names the columns and gets one row a case, each
// value a QJsonValue in its column.
inline void addJsonCases(const char* file, const char* table, std::initializer_list<const char*> columns)
{
    for (const char* column : columns)
        QTest::addColumn<QJsonValue>(column);
    QFile data(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/cases/") + QLatin1String(file));
    QVERIFY2(data.open(QIODevice::ReadOnly), qPrintable(data.fileName()));
    QJsonParseError error;
    const QJsonArray cases = QJsonDocument::fromJson(data.readAll(), &error)[QLatin1String(table)].toArray();
    QVERIFY2(!cases.isEmpty(), qPrintable(QLatin1String(table) + QLatin1Char(' ') + error.errorString()));
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
