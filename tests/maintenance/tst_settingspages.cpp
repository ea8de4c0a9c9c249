// SPDX-License-Identifier: MIT
#include "PagesFixture.h"

#include "RuntimeError.h"
#include "common/JsonCases.h"
#include "database/Values.h"
#include "maintenance/HonorificActions.h"
#include "maintenance/MasterActions.h"
#include "maintenance/PeriodStampActions.h"
#include "maintenance/SearchSetting.h"
#include "maintenance/SearchSettingsActions.h"

#include <QApplication>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// The pages by their tabs' names, and the button that saves each.
const QStringList kPages{u"作成者"_s, u"マスター"_s, u"検索設定"_s, u"期間・押印"_s, u"敬称・罫線"_s};
const char* const kSaveButtons[] = {"作成者登録", "マスター変更", "設定変更", "期間設定変更", "敬称設定変更"};

// The position of the one chosen option, "x" when none or more than one is chosen.
QString chosen(const QList<QRadioButton*>& options)
{
    QString found;
    for (int k = 0; k < options.size(); ++k)
        if (options[k]->isChecked())
            found += QString::number(k);
    return found.size() == 1 ? found : u"x"_s;
}

QStringList texts(const QJsonValue& list)
{
    return QVariant(list.toArray().toVariantList()).toStringList();
}

// The pages' fixture with what each settings page shows, as the codes its save writes.
struct Fixture : PagesFixture
{
    using PagesFixture::PagesFixture;

    // 検索設定, row after row: the codes of Filter, Sort and Set1. 期間・押印: the method of each line (0
    // 期間と範囲, 1 期間のみ, 2 範囲のみ), the stamp (0 なし, 1 あり) and the sentence. 敬称・罫線: the
    // honorific and the ruling, then their program-wide copies.
    QString shows(int page) const
    {
        const auto o = [this](const char* name, int i = -1) { return choice(name, i); };
        if (page == MaintenanceWindow::HonorificPage)
            return chosen({o("Option敬称", 0), o("Option敬称", 1)}) +
                   chosen({o("Option罫線", 0), o("Option罫線", 1)}) +
                   u" %1%2"_s.arg(program->maintenance.HonorificSetting)
                       .arg(program->maintenance.RuledLineSetting);
        if (page == MaintenanceWindow::PeriodStampPage) {
            QString methods;
            for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k)
                methods += chosen({o("期間と範囲", k), o("期間のみ", k), o("範囲のみ", k)});
            return methods + u' ' + chosen({o("説明文表示なし"), o("説明文表示あり")}) + u' ' +
                   box("表示文")->text();
        }
        QStringList rows;
        for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i)
            rows << chosen({o("検索設定全員", i), o("検索設定作成者", i)}) +
                        chosen({o("検索設定なし", i), o("検索設定使用頻度", i), o("検索設定更新日", i),
                                o("検索設定作成日", i), o("検索設定名前", i), o("検索設定フリガナ", i)}) +
                        chosen({o("検索設定昇順", i), o("検索設定降順", i)});
        return rows.join(u' ');
    }
    // The master page's ID and password, and whether both passwords are masked.
    QString masterPage() const
    {
        return box("マスターID")->text() + u'|' + box("マスターパスワード")->text() +
               (masked() ? u"|masked"_s : u"|clear"_s);
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
    // A settings page filled from the file and saved by its button ("settings-saves"): the statements of
    // each, what the fill shows (a row without a sort code keeps an earlier visit's choice, the sentence
    // left in its box does not stay) and what the save stores (":started", when it began). The save writes
    // every value it covers whatever the file holds then, and nothing else; the page and the window stay;
    // 敬称・罫線 also ends the master page.
    void fillAndSave_data() { addJsonCases("maintenance.json", "settings-saves", "scenario"); }
    void fillAndSave()
    {
        QFETCH(QJsonValue, scenario);
        const int page = kPages.indexOf(scenario["page"_L1].toString());
        Fixture f(texts(scenario["changes"_L1]));
        const auto option = [&f](const QJsonValue& nameAndIndex) {
            return f.choice(nameAndIndex[0].toString().toUtf8().constData(), nameAndIndex[1].toInt());
        };
        // Typed on the master page, both passwords shown in clear.
        f.box("マスターID")->setText(u"typed"_s);
        f.box("マスターパスワード")->setText(u"secret"_s);
        f.reveal();
        f.box("表示文")->setText(u"left over"_s);
        for (const QJsonValue& earlier : scenario["earlier"_L1].toArray())
            option(earlier)->setChecked(true);
        f.act(page, false);
        const QStringList reads = texts(scenario["reads"_L1]);
        QCOMPARE(f.statements, reads);
        QVERIFY(!f.rs().isOpen());
        QCOMPARE(f.shows(page), scenario["filled"_L1].toString());

        f.showPage(page);
        for (const QJsonValue& click : scenario["clicks"_L1].toArray())
            option(click)->click();
        for (const QJsonValue& typed : scenario["typed"_L1].toArray())
            f.box(typed[0].toString().toUtf8().constData())->setText(typed[1].toString());
        const QString chosen = f.shows(page);
        // Every value the save writes changed behind the page, and changed back after it: nothing else moved.
        for (const QString& change : texts(scenario["behind"_L1]))
            f.sql(change);
        const QString before = f.dump();
        const QString started = values::now();
        f.statements.clear();
        button(*f.window, kSaveButtons[page])->click();
        QCOMPARE(f.statements, reads);
        QVERIFY(!f.rs().isOpen());
        const QString stored =
            scenario["stored"_L1].toString().replace(u":started"_s, u"'%1'"_s.arg(started));
        QCOMPARE(f.sql(stored).toString(), scenario["expected"_L1].toString());
        QCOMPARE(f.shows(page), chosen);
        QCOMPARE(f.masterPage(), scenario["master"_L1].toString());
        QVERIFY(f.shown.isEmpty() && f.window->isVisible());
        for (const QString& change : texts(scenario["behind"_L1]))
            f.sql(change);
        QCOMPARE(f.dump(), before);
    }

    // Loading a list's Setting row reads it once into memory with its filter and sort texts (the current
    // creator is 12); an ID below one reads nothing.
    void searchSettingOfAList_data() { addJsonCases("maintenance.json", "search-texts", "setting"); }
    void searchSettingOfAList()
    {
        QFETCH(QJsonValue, setting); // the codes of Filter, Sort and Set1, and the texts
        QCOMPARE(SearchSettingRowFilter(1), u"ID =  1"_s);
        QCOMPARE(SearchSettingRowFilter(16), u"ID =  16"_s);
        QCOMPARE(SearchSettingRowFilter(-2), u"ID = -2"_s);
        Fixture f({u"UPDATE Setting SET (Filter, Sort, Set1) = (%1), Find = 3, Set5 = 9, Cset2 = 'x', "
                   "更新日 = '2026-03-04 05:06:07' WHERE ID = 7"_s.arg(setting["codes"_L1].toString())});
        MaintenanceState& state = f.program->maintenance;
        state.CurrentCreatorId = 12;
        for (qint16 id : {qint16(7), qint16(0), qint16(-3)})
            LoadSearchSetting(f.program->database, state, id);
        QCOMPARE(f.statements, QStringList{u"SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =7"_s});
        const SettingRecord& row = state.CurrentSetting;
        QCOMPARE((QList<int>{row.ID, row.Find, row.Set5}), (QList<int>{7, 3, 9}));
        QCOMPARE((QStringList{row.Cset1, row.Cset2, row.更新日}),
                 (QStringList{{}, u"x"_s, u"2026-03-04 05:06:07"_s}));
        QCOMPARE((QStringList{state.SearchFilterText, state.SearchSortText}), texts(setting["texts"_L1]));
        QVERIFY(!f.rs().isOpen());
    }

    // マスター: the pair is stored exactly as typed, whatever it holds; with either box empty, or a pair the
    // start window could never match, it is refused with the case's "refusal" and nothing changes.
    void masterChange_data() { addJsonCases("maintenance.json", "master-pairs", "pair"); }
    void masterChange()
    {
        QFETCH(QJsonValue, pair);
        Fixture f;
        QSignalSpy back(f.window.get(), &MaintenanceWindow::returnedToStart); // focusCreatorId
        f.showPage(MaintenanceWindow::MasterPage);
        f.box("マスターID")->setText(pair["id"_L1].toString());
        f.box("マスターパスワード")->setText(pair["password"_L1].toString());
        f.reveal();
        const QString before = f.dump();
        const QString started = values::now();

        button(*f.window, "マスター変更")->click();

        QVERIFY(button(*f.window, "作成者終了")->isEnabled());
        if (pair["refusal"_L1].toString().isEmpty()) {
            QCOMPARE(f.statements, QStringList{u"MST WHERE 削除日 IS NULL AND ID = 1"_s});
            QVERIFY(!f.rs().isOpen());
            QCOMPARE(f.rows(u"SELECT masterID, password, 更新日 >= '%1' FROM MST"_s.arg(started)),
                     (QList<QVariantList>{{pair["id"_L1].toString(), pair["password"_L1].toString(), 1}}));
            QCOMPARE(f.masterPage(), u"||masked"_s);
            QVERIFY(f.shown.isEmpty() && !f.window->isVisible());
            QCOMPARE(QList<QVariantList>(back), QList<QVariantList>{{false}});
            return;
        }
        QCOMPARE(f.lockedWhileShown, QList<bool>{true}); // the one message, shown while locked
        QCOMPARE((QStringList{f.shown[0].title, f.shown[0].text}),
                 (QStringList{u"マスター"_s, pair["refusal"_L1].toString()}));
        QCOMPARE(f.shown[0].icon, platform::MessageBoxes::Icon::Critical);
        QCOMPARE(f.dump(), before);
        QVERIFY(f.statements.isEmpty());
        QCOMPARE(f.masterPage(),
                 pair["id"_L1].toString() + u'|' + pair["password"_L1].toString() + u"|clear"_s);
        QVERIFY(f.window->isVisible() && back.isEmpty());
        QCOMPARE(QApplication::focusWidget(), button(*f.window, "マスター終了"));
    }

    // Values a page cannot show and rows a save cannot write, with the run-time error each gives (0 none: the
    // page keeps its choices; 13 type mismatch, 94 invalid use of null, 340 no control array element, 3021
    // no current row, 1811 the engine refused the row). The page 作成者 stands for the creator list's Setting
    // row, read when the list is filled. A save that fails part way leaves the file as it was, all rows or
    // none, with the connection ready for the next statement.
    void failures_data() { addJsonCases("maintenance.json", "settings-failures", "failure"); }
    void failures()
    {
        QFETCH(QJsonValue, failure);
        const bool save = failure["action"_L1] == "save"_L1;
        Fixture f({failure["change"_L1].toString()});
        // Choices and texts unlike the file's on every page, so that a part of a save shows in the file.
        for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i)
            f.choice("検索設定降順", i)->setChecked(true);
        for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k)
            f.choice("範囲のみ", k)->setChecked(true);
        f.choice("Option敬称", 1)->setChecked(true);
        f.box("マスターID")->setText(u"x"_s);
        f.box("マスターパスワード")->setText(u"y"_s);
        const QString before = f.dump();
        // The choices of the pages (a fill of 期間・押印 fills the sentence from MST all the same).
        const auto choices = [&f]() -> QString {
            return f.shows(MaintenanceWindow::SearchSettingsPage) +
                   f.shows(MaintenanceWindow::PeriodStampPage).section(u' ', 0, 1) +
                   f.shows(MaintenanceWindow::HonorificPage);
        };
        const QString shown = choices();

        int thrown = 0;
        try {
            f.act(kPages.indexOf(failure["page"_L1].toString()), save);
        } catch (const RuntimeError& e) {
            thrown = e.number();
            QVERIFY2(thrown != 1811 || e.description().contains(u"refused"_s), // the trigger's words
                     qPrintable(e.description()));
        }
        QCOMPARE(thrown, failure["error"_L1].toInt());
        if (thrown == 0)
            QCOMPARE(choices(), shown);
        if (save) {
            QCOMPARE(f.dump(), before);
            QVERIFY(!f.rs().isOpen());
        }
        QCOMPARE(f.box("マスターID")->text(), u"x"_s);
        f.db().execute(u"CREATE TABLE later (x)"_s);
        QCOMPARE(f.sql(u"SELECT COUNT(*) FROM sqlite_master WHERE name = 'later'"_s), QVariant(1));
    }
};

QTEST_MAIN(SettingsPagesTest)
#include "tst_settingspages.moc"
