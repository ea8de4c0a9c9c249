// SPDX-License-Identifier: MIT
#include "DataCases.h"
#include "PagesFixture.h"

#include "RuntimeError.h"
#include "database/Values.h"
#include "maintenance/HonorificActions.h"
#include "maintenance/MasterActions.h"
#include "maintenance/PeriodStampActions.h"
#include "maintenance/SearchSetting.h"
#include "maintenance/SearchSettingsActions.h"

#include <QApplication>

namespace {

const QString SeedStamp = QStringLiteral("2026-12-01 09:00:00"); // 更新日 of the seed, which settings keep
constexpr int EngineRefusal = 1811;                              // a trigger refused the row

// The position of the one chosen option, "x" when none or more than one is chosen.
QString chosen(const QList<QRadioButton*>& options)
{
    QString found;
    for (int k = 0; k < options.size(); ++k)
        if (options[k]->isChecked())
            found += QString::number(k);
    return found.size() == 1 ? found : QStringLiteral("x");
}

// The pages' fixture with what each settings page shows, as the codes its save writes.
struct Fixture : PagesFixture
{
    using PagesFixture::PagesFixture;

    // What 検索設定 shows, row after row: the codes its save writes for Filter, Sort and Set1.
    QString searchRows() const
    {
        QStringList rows;
        for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i) {
            const auto o = [&](const char* name) { return option(*window, name, i); };
            rows << chosen({o("検索設定全員"), o("検索設定作成者")}) +
                        chosen({o("検索設定なし"), o("検索設定使用頻度"), o("検索設定更新日"),
                                o("検索設定作成日"), o("検索設定名前"), o("検索設定フリガナ")}) +
                        chosen({o("検索設定昇順"), o("検索設定降順")});
        }
        return rows.join(QLatin1Char(' '));
    }
    // What 期間・押印 shows: the method of each line (0 期間と範囲, 1 期間のみ, 2 範囲のみ), then the stamp
    // (0 なし, 1 あり) and the sentence.
    QString periodStamp() const
    {
        QString out;
        for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k)
            out += chosen({option(*window, "期間と範囲", k), option(*window, "期間のみ", k),
                           option(*window, "範囲のみ", k)});
        return out + QLatin1Char(' ') +
               chosen({option(*window, "説明文表示なし"), option(*window, "説明文表示あり")}) +
               QLatin1Char(' ') + edit(*window, "表示文")->text();
    }
    // What 敬称・罫線 shows: the honorific, then the ruling.
    QString honorific() const
    {
        return chosen({option(*window, "Option敬称", 0), option(*window, "Option敬称", 1)}) +
               chosen({option(*window, "Option罫線", 0), option(*window, "Option罫線", 1)});
    }

    // Fills a settings page from the file, or saves a page as its button does; for the creator page,
    // reads the creator list's Setting row.
    void act(int page, bool save)
    {
        MaintenanceWindow& w = *window;
        switch (page) {
        case MaintenanceWindow::CreatorPage:
            return LoadSearchSetting(program->database, program->maintenance, 1);
        case MaintenanceWindow::MasterPage:
            return w.findChild<MasterActions*>()->onマスター変更Clicked();
        case MaintenanceWindow::SearchSettingsPage:
            return save ? w.findChild<SearchSettingsActions*>()->on設定変更Clicked()
                        : ShowSearchSettings(program->database, w);
        case MaintenanceWindow::PeriodStampPage:
            return save ? w.findChild<PeriodStampActions*>()->on期間設定変更Clicked()
                        : ShowPeriodStampSettings(program->database, w);
        default:
            return save ? w.findChild<HonorificActions*>()->on敬称設定変更Clicked()
                        : ShowHonorificSettings(program->database, program->maintenance, w);
        }
    }
};

} // namespace

// The master page and the three settings pages: each page's fill from the file and its save, the values a
// page cannot show and the saves that fail part way; the Setting row behind a list and its texts.
class SettingsPagesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void searchSettings()
    {
        Fixture f({
            QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 1 WHERE ID = 1"), // hidden 作成者
            QStringLiteral("UPDATE Setting SET Sort = 0 WHERE ID = 2"),                       // なし
            QStringLiteral("UPDATE Setting SET Sort = 9 WHERE ID = 5"),                       // no sort code
            QStringLiteral("UPDATE Setting SET Filter = NULL, Sort = NULL, Set1 = NULL WHERE ID = 6"),
            QStringLiteral("UPDATE Setting SET Filter = 2, Set1 = 7, 削除日 = '2026-12-02' WHERE ID = 7"),
            QStringLiteral("UPDATE Setting SET Filter = 5, Sort = 8, Set1 = -3 WHERE ID = 9"),
            QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 5, Set1 = 1 WHERE ID = 16"), // not shown
        });
        // A choice made on an earlier visit, which a row without a sort code keeps.
        option(*f.window, "検索設定作成日", 4)->setChecked(true);
        ShowSearchSettings(f.program->database, *f.window);

        QCOMPARE(f.statements, QStringList{QStringLiteral("Setting")});
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        // Any number but 0 chooses 作成者 and 降順, as null does; a row without a sort code keeps the
        // choice it had; deleted rows and rows not shown are filled too.
        QCOMPARE(f.searchRows(),
                 QStringLiteral("141 000 050 111 131 111 111 111 111 111 111 111 011 111 021 151"));

        f.showPage(MaintenanceWindow::SearchSettingsPage);
        option(*f.window, "検索設定全員", 3)->click();
        option(*f.window, "検索設定作成日", 3)->click();
        option(*f.window, "検索設定昇順", 3)->click();
        const QString expected = f.searchRows();
        QCOMPARE(expected.mid(12, 3), QStringLiteral("030"));
        // Every row changed behind the page: only a row the save writes shows the page's choices again.
        f.run(QStringLiteral("UPDATE Setting SET Filter = 3, Sort = 7, Set1 = 4"));
        f.statements.clear();

        button(*f.window, "設定変更")->click();

        QCOMPARE(f.statements, QStringList{QStringLiteral("Setting")});
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        QCOMPARE(
            f.run(QStringLiteral("SELECT group_concat(Filter || Sort || Set1, ' ') FROM Setting")).toString(),
            expected);
        QCOMPARE(f.run(QStringLiteral("SELECT COUNT(*) FROM Setting WHERE typeof(Filter) || typeof(Sort) || "
                                      "typeof(Set1) = 'integerintegerinteger' AND 更新日 = '%1'")
                           .arg(SeedStamp)),
                 QVariant(16));
        QVERIFY(f.shown.isEmpty() && f.window->isVisible());
    }

    // The filter and sort texts of a list's Setting row; loading a row reads it once into memory with its
    // texts, an ID below one reads nothing.
    void searchSettingOfAList()
    {
        const QList<QStringList> cases = dataCases("search-texts.txt");
        QVERIFY(!cases.isEmpty());
        for (const QStringList& c : cases) {
            QCOMPARE(SearchFilterTextFor(c.value(0).toInt(), 0), c.value(3));
            QCOMPARE(SearchSortTextFor(c.value(1).toInt(), c.value(2).toInt()), c.value(4));
        }
        QCOMPARE(SearchSettingRowFilter(1), QStringLiteral("ID =  1"));
        QCOMPARE(SearchSettingRowFilter(16), QStringLiteral("ID =  16"));
        QCOMPARE(SearchSettingRowFilter(-2), QStringLiteral("ID = -2"));

        Fixture f({QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 1, Find = 3, "
                                  "Set5 = 9, Cset2 = 'x', 更新日 = '2026-03-04 05:06:07' WHERE ID = 7")});
        f.program->maintenance.CurrentCreatorId = 12;
        for (qint16 id : {qint16(7), qint16(0), qint16(-3)})
            LoadSearchSetting(f.program->database, f.program->maintenance, id);
        QCOMPARE(f.statements,
                 QStringList{QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =7")});
        const SettingRecord& row = f.program->maintenance.CurrentSetting;
        QCOMPARE((QList<int>{row.ID, row.Find, row.Set5}), (QList<int>{7, 3, 9}));
        QCOMPARE((QStringList{row.Cset1, row.Cset2, row.更新日}),
                 (QStringList{QString(), QStringLiteral("x"), QStringLiteral("2026-03-04 05:06:07")}));
        QCOMPARE(f.program->maintenance.SearchFilterText, QStringLiteral("作成者ID = 12"));
        QCOMPARE(f.program->maintenance.SearchSortText, QStringLiteral("名前 DESC"));
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
    }

    // 期間・押印: the methods of Setting rows 8, 9 and 12 and the stamp of MST, filled and saved.
    void periodStamp()
    {
        Fixture f({QStringLiteral("UPDATE Setting SET Set2 = 1 WHERE ID = 8"),
                   QStringLiteral("UPDATE Setting SET Set2 = 5 WHERE ID = 9"),
                   QStringLiteral("UPDATE Setting SET Set2 = NULL WHERE ID = 12"),
                   QStringLiteral("UPDATE Setting SET Set2 = 2 WHERE ID = 13"),
                   QStringLiteral("UPDATE MST SET stamp = 1, stampcont = 'It''s 説明'")});
        option(*f.window, "範囲のみ", 1)->setChecked(true);
        ShowPeriodStampSettings(f.program->database, *f.window);
        QCOMPARE(f.statements, (QStringList{QStringLiteral("Setting"), QStringLiteral("MST")}));
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        QCOMPARE(f.periodStamp(), QStringLiteral("100 1 It's 説明"));

        const QString before = f.dump();
        option(*f.window, "範囲のみ", 2)->setChecked(true);
        f.statements.clear();
        button(*f.window, "期間設定変更")->click();
        QCOMPARE(f.statements, (QStringList{QStringLiteral("Setting"), QStringLiteral("MST")}));
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        QCOMPARE(f.run(QStringLiteral(
                           "SELECT group_concat(ID || ':' || Set2 || typeof(Set2) || (更新日 = '%1'), ' ') "
                           "FROM Setting WHERE ID IN (8, 9, 12, 13)")
                           .arg(SeedStamp)),
                 QVariant("8:1integer1 9:0integer1 12:2integer1 13:2integer1"));
        QCOMPARE(
            f.run(QStringLiteral("SELECT stamp || stampcont || (更新日 = '%1') FROM MST").arg(SeedStamp)),
            QVariant("1It's 説明1"));
        // Nothing else in the file moved.
        f.run(QStringLiteral(
            "UPDATE Setting SET Set2 = CASE ID WHEN 9 THEN 5 ELSE NULL END WHERE ID IN (9, 12)"));
        QCOMPARE(f.dump(), before);
        QVERIFY(f.shown.isEmpty());

        // A stamp other than 1 shows なし. The sentence is stored exactly as typed, an empty box as null,
        // and なし keeps the stored one; the next visit shows what is stored.
        f.run(QStringLiteral("UPDATE MST SET stamp = 2"));
        f.run(QStringLiteral("UPDATE Setting SET Set2 = 2 WHERE ID = 12"));
        ShowPeriodStampSettings(f.program->database, *f.window);
        QCOMPARE(f.periodStamp(), QStringLiteral("102 0 It's 説明"));
        const QString hostile = QStringLiteral(" O'Neil ' OR 1=1; -- 絵文字😀と全角ＡＢＣ ");
        for (const auto& [shown, typed, stored] : {std::tuple{1, QString(), QVariant()},
                                                   {1, QStringLiteral("   "), QStringLiteral("   ")},
                                                   {1, hostile, hostile},
                                                   {0, QStringLiteral("typed, not saved"), hostile}}) {
            option(*f.window, shown ? "説明文表示あり" : "説明文表示なし")->setChecked(true);
            edit(*f.window, "表示文")->setText(typed);
            button(*f.window, "期間設定変更")->click();
            QCOMPARE(f.rows(QStringLiteral("SELECT stamp, stampcont FROM MST")),
                     (QList<QVariantList>{{shown, stored}}));
            edit(*f.window, "表示文")->setText(QStringLiteral("left over"));
            ShowPeriodStampSettings(f.program->database, *f.window);
            QCOMPARE(f.periodStamp(), QStringLiteral("102 %1 %2").arg(shown).arg(stored.toString()));
        }
    }

    // 敬称・罫線: MST.compellation and MST.ruling, and what the save does to the master page.
    void honorific()
    {
        Fixture f({QStringLiteral("UPDATE MST SET compellation = 1, ruling = 0")});
        ShowHonorificSettings(f.program->database, f.program->maintenance, *f.window);
        QCOMPARE(f.statements, QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")});
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        QCOMPARE(f.honorific(), QStringLiteral("10"));
        QCOMPARE(
            (QList<int>{f.program->maintenance.HonorificSetting, f.program->maintenance.RuledLineSetting}),
            (QList<int>{1, 0}));
        f.run(QStringLiteral("UPDATE MST SET compellation = 0, ruling = 1"));
        ShowHonorificSettings(f.program->database, f.program->maintenance, *f.window);
        QCOMPARE(f.honorific(), QStringLiteral("01"));
        QCOMPARE(
            (QList<int>{f.program->maintenance.HonorificSetting, f.program->maintenance.RuledLineSetting}),
            (QList<int>{0, 1}));

        // Typed on the master page, both passwords shown in clear.
        edit(*f.window, "マスターID")->setText(QStringLiteral("typed"));
        edit(*f.window, "マスターパスワード")->setText(QStringLiteral("secret"));
        edit(*f.window, "マスターパスワード")->setEchoMode(QLineEdit::Normal);
        edit(*f.window, "パスワード")->setEchoMode(QLineEdit::Normal);
        f.showPage(MaintenanceWindow::HonorificPage);
        option(*f.window, "Option敬称", 1)->click();
        option(*f.window, "Option罫線", 0)->click();
        const QString started = values::now();
        button(*f.window, "敬称設定変更")->click();

        QCOMPARE(f.run(QStringLiteral(
                     "SELECT compellation || ruling || typeof(ruling) || masterID || password FROM MST")),
                 QVariant("10integermasterhanacare"));
        QVERIFY(f.run(QStringLiteral("SELECT 更新日 FROM MST")).toString() >= started);
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        QVERIFY(edit(*f.window, "マスターID")->text().isEmpty() &&
                edit(*f.window, "マスターパスワード")->text().isEmpty());
        QVERIFY(f.masked("マスターパスワード") && f.masked("パスワード"));
        // The program-wide copies keep the last fill; the window stays.
        QCOMPARE(
            (QList<int>{f.program->maintenance.HonorificSetting, f.program->maintenance.RuledLineSetting}),
            (QList<int>{0, 1}));
        QVERIFY(f.window->isVisible() && f.shown.isEmpty());
    }

    // マスター: the pair is stored exactly as typed, whatever it holds; with either box empty, or a pair
    // the start window could never match, it is refused and nothing changes.
    void masterChange_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("refusal");
        const QString empty = QStringLiteral("マスターID、マスターパスワードを正しく設定して下さい");
        QTest::newRow("plain") << QStringLiteral("Boss") << QStringLiteral("Pass1") << QString();
        QTest::newRow("quotes and SQL")
            << QStringLiteral("a' OR '1'='1") << QStringLiteral("x\"; DROP TABLE MST; --") << QString();
        QTest::newRow("blanks inside the ID, around the password")
            << QStringLiteral("a  b") << QStringLiteral(" ") << QString();
        QTest::newRow("full-width and emoji")
            << QStringLiteral("管理者ＩＤ😀") << QStringLiteral("パスワード１２３") << QString();
        QTest::newRow("longest password") << QStringLiteral("m") << QString(32, QChar(0x3042)) << QString();
        QTest::newRow("refused: only the ID") << QStringLiteral("newmaster") << QString() << empty;
        QTest::newRow("refused: only the password") << QString() << QStringLiteral("pw") << empty;
        QTest::newRow("refused: a blank after the ID")
            << QStringLiteral("m ") << QStringLiteral("pw") << MasterActions::unusablePairText();
    }
    void masterChange()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(QString, refusal);
        Fixture f;
        QList<std::pair<bool, bool>> back; // visible, focusCreatorId at each return to the start window
        QObject::connect(f.window.get(), &MaintenanceWindow::returnedToStart, f.window.get(),
                         [&](bool focus) {
                             back.append({f.window->isVisible(), focus});
                         });
        f.showPage(MaintenanceWindow::MasterPage);
        edit(*f.window, "マスターID")->setText(id);
        edit(*f.window, "マスターパスワード")->setText(password);
        QTest::keyClick(edit(*f.window, "マスターパスワード"), Qt::Key_F9, Qt::ShiftModifier);
        edit(*f.window, "パスワード")->setEchoMode(QLineEdit::Normal);
        const QString before = f.dump();
        const QString started = values::now();

        button(*f.window, "マスター変更")->click();

        QVERIFY(button(*f.window, "作成者終了")->isEnabled());
        const QStringList boxes{edit(*f.window, "マスターID")->text(),
                                edit(*f.window, "マスターパスワード")->text()};
        if (!refusal.isEmpty()) {
            QCOMPARE(f.shown.size(), 1);
            QCOMPARE((QStringList{f.shown[0].title, f.shown[0].text}), (QStringList{"マスター", refusal}));
            QCOMPARE(f.shown[0].icon, platform::MessageBoxes::Icon::Critical);
            QCOMPARE(f.lockedWhileShown, QList<bool>{true});
            QCOMPARE(f.dump(), before);
            QVERIFY(f.statements.isEmpty());
            QCOMPARE(boxes, (QStringList{id, password}));
            QVERIFY(!f.masked("マスターパスワード") && f.window->isVisible() && back.isEmpty());
            QCOMPARE(QApplication::focusWidget(), button(*f.window, "マスター終了"));
            return;
        }
        QCOMPARE(f.statements, QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")});
        QVERIFY(!f.program->database.SharedRecordset->isOpen());
        QCOMPARE(f.rows(QStringLiteral("SELECT masterID, password FROM MST")),
                 (QList<QVariantList>{{id, password}}));
        QVERIFY(f.run(QStringLiteral("SELECT 更新日 FROM MST")).toString() >= started);
        QVERIFY(f.shown.isEmpty());
        QCOMPARE(boxes, QStringList(2));
        QVERIFY(f.masked("マスターパスワード") && f.masked("パスワード") && !f.window->isVisible());
        QCOMPARE(back, (QList<std::pair<bool, bool>>{{false, false}}));
    }

    void failures_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("change");
        const QStringList pages{"作成者", "マスター", "検索設定", "期間・押印", "敬称・罫線"};
        const QList<QStringList> cases = dataCases("settings-failures.txt");
        QVERIFY(!cases.isEmpty());
        for (const QStringList& c : cases)
            QTest::newRow(qPrintable(c.join(QStringLiteral(" | "))))
                << int(pages.indexOf(c.value(0))) << (c.value(1) == QStringLiteral("save"))
                << c.value(2).toInt() << c.value(3);
    }
    // Values a page cannot show and rows a save cannot write (tests/data/maintenance/settings-failures.txt).
    // Each is a run-time error or none, and a save that fails part way leaves the file as it was: all rows
    // or none, with the connection ready for the next statement.
    void failures()
    {
        QFETCH(int, page);
        QFETCH(bool, save);
        QFETCH(int, error);
        QFETCH(QString, change);
        Fixture f({change});
        // Choices and texts unlike the file's on every page, so that a part of a save shows in the file.
        for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i)
            option(*f.window, "検索設定降順", i)->setChecked(true);
        for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k)
            option(*f.window, "範囲のみ", k)->setChecked(true);
        option(*f.window, "Option敬称", 1)->setChecked(true);
        edit(*f.window, "マスターID")->setText(QStringLiteral("x"));
        edit(*f.window, "マスターパスワード")->setText(QStringLiteral("y"));
        const QString before = f.dump();
        // The choices of the pages (a fill of 期間・押印 fills the sentence from MST all the same).
        const auto choices = [&f]() -> QString {
            return f.searchRows() + f.periodStamp().section(QLatin1Char(' '), 0, 1) + f.honorific();
        };
        const QString shown = choices();

        int thrown = 0;
        try {
            f.act(page, save);
        } catch (const RuntimeError& e) {
            thrown = e.number();
            QVERIFY2(thrown != EngineRefusal || e.description().contains(QStringLiteral("refused")),
                     qPrintable(e.description()));
        }
        QCOMPARE(thrown, error);
        if (error == 0)
            QCOMPARE(choices(), shown);
        if (save) {
            QCOMPARE(f.dump(), before);
            QVERIFY(!f.program->database.SharedRecordset->isOpen());
        }
        QCOMPARE(edit(*f.window, "マスターID")->text(), QStringLiteral("x"));
        f.program->database.DbConnection->execute(QStringLiteral("CREATE TABLE later (x)"));
        QCOMPARE(f.run(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'later'")),
                 QVariant(1));
    }
};

QTEST_MAIN(SettingsPagesTest)
#include "tst_settingspages.moc"
