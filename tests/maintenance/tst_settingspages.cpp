// SPDX-License-Identifier: MIT
#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "DataCases.h"

#include "RuntimeError.h"
#include "database/Values.h"
#include "maintenance/HonorificSettings.h"
#include "maintenance/MaintenanceVisit.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/MasterActions.h"
#include "maintenance/PeriodStampSettings.h"
#include "maintenance/SearchSetting.h"
#include "maintenance/SearchSettings.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace {

// The seed's date stamps, which the settings saves must leave alone.
const QString SeedStamp = QStringLiteral("2026-12-01 09:00:00");

// Records the messages, and whether the creator page was locked while each was shown.
class LockWatchingRecorder : public MessageRecorder
{
public:
    const MaintenanceWindow* window = nullptr;
    QList<bool> lockedWhileShown;

    Answer show(const Message& message) override
    {
        lockedWhileShown.append(!control<QComboBox>(*window, "作成者検索")->isEnabled() &&
                                !button(*window, "作成者終了")->isEnabled());
        return MessageRecorder::show(message);
    }
};

// An installed database changed by a few statements, the program opened on it and a real maintenance
// window with its actions; the source texts the program opens are collected in `statements`.
struct Fixture
{
    explicit Fixture(const QStringList& changes = {})
    {
        install.installDatabase(QStringLiteral("installed"));
        for (const QString& change : changes)
            run(change);
        program = install.makeMain();
        program->messageBoxes = &messages;
        OpenDatabase(*program);
        program->DbConnection->setStatementObserver([this](const QString& s) { statements.append(s); });
        window = std::make_unique<MaintenanceWindow>(*program);
        messages.window = window.get();
        ConnectMaintenanceActions(*program, *window);
    }

    // Runs a statement on the file behind the program's back, as another program using it would.
    QVariant run(const QString& sql) const
    {
        return DatabaseInspector(install.installedDatabase()).value(sql);
    }
    QList<QVariantList> rows(const QString& sql) const
    {
        return DatabaseInspector(install.installedDatabase()).rows(sql);
    }
    QString dump() const { return DatabaseInspector(install.installedDatabase()).dump(); }

    void showPage(int page)
    {
        control<QTabWidget>(*window, "SSTab1")->setCurrentIndex(page);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    TestInstallation install;
    LockWatchingRecorder messages;
    QStringList statements;
    std::unique_ptr<Main> program;
    std::unique_ptr<MaintenanceWindow> window;
};

bool masked(const QLineEdit* box)
{
    return box->echoMode() == QLineEdit::Password;
}

// The position of the one chosen option, -1 for none, -2 for more than one.
int chosen(const QList<QRadioButton*>& options)
{
    int found = -1;
    for (int k = 0; k < options.size(); ++k)
        if (options[k]->isChecked())
            found = found == -1 ? k : -2;
    return found;
}

// The choices row i of 検索設定 shows, as the codes its save writes: Filter, Sort, Set1.
QVariantList searchRow(const MaintenanceWindow& w, int i)
{
    return {chosen({option(w, "検索設定全員", i), option(w, "検索設定作成者", i)}),
            chosen({option(w, "検索設定なし", i), option(w, "検索設定使用頻度", i),
                    option(w, "検索設定更新日", i), option(w, "検索設定作成日", i),
                    option(w, "検索設定名前", i), option(w, "検索設定フリガナ", i)}),
            chosen({option(w, "検索設定昇順", i), option(w, "検索設定降順", i)})};
}

// The method line k of 期間・押印 shows, as its save writes it: 0 期間と範囲, 1 期間のみ, 2 範囲のみ.
int method(const MaintenanceWindow& w, int k)
{
    return chosen({option(w, "期間と範囲", k), option(w, "期間のみ", k), option(w, "範囲のみ", k)});
}

// The checked state of every option of the window.
QString choices(const MaintenanceWindow& w)
{
    QString out;
    for (const QRadioButton* option : w.findChildren<QRadioButton*>())
        out += option->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

// Fills a settings page from the file, or saves a page as its button does; on the creator page, reads
// the creator list's Setting row.
void act(Fixture& f, int page, bool save)
{
    MaintenanceWindow& w = *f.window;
    switch (page) {
    case MaintenanceWindow::CreatorPage:
        return LoadSearchSetting(*f.program, 1);
    case MaintenanceWindow::MasterPage:
        return w.findChild<MasterActions*>()->onマスター変更Clicked();
    case MaintenanceWindow::SearchSettingsPage:
        return save ? w.findChild<SearchSettingsActions*>()->on設定変更Clicked()
                    : ShowSearchSettings(*f.program, w);
    case MaintenanceWindow::PeriodStampPage:
        return save ? w.findChild<PeriodStampActions*>()->on期間設定変更Clicked()
                    : ShowPeriodStampSettings(*f.program, w);
    default:
        return save ? w.findChild<HonorificActions*>()->on敬称設定変更Clicked()
                    : ShowHonorificSettings(*f.program, w);
    }
}

constexpr int EngineRefusal = 1811; // the engine refused the row: a trigger raised its error

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
            QStringLiteral("UPDATE Setting SET Sort = 9 WHERE ID = 5"),                       // no sort code
            QStringLiteral("UPDATE Setting SET Filter = NULL, Sort = NULL, Set1 = NULL WHERE ID = 6"),
            QStringLiteral("UPDATE Setting SET Filter = 2, Set1 = 7, 削除日 = '2026-12-02' WHERE ID = 7"),
            QStringLiteral("UPDATE Setting SET Filter = 5, Sort = 8, Set1 = -3 WHERE ID = 9"),
            QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 5, Set1 = 1 WHERE ID = 16"), // not shown
        });
        // A choice made on an earlier visit, which a row without a sort code keeps.
        option(*f.window, "検索設定作成日", 4)->setChecked(true);
        ShowSearchSettings(*f.program, *f.window);

        QCOMPARE(f.statements, QStringList{QStringLiteral("Setting")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(searchRow(*f.window, 0), (QVariantList{1, 4, 1}));
        QCOMPARE(searchRow(*f.window, 1), (QVariantList{0, 5, 0}));
        QCOMPARE(searchRow(*f.window, 3), (QVariantList{1, 1, 1}));
        QCOMPARE(searchRow(*f.window, 4), (QVariantList{1, 3, 1}));
        QCOMPARE(searchRow(*f.window, 5),
                 (QVariantList{1, 1, 1})); // null Filter, Set1: nonzero; null Sort: kept
        QCOMPARE(searchRow(*f.window, 6), (QVariantList{1, 1, 1})); // a deleted row is shown too
        QCOMPARE(searchRow(*f.window, 8), (QVariantList{1, 1, 1})); // any other number: nonzero; Sort kept
        QCOMPARE(searchRow(*f.window, 14), (QVariantList{0, 2, 1}));
        QCOMPARE(searchRow(*f.window, 15), (QVariantList{1, 5, 1}));

        f.showPage(MaintenanceWindow::SearchSettingsPage);
        option(*f.window, "検索設定全員", 3)->click();
        option(*f.window, "検索設定作成日", 3)->click();
        option(*f.window, "検索設定昇順", 3)->click();
        QList<QVariantList> expected;
        for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i)
            expected.append(searchRow(*f.window, i));
        QCOMPARE(expected.at(3), (QVariantList{0, 3, 0}));
        // Every row changed behind the page: only a row the save writes shows the page's choices again.
        f.run(QStringLiteral("UPDATE Setting SET Filter = 3, Sort = 7, Set1 = 4"));
        f.statements.clear();

        button(*f.window, "設定変更")->click();

        QCOMPARE(f.statements, QStringList{QStringLiteral("Setting")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(f.rows(QStringLiteral("SELECT Filter, Sort, Set1 FROM Setting ORDER BY ID")), expected);
        QCOMPARE(f.run(QStringLiteral("SELECT COUNT(*) FROM Setting WHERE typeof(Filter) || typeof(Sort) || "
                                      "typeof(Set1) = 'integerintegerinteger' AND 更新日 = '%1'")
                           .arg(SeedStamp)),
                 QVariant(16));
        QVERIFY(f.messages.shown.isEmpty());
        QVERIFY(f.window->isVisible());
    }

    // The filter and sort texts of a list's Setting row.
    void searchTexts()
    {
        const QList<QStringList> cases = dataCases("search-texts.txt");
        QVERIFY(!cases.isEmpty());
        for (const QStringList& c : cases) {
            QCOMPARE(SearchFilterTextFor(c.value(0).toInt(), 0), c.value(3));
            QCOMPARE(SearchSortTextFor(c.value(1).toInt(), c.value(2).toInt()), c.value(4));
        }
    }

    // Loading a row reads it once into memory with its texts; an ID below one reads nothing.
    void loadSearchSetting()
    {
        QCOMPARE(SearchSettingRowFilter(1), QStringLiteral("ID =  1"));
        QCOMPARE(SearchSettingRowFilter(16), QStringLiteral("ID =  16"));
        QCOMPARE(SearchSettingRowFilter(-2), QStringLiteral("ID = -2"));

        Fixture f({QStringLiteral("UPDATE Setting SET Filter = 1, Sort = 4, Set1 = 1, Find = 3, "
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

    // 期間・押印: the methods of Setting rows 8, 9 and 12 and the stamp of MST, filled and saved.
    void periodStamp()
    {
        Fixture f({QStringLiteral("UPDATE Setting SET Set2 = 1 WHERE ID = 8"),
                   QStringLiteral("UPDATE Setting SET Set2 = 5 WHERE ID = 9"),
                   QStringLiteral("UPDATE Setting SET Set2 = NULL WHERE ID = 12"),
                   QStringLiteral("UPDATE Setting SET Set2 = 2 WHERE ID = 13"),
                   QStringLiteral("UPDATE MST SET stamp = 1, stampcont = 'It''s 説明'")});
        option(*f.window, "範囲のみ", 1)->setChecked(true);
        ShowPeriodStampSettings(*f.program, *f.window);
        QCOMPARE(f.statements, (QStringList{QStringLiteral("Setting"), QStringLiteral("MST")}));
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE((QList<int>{method(*f.window, 0), method(*f.window, 1), method(*f.window, 2)}),
                 (QList<int>{1, 0, 0}));
        QVERIFY(option(*f.window, "説明文表示あり")->isChecked());
        QCOMPARE(edit(*f.window, "表示文")->text(), QStringLiteral("It's 説明"));

        const QString before = f.dump();
        option(*f.window, "範囲のみ", 2)->setChecked(true);
        f.statements.clear();
        button(*f.window, "期間設定変更")->click();
        QCOMPARE(f.statements, (QStringList{QStringLiteral("Setting"), QStringLiteral("MST")}));
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(
            f.rows(QStringLiteral(
                "SELECT ID, Set2, typeof(Set2), 更新日 FROM Setting WHERE ID IN (8, 9, 12, 13) ORDER BY ID")),
            (QList<QVariantList>{{8, 1, "integer", SeedStamp},
                                 {9, 0, "integer", SeedStamp},
                                 {12, 2, "integer", SeedStamp},
                                 {13, 2, "integer", SeedStamp}}));
        QCOMPARE(f.rows(QStringLiteral("SELECT stamp, stampcont, 更新日 FROM MST")),
                 (QList<QVariantList>{{1, QStringLiteral("It's 説明"), SeedStamp}}));
        // Nothing else in the file moved.
        f.run(QStringLiteral("UPDATE Setting SET Set2 = 5 WHERE ID = 9"));
        f.run(QStringLiteral("UPDATE Setting SET Set2 = NULL WHERE ID = 12"));
        QCOMPARE(f.dump(), before);
        QVERIFY(f.messages.shown.isEmpty());
    }

    void stampSentence_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stamp");
        QTest::addColumn<QVariant>("stampcont");
        const QVariant seed = QStringLiteral("説明を受け、同意し、交付を受けました。");
        for (const QString& text :
             {QStringLiteral("O'Neil ' OR 1=1; --"), QStringLiteral("絵文字😀と全角ＡＢＣ"),
              QStringLiteral("   "), QStringLiteral(" 前後に空白 ")})
            QTest::newRow(qPrintable(QStringLiteral("あり ") + text)) << true << text << 1 << QVariant(text);
        QTest::newRow("あり with an empty box: null") << true << QString() << 1 << QVariant();
        QTest::newRow("なし keeps the sentence") << false << QStringLiteral("typed, not saved") << 0 << seed;
    }
    void stampSentence()
    {
        QFETCH(bool, shown);
        QFETCH(QString, typed);
        QFETCH(int, stamp);
        QFETCH(QVariant, stampcont);
        Fixture f({QStringLiteral("UPDATE MST SET stamp = 2")});
        ShowPeriodStampSettings(*f.program, *f.window);
        QVERIFY(option(*f.window, "説明文表示なし")->isChecked());
        option(*f.window, shown ? "説明文表示あり" : "説明文表示なし")->setChecked(true);
        edit(*f.window, "表示文")->setText(typed);
        button(*f.window, "期間設定変更")->click();
        QCOMPARE(f.rows(QStringLiteral("SELECT stamp, stampcont FROM MST")),
                 (QList<QVariantList>{{stamp, stampcont}}));

        // The next visit shows what was stored.
        edit(*f.window, "表示文")->setText(QStringLiteral("left over"));
        ShowPeriodStampSettings(*f.program, *f.window);
        QCOMPARE(option(*f.window, "説明文表示あり")->isChecked(), shown);
        QCOMPARE(edit(*f.window, "表示文")->text(), stampcont.toString());
    }

    // 敬称・罫線: MST.compellation and MST.ruling, and what the save does to the master page.
    void honorific()
    {
        Fixture f({QStringLiteral("UPDATE MST SET compellation = 1, ruling = 0")});
        ShowHonorificSettings(*f.program, *f.window);
        QCOMPARE(f.statements, QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(chosen({option(*f.window, "Option敬称", 0), option(*f.window, "Option敬称", 1)}), 1);
        QCOMPARE(chosen({option(*f.window, "Option罫線", 0), option(*f.window, "Option罫線", 1)}), 0);
        QCOMPARE(f.program->HonorificSetting, qint16(1));
        QCOMPARE(f.program->RuledLineSetting, qint16(0));

        f.run(QStringLiteral("UPDATE MST SET compellation = 0, ruling = 1"));
        ShowHonorificSettings(*f.program, *f.window);
        QVERIFY(option(*f.window, "Option敬称", 0)->isChecked());
        QVERIFY(option(*f.window, "Option罫線", 1)->isChecked());
        QCOMPARE(f.program->HonorificSetting, qint16(0));
        QCOMPARE(f.program->RuledLineSetting, qint16(1));

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

        const QVariantList row =
            f.rows(QStringLiteral("SELECT compellation, ruling, typeof(ruling), 更新日, masterID, "
                                  "password FROM MST"))
                .value(0);
        QCOMPARE(row.mid(0, 3), (QVariantList{1, 0, "integer"}));
        QVERIFY2(row.at(3).toString() >= started, qPrintable(row.at(3).toString()));
        QCOMPARE(row.mid(4), (QVariantList{"master", "hanacare"}));
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(edit(*f.window, "マスターID")->text(), QString());
        QCOMPARE(edit(*f.window, "マスターパスワード")->text(), QString());
        QVERIFY(masked(edit(*f.window, "マスターパスワード")));
        QVERIFY(masked(edit(*f.window, "パスワード")));
        // The program-wide copies keep the last fill; the window stays.
        QCOMPARE(f.program->HonorificSetting, qint16(0));
        QCOMPARE(f.program->RuledLineSetting, qint16(1));
        QVERIFY(f.window->isVisible());
        QVERIFY(f.messages.shown.isEmpty());
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
        QSignalSpy back(f.window.get(), &MaintenanceWindow::returnedToStart);
        f.showPage(MaintenanceWindow::MasterPage);
        edit(*f.window, "マスターID")->setText(id);
        edit(*f.window, "マスターパスワード")->setText(password);
        QTest::keyClick(edit(*f.window, "マスターパスワード"), Qt::Key_F9, Qt::ShiftModifier);
        edit(*f.window, "パスワード")->setEchoMode(QLineEdit::Normal);
        const QString before = f.dump();
        const QString started = values::now();

        button(*f.window, "マスター変更")->click();

        QVERIFY(control<QComboBox>(*f.window, "作成者検索")->isEnabled() &&
                button(*f.window, "検索開始")->isEnabled() && button(*f.window, "作成者登録")->isEnabled() &&
                button(*f.window, "作成者終了")->isEnabled());
        if (!refusal.isEmpty()) {
            QCOMPARE(f.messages.shown.size(), 1);
            const platform::MessageBoxes::Message& m = f.messages.shown.first();
            QCOMPARE(m.text, refusal);
            QCOMPARE(m.title, QStringLiteral("マスター"));
            QCOMPARE(m.icon, platform::MessageBoxes::Icon::Critical);
            QCOMPARE(m.buttons, platform::MessageBoxes::Buttons::Ok);
            QCOMPARE(f.messages.lockedWhileShown, QList<bool>{true});
            QCOMPARE(f.dump(), before);
            QVERIFY(f.statements.isEmpty());
            QCOMPARE(edit(*f.window, "マスターID")->text(), id);
            QCOMPARE(edit(*f.window, "マスターパスワード")->text(), password);
            QVERIFY(!masked(edit(*f.window, "マスターパスワード")));
            QVERIFY(f.window->isVisible());
            QCOMPARE(back.size(), 0);
            QCOMPARE(QApplication::focusWidget(), button(*f.window, "マスター終了"));
            return;
        }
        QCOMPARE(f.statements, QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        const QVariantList row =
            f.rows(QStringLiteral("SELECT masterID, password, 更新日 FROM MST")).value(0);
        QCOMPARE(row.mid(0, 2), (QVariantList{id, password}));
        QVERIFY(row.at(2).toString() >= started);
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(edit(*f.window, "マスターID")->text(), QString());
        QCOMPARE(edit(*f.window, "マスターパスワード")->text(), QString());
        QVERIFY(masked(edit(*f.window, "マスターパスワード")));
        QVERIFY(masked(edit(*f.window, "パスワード")));
        QVERIFY(!f.window->isVisible());
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.first().value(0), QVariant(false));
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
        const QString shown = choices(*f.window);

        int thrown = 0;
        try {
            act(f, page, save);
        } catch (const RuntimeError& e) {
            thrown = e.number();
            QVERIFY2(thrown != EngineRefusal || e.description().contains(QStringLiteral("refused")),
                     qPrintable(e.description()));
        }
        QCOMPARE(thrown, error);
        if (error == 0)
            QCOMPARE(choices(*f.window), shown);
        if (save) {
            QCOMPARE(f.dump(), before);
            QVERIFY(!f.program->SharedRecordset->isOpen());
        }
        QCOMPARE(edit(*f.window, "マスターID")->text(), QStringLiteral("x"));
        f.program->DbConnection->execute(QStringLiteral("CREATE TABLE later (x)"));
        QCOMPARE(f.run(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'later'")),
                 QVariant(1));
    }
};

QTEST_MAIN(SettingsPagesTest)
#include "tst_settingspages.moc"
