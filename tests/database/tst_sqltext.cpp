// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"

#include "database/Database.h"
#include "database/SqlText.h"

constexpr char kCases[] = "sqltext.json";

// How typed texts go into statements and statements reach the engine; the cases are in sqltext.json.
class SqlTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A text quoted for a literal, the kind of a record set's source, and the table of a query on one table
    // ("(none)" for any other query).
    void texts_data() { addJsonCases(kCases, "texts", {"function", "text", "expected"}); }
    void texts()
    {
        QFETCH(QJsonValue, function);
        QFETCH(QJsonValue, text);
        QFETCH(QJsonValue, expected);
        const char* const kinds[] = {"Query", "Table", "Statement"};
        const sqltext::TableQuery parsed = sqltext::parseTableQuery(text.toString());
        const QString result = function == QLatin1String("QuoteSql") ? QuoteSql(text.toString())
                               : function == QLatin1String("classify")
                                   ? QString::fromLatin1(kinds[int(sqltext::classify(text.toString()))])
                                   : parsed.table + (parsed.valid ? "" : "(none)");
        QCOMPARE(result, expected.toString());
    }

    // Typed values never reach the engine as SQL text: every literal becomes a value bound with its type.
    void literalsAreBound_data() { addJsonCases(kCases, "forEngine", {"statement", "engineText", "values"}); }
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
};

QTEST_GUILESS_MAIN(SqlTextTest)
#include "tst_sqltext.moc"
