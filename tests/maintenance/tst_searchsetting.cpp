// SPDX-License-Identifier: MIT
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "maintenance/SearchSetting.h"

#include <QTest>

// A Setting row turned into the filter and sort texts of its list.
class SearchSettingTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    QStringList statements;

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 1, Find = 3, Set5 = 9, "
                                  "Cset2 = 'x', 更新日 = '2026-03-04 05:06:07' "
                                  "WHERE ID = 7"));
        program = install->makeMain();
        OpenDatabase(*program);
        statements.clear();
        program->DbConnection->setStatementObserver([this](const QString& s) { statements.append(s); });
    }
    void cleanup()
    {
        program.reset();
        install.reset();
    }

    void texts_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("sort");
        QTest::addColumn<int>("set1");
        QTest::addColumn<QString>("filterText");
        QTest::addColumn<QString>("sortText");
        QTest::newRow("none ascending") << 0 << 0 << 0 << QString() << QStringLiteral("ID ASC");
        QTest::newRow("unknown sort, any other direction")
            << 2 << 9 << 7 << QString() << QStringLiteral("ID DESC");
        QTest::newRow("frequency") << 1 << 1 << 0 << QStringLiteral("作成者ID = 0")
                                   << QStringLiteral("使用頻度 ASC");
        QTest::newRow("updated") << 0 << 2 << 1 << QString() << QStringLiteral("更新日 DESC");
        QTest::newRow("created") << 0 << 3 << 0 << QString() << QStringLiteral("作成日 ASC");
        QTest::newRow("name") << 0 << 4 << 1 << QString() << QStringLiteral("名前 DESC");
        QTest::newRow("reading") << 0 << 5 << 0 << QString() << QStringLiteral("フリガナ ASC");
        QTest::newRow("negative direction") << -1 << 5 << -1 << QString() << QStringLiteral("フリガナ DESC");
    }
    void texts()
    {
        QFETCH(int, filter);
        QFETCH(int, sort);
        QFETCH(int, set1);
        QFETCH(QString, filterText);
        QFETCH(QString, sortText);
        QCOMPARE(SearchFilterTextFor(filter, 0), filterText);
        QCOMPARE(SearchSortTextFor(sort, set1), sortText);
    }

    void readsTheRow()
    {
        program->maintenance.CurrentCreatorId = 12;
        LoadSearchSetting(*program, 7);
        QCOMPARE(statements,
                 QStringList{QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =7")});
        const SettingRecord& row = program->maintenance.CurrentSetting;
        QCOMPARE(row.ID, 7);
        QCOMPARE(row.Find, 3);
        QCOMPARE(row.Set5, 9);
        QCOMPARE(row.Cset1, QString());
        QCOMPARE(row.Cset2, QStringLiteral("x"));
        QCOMPARE(row.更新日, QStringLiteral("2026-03-04 05:06:07"));
        QCOMPARE(program->maintenance.SearchFilterText, QStringLiteral("作成者ID = 12"));
        QCOMPARE(program->maintenance.SearchSortText, QStringLiteral("名前 DESC"));
        QVERIFY(!program->SharedRecordset->isOpen());
    }

    void idBelowOneReadsNothing()
    {
        LoadSearchSetting(*program, 7);
        for (qint16 id : {qint16(0), qint16(-3)}) {
            LoadSearchSetting(*program, id);
            QCOMPARE(program->maintenance.CurrentSetting.ID, 7);
            QCOMPARE(program->maintenance.SearchSortText, QStringLiteral("名前 DESC"));
        }
        QCOMPARE(statements.size(), 1);
    }

    void rowThatCannotBeRead()
    {
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE Setting SET 削除日 = '2026-01-01' WHERE ID = 2"));
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE Setting SET Sort = NULL WHERE ID = 3"));
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadSearchSetting(*program, 2), ErrorNumber::NoCurrentRecord);
        program->SharedRecordset->discard();
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadSearchSetting(*program, 3), ErrorNumber::TypeMismatch);
    }
};

QTEST_GUILESS_MAIN(SearchSettingTest)
#include "tst_searchsetting.moc"
