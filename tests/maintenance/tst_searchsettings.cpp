// SPDX-License-Identifier: MIT
#include "common/Controls.h"

#include "SettingsPageFixture.h"

#include "maintenance/SearchSetting.h"
#include "maintenance/SearchSettings.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The position of the one chosen option, -1 for none, -2 for more than one.
int chosen(const QList<QRadioButton*>& options)
{
    int found = -1;
    for (int k = 0; k < options.size(); ++k)
        if (options[k]->isChecked())
            found = found == -1 ? k : -2;
    return found;
}

// The choices row i of the page shows, as the codes the save writes: Filter, Sort, Set1.
QVariantList shown(const MaintenanceWindow& w, int i)
{
    return {chosen({option(w, "検索設定全員", i), option(w, "検索設定作成者", i)}),
            chosen({option(w, "検索設定なし", i), option(w, "検索設定使用頻度", i),
                    option(w, "検索設定更新日", i), option(w, "検索設定作成日", i),
                    option(w, "検索設定名前", i), option(w, "検索設定フリガナ", i)}),
            chosen({option(w, "検索設定昇順", i), option(w, "検索設定降順", i)})};
}

QVariantList stored(const SettingsPageFixture& f, int id)
{
    return f.rows(QStringLiteral("SELECT Filter, Sort, Set1 FROM Setting WHERE ID = %1").arg(id)).value(0);
}

} // namespace

// The 検索設定 page: its fill from Setting and the save of all sixteen rows; a Setting row turned into the
// filter and sort texts of its list.
class SearchSettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillShowsEveryRowIncludingHiddenChoices()
    {
        SettingsPageFixture f({
            QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 1 WHERE ID = 1"), // hidden 作成者
            QStringLiteral("UPDATE Setting SET Sort = 9 WHERE ID = 5"),                       // no sort code
            QStringLiteral("UPDATE Setting SET Filter = NULL, Sort = NULL, Set1 = NULL WHERE ID = 6"),
            QStringLiteral("UPDATE Setting SET Filter = 2, Set1 = 7, 削除日 = '2026-12-02' WHERE ID = 7"),
            QStringLiteral(
                "UPDATE Setting SET Filter = 1, Sort = 5, Set1 = 1 WHERE ID = 16"), // row not shown
        });
        // A choice made on an earlier visit, which a row without a sort code keeps.
        option(*f.window, "検索設定作成日", 4)->setChecked(true);
        ShowSearchSettings(*f.program, *f.window);

        QCOMPARE(f.statements, QStringList{QStringLiteral("Setting")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(shown(*f.window, 0), (QVariantList{1, 4, 1}));
        QCOMPARE(shown(*f.window, 1), (QVariantList{0, 5, 0}));
        QCOMPARE(shown(*f.window, 3), (QVariantList{1, 1, 1}));
        QCOMPARE(shown(*f.window, 4), (QVariantList{1, 3, 1}));
        QCOMPARE(shown(*f.window, 5), (QVariantList{1, 1, 1})); // null Filter, Set1: nonzero; null Sort: kept
        QCOMPARE(shown(*f.window, 6), (QVariantList{1, 1, 1})); // a deleted row is shown too
        QCOMPARE(shown(*f.window, 14), (QVariantList{0, 2, 1}));
        QCOMPARE(shown(*f.window, 15), (QVariantList{1, 5, 1}));
    }

    void saveWritesAllSixteenRowsNormalised()
    {
        SettingsPageFixture f(
            {QStringLiteral("UPDATE Setting SET Filter = 5, Sort = 8, Set1 = -3 WHERE ID = 9")});
        SearchSettingsActions actions(*f.program, *f.window);
        ShowSearchSettings(*f.program, *f.window);
        f.showPage(MaintenanceWindow::SearchSettingsPage);
        option(*f.window, "検索設定全員", 3)->click();
        option(*f.window, "検索設定作成日", 3)->click();
        option(*f.window, "検索設定昇順", 3)->click();
        QList<QVariantList> expected;
        for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i)
            expected.append(shown(*f.window, i));
        // Every row changed behind the page: only a row the save writes shows the page's choices again.
        f.run(QStringLiteral("UPDATE Setting SET Filter = 3, Sort = 7, Set1 = 4"));
        f.statements.clear();

        button(*f.window, "設定変更")->click();

        QCOMPARE(f.statements, QStringList{QStringLiteral("Setting")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        for (int id = 1; id <= MaintenanceWindow::SearchSettingRows; ++id)
            QCOMPARE(stored(f, id), expected.at(id - 1));
        QCOMPARE(stored(f, 4), (QVariantList{0, 3, 0}));
        QCOMPARE(stored(f, 9), (QVariantList{1, 1, 1})); // 5 and -3 written back as 1, sort as shown
        QCOMPARE(
            f.value(QStringLiteral("SELECT COUNT(*) FROM Setting WHERE typeof(Filter) || typeof(Sort) || "
                                   "typeof(Set1) = 'integerintegerinteger' AND 更新日 = '%1'")
                        .arg(SeedStamp)),
            QVariant(16));
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(f.window->isVisible());
    }

    void rowFilterTexts()
    {
        QCOMPARE(SearchSettingRowFilter(1), QStringLiteral("ID =  1"));
        QCOMPARE(SearchSettingRowFilter(16), QStringLiteral("ID =  16"));
        QCOMPARE(SearchSettingRowFilter(-2), QStringLiteral("ID = -2"));
    }

    void tablesThePageCannotUse()
    {
        {
            // Empty table: the fill leaves the page alone; the save writes nothing and says so.
            SettingsPageFixture f({QStringLiteral("DELETE FROM Setting")});
            option(*f.window, "検索設定降順", 2)->setChecked(true);
            ShowSearchSettings(*f.program, *f.window);
            QCOMPARE(shown(*f.window, 2), (QVariantList{1, 1, 1}));
            SearchSettingsActions actions(*f.program, *f.window);
            HANAPLAN_VERIFY_RUNTIME_ERROR(actions.on設定変更Clicked(), ErrorNumber::NoCurrentRecord);
            QVERIFY(!f.program->SharedRecordset->isOpen());
            QCOMPARE(f.value(QStringLiteral("SELECT COUNT(*) FROM Setting")), QVariant(0));
        }
        {
            // A row the save cannot find stops it there, and the rows before it are taken back.
            SettingsPageFixture f({QStringLiteral("DELETE FROM Setting WHERE ID = 10")});
            ShowSearchSettings(*f.program, *f.window);
            option(*f.window, "検索設定全員", 8)->setChecked(true);
            option(*f.window, "検索設定全員", 10)->setChecked(true);
            const QString before = f.dump();
            SearchSettingsActions actions(*f.program, *f.window);
            HANAPLAN_VERIFY_RUNTIME_ERROR(actions.on設定変更Clicked(), ErrorNumber::NoCurrentRecord);
            QCOMPARE(f.dump(), before);
        }
        {
            // The engine refuses the third of the sixteen rows: none of them is saved, and the connection
            // takes the next statement.
            SettingsPageFixture f(
                {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Setting WHEN NEW.ID = 3 "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END")});
            ShowSearchSettings(*f.program, *f.window);
            for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i)
                option(*f.window, "検索設定降順", i)->setChecked(true);
            const QString before = f.dump();
            SearchSettingsActions actions(*f.program, *f.window);
            try {
                actions.on設定変更Clicked();
                QFAIL("the refused row was reported as saved");
            } catch (const RuntimeError& error) {
                QVERIFY2(error.description().contains(QStringLiteral("refused")),
                         qPrintable(error.description()));
            }
            QCOMPARE(f.dump(), before);
            QVERIFY(!f.program->SharedRecordset->isOpen());
            ShowSearchSettings(*f.program, *f.window);
            QCOMPARE(shown(*f.window, 0), stored(f, 1));
        }
        {
            // A row ID the page has no row for.
            SettingsPageFixture f({QStringLiteral("UPDATE Setting SET ID = 17 WHERE ID = 16")});
            HANAPLAN_VERIFY_RUNTIME_ERROR(ShowSearchSettings(*f.program, *f.window),
                                          ErrorNumber::NoControlArrayElement);
        }
    }

    void searchTexts_data()
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
    void searchTexts()
    {
        QFETCH(int, filter);
        QFETCH(int, sort);
        QFETCH(int, set1);
        QFETCH(QString, filterText);
        QFETCH(QString, sortText);
        QCOMPARE(SearchFilterTextFor(filter, 0), filterText);
        QCOMPARE(SearchSortTextFor(sort, set1), sortText);
    }

    // Loading a row reads it once into memory with its texts; an ID below one reads nothing.
    void loadSearchSetting()
    {
        SettingsPageFixture f(
            {QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 1, Find = 3, "
                            "Set5 = 9, Cset2 = 'x', 更新日 = '2026-03-04 05:06:07' WHERE ID = 7")});
        f.program->maintenance.CurrentCreatorId = 12;
        LoadSearchSetting(*f.program, 7);
        for (qint16 id : {qint16(0), qint16(-3)})
            LoadSearchSetting(*f.program, id);
        QCOMPARE(f.statements,
                 QStringList{QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =7")});
        const SettingRecord& row = f.program->maintenance.CurrentSetting;
        QCOMPARE(row.ID, 7);
        QCOMPARE(row.Find, 3);
        QCOMPARE(row.Set5, 9);
        QCOMPARE(row.Cset1, QString());
        QCOMPARE(row.Cset2, QStringLiteral("x"));
        QCOMPARE(row.更新日, QStringLiteral("2026-03-04 05:06:07"));
        QCOMPARE(f.program->maintenance.SearchFilterText, QStringLiteral("作成者ID = 12"));
        QCOMPARE(f.program->maintenance.SearchSortText, QStringLiteral("名前 DESC"));
        QVERIFY(!f.program->SharedRecordset->isOpen());
    }

    void searchSettingThatCannotBeRead()
    {
        SettingsPageFixture f({QStringLiteral("UPDATE Setting SET 削除日 = '2026-01-01' WHERE ID = 2"),
                               QStringLiteral("UPDATE Setting SET Sort = NULL WHERE ID = 3")});
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadSearchSetting(*f.program, 2), ErrorNumber::NoCurrentRecord);
        f.program->SharedRecordset->discard();
        HANAPLAN_VERIFY_RUNTIME_ERROR(LoadSearchSetting(*f.program, 3), ErrorNumber::TypeMismatch);
    }
};

QTEST_MAIN(SearchSettingsTest)
#include "tst_searchsettings.moc"
