// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "viewer/WorkbookData.h"

#include <QTest>

#include <functional>

using Pick = std::function<QString(const WorkbookData&)>;
Q_DECLARE_METATYPE(Pick)

// What the stand-in spreadsheet reads from the database, on real database files.
class WorkbookDataTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;

    void run(const QString& statement) { program->DbConnection->execute(statement); }

private Q_SLOTS:
    void initTestCase()
    {
        qunsetenv("HANAPLAN_REGISTRY");
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
    }
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        program = install->makeMain();
        OpenDatabase(*program);
    }
    void cleanup()
    {
        program.reset();
        install.reset();
    }

    void signedInCreatorAndSettings()
    {
        run(QStringLiteral(
            "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('山田 一郎', 'やまだ いちろう', 'a')"));
        run(QStringLiteral(
            "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('佐藤 花子', 'さとう はなこ', 'b')"));
        run(QStringLiteral("INSERT INTO temp (ID) VALUES (2)"));
        run(QStringLiteral("UPDATE MST SET compellation = 1, ruling = 1, stamp = 1, stampcont = NULL"));
        run(QStringLiteral("UPDATE Setting SET Set2 = 1 WHERE ID = 8"));
        run(QStringLiteral("UPDATE Setting SET Set2 = 2 WHERE ID = 9"));
        run(QStringLiteral("UPDATE Setting SET Set2 = 0 WHERE ID = 12"));
        run(QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 0 WHERE ID = 3"));
        run(QStringLiteral("UPDATE Setting SET Filter = 0, Sort = 3, Set1 = 1 WHERE ID = 16"));

        const WorkbookData data = ReadWorkbookData(*program);
        QCOMPARE(data.creatorId, QStringLiteral("2"));
        QCOMPARE(data.creatorName, QStringLiteral("佐藤 花子"));
        QCOMPARE(data.creatorReading, QStringLiteral("さとう はなこ"));
        QCOMPARE(data.creatorNote, QString());
        QCOMPARE(data.honorific, QStringLiteral("殿"));
        QCOMPARE(data.ruledLines, QStringLiteral("あり"));
        QCOMPARE(data.stamp, QStringLiteral("あり"));
        QCOMPARE(data.stampSentence, QStringLiteral("(なし)"));

        QStringList periods;
        for (const PeriodSetting& p : data.periods)
            periods.append(QStringLiteral("%1 %2 %3").arg(p.id).arg(p.item, p.method));
        QCOMPARE(periods, (QStringList{"8 長期目標の期間 期間のみ", "9 短期目標の期間 範囲のみ",
                                       "12 サービス種別の期間 期間と範囲"}));

        // The sixteen lists in ID order, as the installed database holds them but for rows 3 and 16.
        QCOMPARE(data.lists.size(), 16);
        auto row = [&](int id) {
            const ListSetting& l = data.lists.at(id - 1);
            return QStringList{QString::number(l.id), l.list, l.filter, l.sort, l.order};
        };
        QCOMPARE(row(1), (QStringList{"1", "作成者", "全員", "フリガナ", "昇順"}));
        QCOMPARE(row(3), (QStringList{"3", "事業者", "作成者", "名前", "昇順"}));
        QCOMPARE(row(13), (QStringList{"13", "提供事業所", "全員", "使用頻度", "降順"}));
        QCOMPARE(row(15), (QStringList{"15", "計画書", "全員", "更新日", "降順"}));
        QCOMPARE(row(16), (QStringList{"16", "所属", "全員", "作成日", "降順"}));

        // Every result is released.
        QVERIFY(!program->SharedRecordset->isOpen());
        QCOMPARE(program->SharedRecordset->filter(), QString());
    }

    void creatorCases_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QStringList>("expected"); // ID, 名前, ふりがな, note
        const QString creator = QStringLiteral(
            "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('山田 一郎', 'やまだ', 'a')");
        QTest::newRow("nobody signed in") << QStringList{creator} << QStringList{"", kNoCreator, "", ""};
        QTest::newRow("null ID") << QStringList{creator, "INSERT INTO temp (ID) VALUES (NULL)"}
                                 << QStringList{"", kNoCreator, "", ""};
        QTest::newRow("ID not registered") << QStringList{creator, "INSERT INTO temp (ID) VALUES (7)"}
                                           << QStringList{"7", "", "", "作成者に登録されていません"};
        QTest::newRow("creator deleted since")
            << QStringList{creator, "UPDATE 作成者 SET 削除日 = '2026-12-02 10:00:00'",
                           "INSERT INTO temp (ID) VALUES (1)"}
            << QStringList{"1", "山田 一郎", "やまだ", "削除済みの作成者です"};
        QTest::newRow("ID not a number") << QStringList{creator, "INSERT INTO temp (ID) VALUES ('1 OR 1=1')"}
                                         << QStringList{"1 OR 1=1", "", "", "ID が数ではありません"};
    }
    void creatorCases()
    {
        QFETCH(QStringList, statements);
        QFETCH(QStringList, expected);
        for (const QString& statement : statements)
            run(statement);
        const WorkbookData data = ReadWorkbookData(*program);
        QCOMPARE((QStringList{data.creatorId, data.creatorName, data.creatorReading, data.creatorNote}),
                 expected);
    }

    void codedValues_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<Pick>("pick");
        QTest::addColumn<QString>("expected");
        const Pick honorific = [](const WorkbookData& d) { return d.honorific; };
        const Pick ruled = [](const WorkbookData& d) { return d.ruledLines; };
        const Pick stamp = [](const WorkbookData& d) { return d.stamp; };
        const Pick sentence = [](const WorkbookData& d) { return d.stampSentence; };
        const Pick longTerm = [](const WorkbookData& d) { return d.periods.at(0).method; };
        const Pick list5 = [](const WorkbookData& d) -> QString {
            const ListSetting& l = d.lists.at(4);
            return l.filter + QLatin1Char('|') + l.sort + QLatin1Char('|') + l.order;
        };
        QTest::newRow("様") << "UPDATE MST SET compellation = 0" << honorific << "様";
        QTest::newRow("honorific 2") << "UPDATE MST SET compellation = 2" << honorific << "不明な値 (2)";
        QTest::newRow("honorific null") << "UPDATE MST SET compellation = NULL" << honorific << "(未設定)";
        QTest::newRow("なし") << "UPDATE MST SET ruling = 0" << ruled << "なし";
        QTest::newRow("stamp 2") << "UPDATE MST SET stamp = 2" << stamp << "なし";
        QTest::newRow("stamp null") << "UPDATE MST SET stamp = NULL" << stamp << "なし";
        QTest::newRow("sentence as stored")
            << "UPDATE MST SET stampcont = 'it''s 説明'" << sentence << "it's 説明";
        QTest::newRow("Set2 5") << "UPDATE Setting SET Set2 = 5 WHERE ID = 8" << longTerm << "不明な値 (5)";
        QTest::newRow("Set2 null") << "UPDATE Setting SET Set2 = NULL WHERE ID = 8" << longTerm << "(未設定)";
        QTest::newRow("list: any Set1 but 0 is descending")
            << "UPDATE Setting SET Set1 = 7 WHERE ID = 5" << list5 << "作成者|使用頻度|降順";
        QTest::newRow("list: unknown codes") << "UPDATE Setting SET Filter = 2, Sort = 9 WHERE ID = 5"
                                             << list5 << "不明な値 (2)|不明な値 (9)|降順";
        QTest::newRow("list: nulls")
            << "UPDATE Setting SET Filter = NULL, Sort = NULL, Set1 = NULL WHERE ID = 5" << list5
            << "(未設定)|(未設定)|(未設定)";
    }
    void codedValues()
    {
        QFETCH(QString, statement);
        QFETCH(Pick, pick);
        QFETCH(QString, expected);
        run(statement);
        QCOMPARE(pick(ReadWorkbookData(*program)), expected);
    }

    void missingAndDeletedRows()
    {
        run(QStringLiteral("UPDATE MST SET 削除日 = '2026-12-02 10:00:00'"));
        run(QStringLiteral("DELETE FROM Setting WHERE ID = 9"));
        run(QStringLiteral("UPDATE Setting SET 削除日 = '2026-12-02 10:00:00' WHERE ID = 2"));
        const WorkbookData data = ReadWorkbookData(*program);
        QCOMPARE(data.honorific, kNoMasterRow);
        QCOMPARE(data.ruledLines, kNoMasterRow);
        QCOMPARE(data.stamp, kNoMasterRow);
        QCOMPARE(data.stampSentence, kNoMasterRow);
        QCOMPARE(data.lists.size(), 16);
        QCOMPARE(data.lists.at(8).filter, kNoSettingRow);
        QCOMPARE(data.lists.at(8).sort, kNoSettingRow);
        QCOMPARE(data.periods.at(1).method, kNoSettingRow);
        QCOMPARE(data.periods.at(2).method, QStringLiteral("期間と範囲"));
        QVERIFY(data.lists.at(1).deleted);
        QCOMPARE(data.lists.at(1).sort, QStringLiteral("フリガナ"));
    }

    void missingTableIsARuntimeErrorAndTheDatabaseIsClosed()
    {
        // The installed file loses a table; the per-user copy is made from it on the first load.
        run(QStringLiteral("DROP TABLE temp"));
        CloseDatabase(*program);
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadWorkbookData(*program), 1);
        QVERIFY(QFileInfo::exists(install->localAppData() + QStringLiteral("/HanacareService.mdb")));
        QVERIFY(!program->DbConnection);
        QVERIFY(!program->SharedRecordset);
    }

    void loadFindsTheDatabaseAsTheLauncherDoes()
    {
        CloseDatabase(*program);
        // NT 10.0 (no store): the per-user copy below the virtualised folder, made from the installed file.
        QVERIFY(QDir(install->localAppData()).mkpath(QStringLiteral("VirtualStore/Program Files/Hanaplan")));
        const QString copy = install->localAppData() +
                             QStringLiteral("/VirtualStore/Program Files/Hanaplan/HanacareService.mdb");
        TestInstallation::copyFixture(QStringLiteral("installed"), copy);
        {
            DatabaseInspector own(copy);
            own.value(QStringLiteral(
                "INSERT INTO 作成者 (名前, ふりがな, password) VALUES ('個人用', 'こじんよう', 'a')"));
            own.value(QStringLiteral("INSERT INTO temp (ID) VALUES (1)"));
        }

        auto fresh = install->makeMain(0);
        const WorkbookData data = LoadWorkbookData(*fresh);
        QVERIFY(fresh->WindowsVersionCode > 2100);
        QCOMPARE(fresh->VirtualStorePath, QStringLiteral("\\VirtualStore\\Program Files\\Hanaplan"));
        QCOMPARE(data.creatorName, QStringLiteral("個人用"));
        // Closed before the window shows: no connection is left, and another process may write at once.
        QVERIFY(!fresh->DbConnection);
        QVERIFY(!fresh->SharedRecordset);
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(copy);
            other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
            QVERIFY(other.open());
            QSqlQuery query(other);
            QVERIFY2(query.exec(QStringLiteral("BEGIN EXCLUSIVE")), qPrintable(query.lastError().text()));
            QVERIFY(query.exec(QStringLiteral("ROLLBACK")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }

    void programFolder()
    {
        qputenv("HANAPLAN_PROGRAM_FOLDER", "/opt/hanaplan");
        QCOMPARE(ViewerProgramFolder(QStringLiteral("/usr/lib/viewer")), QStringLiteral("/opt/hanaplan"));
        qunsetenv("HANAPLAN_PROGRAM_FOLDER");
        QCOMPARE(ViewerProgramFolder(QStringLiteral("/usr/lib/viewer")),
                 install->programFiles() + QStringLiteral("/Hanaplan"));
        qunsetenv("ProgramFiles");
        QCOMPARE(ViewerProgramFolder(QStringLiteral("/usr/lib/viewer")), QStringLiteral("/usr/lib/viewer"));
    }
};

QTEST_GUILESS_MAIN(WorkbookDataTest)
#include "tst_workbookdata.moc"
