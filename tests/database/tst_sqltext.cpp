// SPDX-License-Identifier: MIT
#include "database/Database.h"
#include "database/SqlText.h"

#include <QTest>

using sqltext::SourceKind;

class SqlTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quoteSql_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks at both ends") << QStringLiteral("  O'Neil ") << QStringLiteral("O''Neil");
        QTest::newRow("two quotes") << QStringLiteral("''") << QStringLiteral("''''");
        QTest::newRow("inner blank stays") << QStringLiteral(" a b ") << QStringLiteral("a b");
        QTest::newRow("only spaces are trimmed") << QStringLiteral("\tx　") << QStringLiteral("\tx　");
        QTest::newRow("blanks only") << QStringLiteral("   ") << QString();
    }
    void quoteSql()
    {
        QFETCH(QString, text);
        QFETCH(QString, quoted);
        QCOMPARE(QuoteSql(text), quoted);
    }

    void classify_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("kind");
        auto row = [](const char* title, const char* source, SourceKind kind) {
            QTest::newRow(title) << QString::fromUtf8(source) << int(kind);
        };
        row("full query", "SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=7", SourceKind::Query);
        row("lower-case query", "  select dbver from MST", SourceKind::Query);
        row("table with condition", "MST WHERE 削除日 IS NULL AND ID = 1", SourceKind::Table);
        row("bare table", "Setting", SourceKind::Table);
        row("delete", "DELETE * FROM temp", SourceKind::Statement);
        row("table named like a keyword prefix", "SELECTION", SourceKind::Table);
    }
    void classify()
    {
        QFETCH(QString, source);
        QFETCH(int, kind);
        QCOMPARE(int(sqltext::classify(source)), kind);
    }

    // Typed values never reach the engine as SQL text: every literal becomes a bound value.
    void literalsAreBound_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("engineText");
        QTest::addColumn<QVariantList>("values");
        auto row = [](const char* title, const char* statement, const char* engineText,
                      const QVariantList& values) {
            QTest::newRow(title) << QString::fromUtf8(statement) << QString::fromUtf8(engineText) << values;
        };
        row("quoted master ID", "SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'",
            "SELECT * FROM MST WHERE 削除日 IS NULL AND masterID=?", {QStringLiteral("O'Neil")});
        row("injection attempt stays one value", "SELECT * FROM MST WHERE masterID='x'' OR ''1''=''1'",
            "SELECT * FROM MST WHERE masterID=?", {QStringLiteral("x' OR '1'='1")});
        row("number after equals", "SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =12",
            "SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =?", {12LL});
        row("digits inside names are names", "SELECT Set1, Cset2 FROM Setting WHERE ID=3",
            "SELECT Set1, Cset2 FROM Setting WHERE ID=?", {3LL});
        row("Japanese name ending in a digit", "SELECT 公費負担名称1 FROM 利用者",
            "SELECT 公費負担名称1 FROM 利用者", {});
        row("quoted identifier untouched", "SELECT \"a'b\" FROM [x 1] WHERE v = 1.5",
            "SELECT \"a'b\" FROM [x 1] WHERE v = ?", {1.5});
        row("delete all", "DELETE * FROM temp", "DELETE FROM temp", {});
        row("empty text literal", "SELECT * FROM x WHERE a=''", "SELECT * FROM x WHERE a=?", {QString()});
        // Table changes go as written, but Memo columns must keep text as text.
        row("added column", "ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)",
            "ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)", {});
        row("memo column", "ALTER TABLE MST ADD stampcont Memo", "ALTER TABLE MST ADD stampcont Text", {});
        row("name starting with Memo", "ALTER TABLE MST ADD Memo2 Integer",
            "ALTER TABLE MST ADD Memo2 Integer", {});
    }
    void literalsAreBound()
    {
        QFETCH(QString, statement);
        QFETCH(QString, engineText);
        QFETCH(QVariantList, values);
        const sqltext::EngineStatement engine = sqltext::forEngine(statement);
        QCOMPARE(engine.text, engineText);
        QCOMPARE(engine.values.size(), values.size());
        for (int i = 0; i < values.size(); ++i) {
            QCOMPARE(engine.values.at(i).toString(), values.at(i).toString());
            QCOMPARE(engine.values.at(i).typeId(), values.at(i).typeId());
        }
    }

    void tableQueries_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("table");
        auto row = [](const char* title, const char* query, const char* table) {
            QTest::newRow(title) << QString::fromUtf8(query) << (*table != 0) << QString::fromUtf8(table);
        };
        row("star with condition", "SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=7", "作成者");
        row("column, lower-case from", "SELECT dbver from MST", "MST");
        row("order by", "SELECT * FROM temp ORDER BY ID", "temp");
        row("join", "SELECT * FROM a JOIN b ON a.x = b.x", "");
        row("two tables", "SELECT * FROM a, b", "");
        row("aggregate", "SELECT count(*) FROM a", "");
        row("distinct", "SELECT DISTINCT 名前 FROM a", "");
    }
    void tableQueries()
    {
        QFETCH(QString, query);
        QFETCH(bool, valid);
        QFETCH(QString, table);
        const sqltext::TableQuery parsed = sqltext::parseTableQuery(query);
        QCOMPARE(parsed.valid, valid);
        QCOMPARE(parsed.table, table);
    }
};

QTEST_GUILESS_MAIN(SqlTextTest)
#include "tst_sqltext.moc"
