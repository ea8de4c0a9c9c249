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
        QTest::newRow("full query") << QStringLiteral("SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=7")
                                    << int(SourceKind::Query);
        QTest::newRow("lower-case query")
            << QStringLiteral("  select dbver from MST") << int(SourceKind::Query);
        QTest::newRow("table with condition")
            << QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1") << int(SourceKind::Table);
        QTest::newRow("bare table") << QStringLiteral("Setting") << int(SourceKind::Table);
        QTest::newRow("delete") << QStringLiteral("DELETE * FROM temp") << int(SourceKind::Statement);
        QTest::newRow("table named like a keyword prefix")
            << QStringLiteral("SELECTION") << int(SourceKind::Table);
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
        QTest::newRow("quoted master ID")
            << QStringLiteral("SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'")
            << QStringLiteral("SELECT * FROM MST WHERE 削除日 IS NULL AND masterID=?")
            << QVariantList{QStringLiteral("O'Neil")};
        QTest::newRow("injection attempt stays one value")
            << QStringLiteral("SELECT * FROM MST WHERE masterID='x'' OR ''1''=''1'")
            << QStringLiteral("SELECT * FROM MST WHERE masterID=?")
            << QVariantList{QStringLiteral("x' OR '1'='1")};
        QTest::newRow("number after equals")
            << QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =12")
            << QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =?") << QVariantList{12LL};
        QTest::newRow("digits inside names are names")
            << QStringLiteral("SELECT Set1, Cset2 FROM Setting WHERE ID=3")
            << QStringLiteral("SELECT Set1, Cset2 FROM Setting WHERE ID=?") << QVariantList{3LL};
        QTest::newRow("Japanese name ending in a digit")
            << QStringLiteral("SELECT 公費負担名称1 FROM 利用者")
            << QStringLiteral("SELECT 公費負担名称1 FROM 利用者") << QVariantList{};
        QTest::newRow("quoted identifier untouched")
            << QStringLiteral("SELECT \"a'b\" FROM [x 1] WHERE v = 1.5")
            << QStringLiteral("SELECT \"a'b\" FROM [x 1] WHERE v = ?") << QVariantList{1.5};
        QTest::newRow("delete all") << QStringLiteral("DELETE * FROM temp")
                                    << QStringLiteral("DELETE FROM temp") << QVariantList{};
        QTest::newRow("empty text literal")
            << QStringLiteral("SELECT * FROM x WHERE a=''") << QStringLiteral("SELECT * FROM x WHERE a=?")
            << QVariantList{QString()};
        // Table changes go as written, but Memo columns must keep text as text.
        QTest::newRow("added column")
            << QStringLiteral("ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)")
            << QStringLiteral("ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)") << QVariantList{};
        QTest::newRow("memo column") << QStringLiteral("ALTER TABLE MST ADD stampcont Memo")
                                     << QStringLiteral("ALTER TABLE MST ADD stampcont Text")
                                     << QVariantList{};
        QTest::newRow("name starting with Memo")
            << QStringLiteral("ALTER TABLE MST ADD Memo2 Integer")
            << QStringLiteral("ALTER TABLE MST ADD Memo2 Integer") << QVariantList{};
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
        QTest::newRow("star with condition")
            << QStringLiteral("SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=7") << true
            << QStringLiteral("作成者");
        QTest::newRow("column, lower-case from")
            << QStringLiteral("SELECT dbver from MST") << true << QStringLiteral("MST");
        QTest::newRow("order by") << QStringLiteral("SELECT * FROM temp ORDER BY ID") << true
                                  << QStringLiteral("temp");
        QTest::newRow("join") << QStringLiteral("SELECT * FROM a JOIN b ON a.x = b.x") << false << QString();
        QTest::newRow("two tables") << QStringLiteral("SELECT * FROM a, b") << false << QString();
        QTest::newRow("aggregate") << QStringLiteral("SELECT count(*) FROM a") << false << QString();
        QTest::newRow("distinct") << QStringLiteral("SELECT DISTINCT 名前 FROM a") << false << QString();
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
