// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/Database.h"

#include <QTest>

// The record set on real database files: source forms, navigation, fields, writes, filter and sort texts.
class SharedRecordsetTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    std::unique_ptr<DatabaseInspector> inspect;

    SharedRecordset& rs() { return *program->SharedRecordset; }
    DbConnection& db() { return *program->DbConnection; }

    void addCreators()
    {
        inspect->value(QStringLiteral(
            "INSERT INTO 作成者 (ID, 名前, ふりがな, 住所, password, 作成日, 更新日, 削除日) VALUES "
            "(1, '山田花子', 'ヤマダハナコ', '東京都', 'pw1', '2026-01-01 10:00:00', '2026-03-01 10:00:00', "
            "NULL),"
            "(3, 'O''Neil', 'オニール', NULL, 'pw3', '2026-01-02 10:00:00', '2026-02-01 10:00:00', NULL),"
            "(8, '小山太郎', 'コヤマタロウ', '大阪府', 'pw8', '2026-01-03 10:00:00', '2026-01-01 10:00:00', "
            "NULL),"
            "(9, '削除済', 'サクジョズミ', NULL, 'pw9', '2026-01-04 10:00:00', '2026-01-01 10:00:00', "
            "'2026-05-01 10:00:00')"));
        inspect->value(QStringLiteral(
            "INSERT INTO 事業者 (作成者ID, 名前, 使用頻度) VALUES (0, 'あおば', 5), (1, 'いちょう', 9), "
            "(0, 'うめ', 1)"));
    }

    QList<int> ids()
    {
        QList<int> out;
        for (int i = 0, n = rs().recordCount(); i < n; ++i) {
            out.append(rs().field(QStringLiteral("ID")).toInt());
            rs().moveNext();
        }
        return out;
    }

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        program = install->makeMain();
        OpenDatabase(*program);
        inspect = std::make_unique<DatabaseInspector>(install->installedDatabase());
        addCreators();
    }
    void cleanup()
    {
        inspect.reset();
        program.reset();
        install.reset();
    }

    void sourceForms()
    {
        rs().open(QStringLiteral("SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=") + QStringLiteral("8"),
                  db());
        QCOMPARE(rs().recordCount(), 1);
        QCOMPARE(rs().field(QStringLiteral("名前")).toString(), QStringLiteral("小山太郎"));
        rs().release();

        rs().open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"), db());
        QCOMPARE(rs().field(QStringLiteral("masterID")).toString(), QStringLiteral("master"));
        QVERIFY(rs().hasField(QStringLiteral("compellation")));
        rs().release();

        rs().open(QStringLiteral("Setting"), db());
        QCOMPARE(rs().recordCount(), 16);
        rs().release();

        inspect->value(QStringLiteral("INSERT INTO temp (ID) VALUES (4), (5)"));
        rs().open(QStringLiteral("DELETE * FROM temp"), db());
        QVERIFY(!rs().isOpen());
        QCOMPARE(inspect->value(QStringLiteral("SELECT count(*) FROM temp")).toInt(), 0);
        // The next open may follow at once.
        rs().open(QStringLiteral("SELECT * FROM temp"), db());
        QVERIFY(rs().eof());
        rs().addNew();
        rs().setField(QStringLiteral("ID"), QStringLiteral("7")); // typed text, converted by the database
        rs().update();
        rs().release();
        QCOMPARE(inspect->rows(QStringLiteral("SELECT ID, typeof(ID) FROM temp")),
                 (QList<QVariantList>{{7, QStringLiteral("integer")}}));
    }

    void navigation()
    {
        rs().open(QStringLiteral("作成者 WHERE 削除日 IS NULL"), db());
        QCOMPARE(rs().recordCount(), 3);
        QCOMPARE(ids(), (QList<int>{1, 3, 8}));
        QVERIFY(rs().eof());
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().moveNext(), ErrorNumber::NoCurrentRecord);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().field(QStringLiteral("ID")), ErrorNumber::NoCurrentRecord);
        rs().moveFirst();
        QCOMPARE(rs().field(QStringLiteral("ID")).toInt(), 1);
        rs().release();

        rs().open(QStringLiteral("SELECT * FROM 作成者 WHERE ID=99"), db());
        QVERIFY(rs().eof());
        QCOMPARE(rs().recordCount(), 0);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().moveFirst(), ErrorNumber::NoCurrentRecord);
        rs().release();
    }

    void stateErrors()
    {
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().eof(), ErrorNumber::ObjectClosed);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setFilter(QString()), ErrorNumber::ObjectClosed);
        rs().open(QStringLiteral("MST"), db());
        // One result at a time: a second open needs the first released.
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().open(QStringLiteral("Setting"), db()), ErrorNumber::ObjectOpen);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().field(QStringLiteral("nosuch")), ErrorNumber::ItemNotFound);
        rs().release();
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().open(QStringLiteral("NoSuchTable"), db()), 1);
        QVERIFY(!rs().isOpen());
    }

    void fieldNames()
    {
        rs().open(QStringLiteral("SELECT * FROM 作成者 WHERE ID=1"), db());
        QCOMPARE(rs().field(QStringLiteral("PASSWORD")).toString(), QStringLiteral("pw1"));
        QCOMPARE(rs().field(QStringLiteral("フリガナ")).toString(), QStringLiteral("ヤマダハナコ"));
        QCOMPARE(rs().field(QStringLiteral("ふりがな")).toString(), QStringLiteral("ヤマダハナコ"));
        rs().release();
        // Where a table has a katakana column of its own, that name reaches it.
        rs().open(QStringLiteral("利用者"), db());
        QCOMPARE(rs().columnIndex(QStringLiteral("フリガナ")),
                 rs().fieldNames().indexOf(QStringLiteral("フリガナ")));
        rs().release();
    }

    void addNewTakesIdFromDatabase()
    {
        const QString hostile = QStringLiteral("x'); DROP TABLE 作成者; --");
        rs().open(QStringLiteral("作成者"), db());
        rs().addNew();
        rs().setField(QStringLiteral("名前"), hostile);
        rs().setField(QStringLiteral("フリガナ"), QStringLiteral("テスト"));
        rs().update();
        QCOMPARE(rs().field(QStringLiteral("ID")).toInt(), 10);
        rs().release();
        QCOMPARE(inspect->value(QStringLiteral("SELECT 名前 FROM 作成者 WHERE ID = 10")).toString(), hostile);
        QCOMPARE(inspect->value(QStringLiteral("SELECT ふりがな FROM 作成者 WHERE ID = 10")).toString(),
                 QStringLiteral("テスト"));

        // An ID is never given out twice, even when its row has gone.
        inspect->value(QStringLiteral("DELETE FROM 作成者 WHERE ID = 10"));
        rs().open(QStringLiteral("作成者"), db());
        rs().addNew();
        rs().setField(QStringLiteral("名前"), QStringLiteral("次"));
        rs().update();
        QCOMPARE(rs().field(QStringLiteral("ID")).toInt(), 11);
        rs().release();
    }

    void updateWritesOnlyAssignedColumns()
    {
        rs().open(QStringLiteral("作成者 WHERE ID=3"), db());
        inspect->value(QStringLiteral("UPDATE 作成者 SET 住所 = '別の住所' WHERE ID = 3"));
        rs().setField(QStringLiteral("password"), QStringLiteral("新しい"));
        QCOMPARE(rs().field(QStringLiteral("password")).toString(), QStringLiteral("新しい"));
        rs().update();
        rs().release();
        QCOMPARE(inspect->rows(QStringLiteral("SELECT password, 住所 FROM 作成者 WHERE ID = 3")),
                 (QList<QVariantList>{{QStringLiteral("新しい"), QStringLiteral("別の住所")}}));
    }

    void filterAndSortTexts_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QList<int>>("expected");
        const char* live = "作成者 WHERE 削除日 IS NULL";
        auto row = [](const char* title, const char* source, const char* filter, const char* sort,
                      const QList<int>& expected) {
            QTest::newRow(title) << QString::fromUtf8(source) << QString::fromUtf8(filter)
                                 << QString::fromUtf8(sort) << expected;
        };
        row("ID = 8", "Setting", "ID = 8", "", {8});
        row("ID =  1 (two blanks)", "Setting", "ID =  1", "", {1});
        row("作成者ID = 0", "事業者", "作成者ID = 0", "ID ASC", {1, 3});
        row("quote in a like text", live, "名前 Like '*O''Neil*'", "", {3});
        row("reading search", live, "フリガナ Like '*ヤマ*'", "ID ASC", {1, 8});
        row("prefix", live, "名前 Like '小*'", "", {8});
        row("case ignored", live, "名前 like '*o''neil'", "", {3});
        row("null meets nothing", live, "住所 <> '東京都'", "", {8});
        row("and, or, parentheses", live, "(ID = 1 OR ID = 8) AND 住所 = '大阪府'", "", {8});
        row("and binds closer than or", live, "ID = 1 OR ID = 8 AND 住所 = '東京都'", "", {1});
        row("dates as text", live, "更新日 >= '2026-02-01'", "更新日 DESC", {1, 3});
        row("frequency descending", "事業者", "", "使用頻度 DESC", {2, 1, 3});
        row("ID descending", live, "", "ID DESC", {8, 3, 1});
        row("reading ascending", live, "", "フリガナ ASC", {3, 8, 1});
        row("nulls first", live, "", "住所 ASC, ID DESC", {3, 8, 1});
    }
    void filterAndSortTexts()
    {
        QFETCH(QString, source);
        QFETCH(QString, filter);
        QFETCH(QString, sort);
        QFETCH(QList<int>, expected);
        rs().open(source, db());
        rs().setFilter(filter);
        rs().setSort(sort);
        QCOMPARE(rs().recordCount(), expected.size());
        QCOMPARE(ids(), expected);
        rs().release();
    }

    // Characters of the filter syntax inside a search text are matched as they stand.
    void searchTextIsMatchedAsText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("asterisk") << QStringLiteral("a*b") << QStringLiteral("a*b") << true;
        QTest::newRow("asterisk is no wildcard") << QStringLiteral("axxb") << QStringLiteral("a*b") << false;
        QTest::newRow("percent") << QStringLiteral("50%引") << QStringLiteral("%") << true;
        QTest::newRow("brackets and hash") << QStringLiteral("[#1]") << QStringLiteral("[#") << true;
        QTest::newRow("lone asterisk finds only an asterisk")
            << QStringLiteral("abc") << QStringLiteral("*") << false;
        QTest::newRow("full-width") << QStringLiteral("ＡＢＣ　山") << QStringLiteral("Ｃ　山") << true;
    }
    void searchTextIsMatchedAsText()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(bool, found);
        rs().open(QStringLiteral("作成者"), db());
        rs().addNew();
        rs().setField(QStringLiteral("名前"), name);
        rs().update();
        rs().setFilter(QStringLiteral("名前 Like '*") + QuoteSql(typed) + QStringLiteral("*'"));
        QCOMPARE(rs().recordCount(), found ? 1 : 0);
        rs().release();
    }

    void badTexts_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<int>("number");
        auto row = [](const char* title, const char* filter, const char* sort, int number) {
            QTest::newRow(title) << QString::fromUtf8(filter) << QString::fromUtf8(sort) << number;
        };
        row("no value", "ID =", "", ErrorNumber::InvalidArgument);
        row("unterminated text", "名前 = 'x", "", ErrorNumber::InvalidArgument);
        row("unknown column", "nosuch = 1", "", ErrorNumber::InvalidArgument);
        row("dangling and", "ID = 1 AND", "", ErrorNumber::InvalidArgument);
        row("open parenthesis", "(ID = 1", "", ErrorNumber::InvalidArgument);
        row("unknown operator", "ID ~ 1", "", ErrorNumber::InvalidArgument);
        row("like a number", "名前 Like 5", "", ErrorNumber::InvalidArgument);
        row("sort unknown column", "", "nosuch ASC", ErrorNumber::ItemNotFound);
        row("sort trailing comma", "", "ID ASC,", ErrorNumber::InvalidArgument);
        row("sort junk", "", "ID ASC DESC", ErrorNumber::InvalidArgument);
    }
    void badTexts()
    {
        QFETCH(QString, filter);
        QFETCH(QString, sort);
        QFETCH(int, number);
        rs().open(QStringLiteral("作成者 WHERE 削除日 IS NULL"), db());
        rs().setFilter(QStringLiteral("ID = 3"));
        if (!filter.isEmpty())
            HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setFilter(filter), number);
        else
            HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setSort(sort), number);
        // A refused text changes nothing.
        QCOMPARE(rs().filter(), QStringLiteral("ID = 3"));
        QCOMPARE(rs().recordCount(), 1);
        rs().release();
    }

    // Moving the filter to another row saves the change of the row it leaves, as the settings pages rely on.
    void filterMoveSavesPendingChange()
    {
        rs().open(QStringLiteral("Setting"), db());
        rs().setFilter(QStringLiteral("ID = 8"));
        rs().setField(QStringLiteral("Set2"), 1);
        rs().setFilter(QStringLiteral("ID = 9"));
        QCOMPARE(inspect->value(QStringLiteral("SELECT Set2 FROM Setting WHERE ID = 8")).toInt(), 1);
        rs().setField(QStringLiteral("Set2"), 2);
        rs().setFilter(QStringLiteral("ID = 12"));
        rs().setField(QStringLiteral("Set2"), 1);
        rs().update();
        rs().release();
        QCOMPARE(
            inspect->rows(QStringLiteral("SELECT ID, Set2 FROM Setting WHERE ID IN (8, 9, 12) ORDER BY ID")),
            (QList<QVariantList>{{8, 1}, {9, 2}, {12, 1}}));

        // A release saves as well: its empty filter moves the record set.
        rs().open(QStringLiteral("MST"), db());
        rs().setField(QStringLiteral("stamp"), 1);
        rs().release();
        QCOMPARE(inspect->value(QStringLiteral("SELECT stamp FROM MST")).toInt(), 1);
    }

    void releaseClearsFilterAndSort()
    {
        rs().open(QStringLiteral("Setting"), db());
        rs().setFilter(QStringLiteral("ID = 8"));
        rs().setSort(QStringLiteral("ID DESC"));
        rs().release();
        QVERIFY(!rs().isOpen());
        rs().open(QStringLiteral("Setting"), db());
        QCOMPARE(rs().filter(), QString());
        QCOMPARE(rs().sort(), QString());
        QCOMPARE(rs().recordCount(), 16);
        rs().release();
    }

    void cursorLocationIsRecorded()
    {
        QCOMPARE(rs().cursorLocation(), SharedRecordset::ServerSideCursor);
        rs().setCursorLocation(SharedRecordset::ClientSideCursor);
        rs().open(QStringLiteral("MST"), db());
        rs().release();
        rs().open(QStringLiteral("Setting"), db());
        rs().release();
        QCOMPARE(rs().cursorLocation(), SharedRecordset::ClientSideCursor);
    }

    void rowsOfOtherQueriesAreReadOnly()
    {
        rs().open(QStringLiteral("SELECT count(*) AS n FROM 作成者"), db());
        QCOMPARE(rs().field(QStringLiteral("n")).toInt(), 4);
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().setField(QStringLiteral("n"), 1), ErrorNumber::NotSupported);
        rs().release();
    }

    // A row removed by another program since it was read is reported, and nothing is written.
    void rowGoneSinceRead()
    {
        rs().open(QStringLiteral("作成者 WHERE ID=8"), db());
        inspect->value(QStringLiteral("DELETE FROM 作成者 WHERE ID = 8"));
        rs().setField(QStringLiteral("削除日"), QStringLiteral("2026-12-06 10:00:00"));
        HANAPLAN_VERIFY_RUNTIME_ERROR(rs().update(), ErrorNumber::RowNotFoundForUpdate);
        rs().release();
        QCOMPARE(inspect->value(QStringLiteral("SELECT count(*) FROM 作成者")).toInt(), 3);
    }

    void observerSeesStatementsAsWritten()
    {
        QStringList seen;
        db().setStatementObserver([&seen](const QString& s) { seen.append(s); });
        rs().open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"), db());
        rs().setField(QStringLiteral("ruling"), 1);
        rs().update();
        rs().release();
        rs().open(QStringLiteral("DELETE * FROM temp"), db());
        QCOMPARE(seen, (QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"),
                                    QStringLiteral("DELETE * FROM temp")}));
    }
};

QTEST_GUILESS_MAIN(SharedRecordsetTest)
#include "tst_sharedrecordset.moc"
