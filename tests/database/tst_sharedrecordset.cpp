// SPDX-License-Identifier: MIT
#include "common/JsonCases.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"

constexpr char kCases[] = "recordset.json";

// The record set on recordset.json's seed rows: moves, fields, writes, source forms, filter and sort texts.
class SharedRecordsetTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> f;

    SharedRecordset& rs() { return f->rs(); }
    DbConnection& db() { return f->db(); }
    QVariantList ids()
    {
        QVariantList out;
        for (int i = 0, n = rs().recordCount(); i < n; ++i, rs().moveNext())
            out.append(rs().field("ID"));
        return out;
    }

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<ProgramFixture>(
            "installed", jsonCases(kCases)[QLatin1String("seed")].toVariant().toStringList());
        f->open();
    }
    void cleanup() { f.reset(); }

    // Moving through the rows, field names, and what the record set refuses.
    void readsAndMoves()
    {
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().eof(), ErrorNumber::ObjectClosed);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setFilter(QString()), ErrorNumber::ObjectClosed);
        rs().open("作成者 WHERE 削除日 IS NULL", db());
        // One result at a time: a second open needs the first released.
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().open("Setting", db()), ErrorNumber::ObjectOpen);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().field("nosuch"), ErrorNumber::ItemNotFound);
        // Letter case is ignored, and a name in katakana reaches the column named in hiragana.
        QCOMPARE(rs().field("PASSWORD").toString(), "pw1");
        QCOMPARE(rs().field("フリガナ").toString(), "ヤマダハナコ");
        QCOMPARE(ids(), (QVariantList{1, 3, 8}));
        QVERIFY(rs().eof());
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().moveNext(), ErrorNumber::NoCurrentRecord);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().field("ID"), ErrorNumber::NoCurrentRecord);
        rs().moveFirst();
        QCOMPARE(rs().field("ID").toInt(), 1);
        rs().setFilter("ID = 99");
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().moveFirst(), ErrorNumber::NoCurrentRecord);
        rs().release();

        // The rows of a query other than a table's are read-only.
        rs().open("SELECT count(*) AS n FROM 作成者", db());
        QCOMPARE(rs().field("n").toInt(), 9);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setField("n", 1), ErrorNumber::NotSupported);
        rs().release();
    }

    // A statement runs at once; added rows take their ID from the database; a change writes only the columns
    // assigned and is saved when the record set is released or closed.
    void writes()
    {
        f->sql("INSERT INTO temp (ID) VALUES (4), (5)");
        rs().open("DELETE * FROM temp", db());
        QVERIFY(!rs().isOpen());
        rs().open("SELECT * FROM temp", db()); // the next open may follow at once
        QVERIFY(rs().eof());
        rs().addNew();
        rs().setField("ID", "7"); // typed text, converted by the database
        rs().update();
        rs().release();
        QCOMPARE(f->rows("SELECT ID, typeof(ID) FROM temp"), (QList<QVariantList>{{7, "integer"}}));

        const QString hostile = "x'); DROP TABLE 作成者; --";
        rs().open("作成者", db());
        rs().addNew();
        rs().setField("名前", hostile);
        rs().setField("フリガナ", "テスト");
        rs().update();
        QCOMPARE(rs().field("ID").toInt(), 25);
        rs().addNew(); // a row added with no value assigned takes the defaults, nothing of the last
        rs().update();
        QCOMPARE(rs().field("ID").toInt(), 26);
        rs().release();
        QCOMPARE(f->rows("SELECT 名前, ふりがな FROM 作成者 WHERE ID >= 25"),
                 (QList<QVariantList>{{hostile, "テスト"}, {QVariant(), QVariant()}}));

        // Another program changed the row meanwhile: only the column assigned is written.
        rs().open("作成者 WHERE ID=3", db());
        f->sql("UPDATE 作成者 SET 住所 = '別の住所' WHERE ID = 3");
        rs().setField("password", "新しい");
        QCOMPARE(rs().field("password").toString(), "新しい");
        rs().update();
        rs().release();
        QCOMPARE(f->rows("SELECT password, 住所 FROM 作成者 WHERE ID = 3"),
                 (QList<QVariantList>{{"新しい", "別の住所"}}));
        // A row removed by another program since it was read is reported, and nothing is written.
        rs().open("作成者 WHERE ID=8", db());
        f->sql("DELETE FROM 作成者 WHERE ID = 8");
        rs().setField("削除日", "2026-12-06 10:00:00");
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().update(), ErrorNumber::RowNotFoundForUpdate);
        rs().release();
        QCOMPARE(f->sql("SELECT count(*) FROM 作成者").toInt(), 10);

        // A release saves the change and clears the filter and the sort; so does a close. (Moving the filter
        // saves the change of the row it leaves: the settings pages' saves show it.)
        rs().open("Setting", db());
        rs().setFilter("ID = 12");
        rs().setSort("ID DESC");
        rs().setField("Set2", 1);
        rs().release();
        QCOMPARE(f->sql("SELECT Set2 FROM Setting WHERE ID = 12").toInt(), 1);
        rs().open("MST", db());
        QVERIFY(rs().filter().isEmpty() && rs().sort().isEmpty());
        rs().setField("stamp", 1);
        rs().close();
        QCOMPARE(f->sql("SELECT stamp FROM MST").toInt(), 1);
    }

    void filterAndSort_data() { addJsonCases(kCases, "filterAndSort", "rows"); }
    // The IDs of the rows a source, filter and sort give, in order; or the error number of a refused text,
    // which changes nothing.
    void filterAndSort()
    {
        QFETCH(QJsonValue, rows);
        const QString filter = rows["filter"].toString();
        const QString sort = rows["sort"].toString();
        const QJsonValue expected = rows["expected"];
        rs().open(rows["source"].toString(), db());
        if (expected.isArray()) {
            rs().setFilter(filter);
            rs().setSort(sort);
            QCOMPARE(ids(), expected.toArray().toVariantList());
        } else {
            rs().setFilter("ID = 3");
            HANAPLAN_VERIFY_RUNTIME_ERROR(filter.isEmpty() ? rs().setSort(sort) : rs().setFilter(filter),
                                          expected.toInt());
            QCOMPARE((QVariantList{rs().filter(), rs().recordCount()}), (QVariantList{"ID = 3", 1}));
        }
        rs().release();
    }
};

QTEST_GUILESS_MAIN(SharedRecordsetTest)
#include "tst_sharedrecordset.moc"
