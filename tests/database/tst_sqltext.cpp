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
    void texts_data() { addJsonCases(kCases, "texts", "sample"); }
    void texts()
    {
        QFETCH(QJsonValue, sample); // {"function", "text", "expected"}
        const QString text = sample["text"].toString();
        const char* const kinds[] = {"Query", "Table", "Statement"};
        const sqltext::TableQuery parsed = sqltext::parseTableQuery(text);
        const QString result = sample["function"] == QLatin1String("QuoteSql") ? QuoteSql(text)
                               : sample["function"] == QLatin1String("classify")
                                   ? QString::fromLatin1(kinds[int(sqltext::classify(text))])
                                   : parsed.table + (parsed.valid ? "" : "(none)");
        QCOMPARE(result, sample["expected"].toString());
    }

    // Typed values never reach the engine as SQL text: every literal becomes a value bound with its type.
    void literalsAreBound_data() { addJsonCases(kCases, "forEngine", "binding"); }
    void literalsAreBound()
    {
        QFETCH(QJsonValue, binding); // {"statement", "engineText", "values"}
        const sqltext::EngineStatement engine = sqltext::forEngine(binding["statement"].toString());
        QCOMPARE(engine.text, binding["engineText"].toString());
        const auto typed = [](const QVariantList& list) {
            QStringList out;
            for (const QVariant& v : list)
                out.append(QLatin1String(v.typeName()) + QLatin1Char(' ') + v.toString());
            return out;
        };
        QCOMPARE(typed(engine.values), typed(binding["values"].toArray().toVariantList()));
    }
};

QTEST_GUILESS_MAIN(SqlTextTest)
#include "tst_sqltext.moc"
