// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"

#include "database/Database.h"
#include "database/SqlText.h"

// How typed texts go into statements and statements reach the engine; the cases are in sqltext.json.
class SqlTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quoteSql_data() { addJsonCases("sqltext.json", "quoteSql", {"text", "quoted"}); }
    void quoteSql()
    {
        QFETCH(QJsonValue, text);
        QFETCH(QJsonValue, quoted);
        QCOMPARE(QuoteSql(text.toString()), quoted.toString());
    }

    void classify_data() { addJsonCases("sqltext.json", "classify", {"source", "kind"}); }
    void classify()
    {
        QFETCH(QJsonValue, source);
        QFETCH(QJsonValue, kind);
        const char* const names[] = {"Query", "Table", "Statement"};
        QCOMPARE(QLatin1String(names[int(sqltext::classify(source.toString()))]), kind.toString());
    }

    // Typed values never reach the engine as SQL text: every literal becomes a value bound with its type.
    void literalsAreBound_data()
    {
        addJsonCases("sqltext.json", "forEngine", {"statement", "engineText", "values"});
    }
    void literalsAreBound()
    {
        QFETCH(QJsonValue, statement);
        QFETCH(QJsonValue, engineText);
        QFETCH(QJsonValue, values);
        const sqltext::EngineStatement engine = sqltext::forEngine(statement.toString());
        QCOMPARE(engine.text, engineText.toString());
        const auto typed = [](const QVariantList& list) {
            QStringList out;
            for (const QVariant& v : list)
                out.append(QLatin1String(v.typeName()) + QLatin1Char(' ') + v.toString());
            return out;
        };
        QCOMPARE(typed(engine.values), typed(values.toArray().toVariantList()));
    }

    void tableQueries_data() { addJsonCases("sqltext.json", "tableQuery", {"query", "table"}); }
    void tableQueries()
    {
        QFETCH(QJsonValue, query);
        QFETCH(QJsonValue, table);
        const sqltext::TableQuery parsed = sqltext::parseTableQuery(query.toString());
        QCOMPARE(parsed.valid, !table.toString().isEmpty());
        QCOMPARE(parsed.table, table.toString());
    }
};

QTEST_GUILESS_MAIN(SqlTextTest)
#include "tst_sqltext.moc"
