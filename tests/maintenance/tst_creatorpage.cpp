// SPDX-License-Identifier: MIT
#include "PagesFixture.h"

#include "common/JsonCases.h"
#include "maintenance/CreatorActions.h"

#include <QAbstractItemView>
#include <QApplication>

using namespace Qt::StringLiterals;
using Icon = platform::MessageBoxes::Icon;
using Buttons = platform::MessageBoxes::Buttons;
using Answer = platform::MessageBoxes::Answer;

namespace {

const QString kOld = u"2020-01-02 03:04:05"_s;
const char* const kFields[] = {"氏名",     "ふりがな", "郵便番号", "住所",
                               "自宅電話", "携帯電話", "fax番号",  "パスワード"};
// The page standing for a new creator (see CreatorPageTest::page).
const QStringList kNewCreator = QStringList{{}, u"新規登録"_s, u"masked"_s, u"unlocked"_s} + QStringList(8);

} // namespace

// The creator page on a real database: the list and its search, the pick of a creator, registration, change
// and deletion, each checked in the file afterwards.
class CreatorPageTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PagesFixture> f;

    // A creator placed by another program; the texts not given are null.
    void addCreator(int id, const QString& name, const QString& reading, const QString& address = {},
                    const QString& deleted = {})
    {
        const auto text = [](const QString& t) { return t.isEmpty() ? u"NULL"_s : "'" + t + "'"; };
        f->sql(u"INSERT INTO 作成者 (ID, 名前, ふりがな, 住所, password, fax, 作成日, 更新日, 削除日) "
               "VALUES (%1, '%2', '%3', %4, 'pw%1', 'fax%1', '%5', '%5', %6)"_s.arg(id)
                   .arg(name, reading, text(address), kOld, text(deleted)));
    }
    QVariantList creatorRow(int id, const QString& columns) const
    {
        return f->rows(u"SELECT %1 FROM 作成者 WHERE ID = %2"_s.arg(columns).arg(id)).value(0);
    }
    int creatorCount() const { return f->sql(u"SELECT count(*) FROM 作成者"_s).toInt(); }

    QComboBox* list() const { return f->creatorList(); }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->itemText(i);
        return out;
    }
    QVariantList listedIds() const
    {
        QVariantList ids;
        for (int k = 1; k < list()->count(); ++k)
            ids << f->program->maintenance.CreatorEntries.at(size_t(k)).ID;
        return ids;
    }
    QString number() const { return f->numberField()->text(); }
    // The page: 登録番号, the save button's caption, whether both passwords are masked, whether its four
    // actions can be used, then the fields.
    QStringList page() const
    {
        const auto usable = [this](const char* name) { return control(*f->window, name)->isEnabled(); };
        const bool unlocked =
            usable("作成者検索") && usable("検索開始") && usable("作成者登録") && usable("作成者終了");
        QStringList out{number(), button(*f->window, "作成者登録")->text(),
                        f->masked() ? u"masked"_s : u"clear"_s, unlocked ? u"unlocked"_s : u"locked"_s};
        for (const char* name : kFields)
            out << f->box(name)->text();
        return out;
    }
    // The last message shown: by default titled 作成者, with the OK button only.
    void expectMessage(Icon icon, const QString& text, const QString& title = u"作成者"_s,
                       Buttons buttons = Buttons::Ok, Answer byDefault = Answer::Ok)
    {
        QVERIFY(!f->shown.isEmpty());
        const platform::MessageBoxes::Message& last = f->shown.last();
        QCOMPARE((QStringList{last.title, last.text}), (QStringList{title, text}));
        QVERIFY(last.icon == icon && last.buttons == buttons && last.defaultButton == byDefault);
    }

    // The user picks item k of the list with the keyboard, as one steps through a drop-down list.
    void pick(int k)
    {
        list()->setCurrentIndex(k > 0 ? k - 1 : 1);
        QTest::keyClick(list(), k > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(list()->currentIndex(), k);
    }
    void search(const char* option, const char* box = nullptr, const QString& typed = {})
    {
        f->choice(option)->setChecked(true);
        if (box)
            f->box(box)->setText(typed);
        QTest::mouseClick(button(*f->window, "検索開始"), Qt::LeftButton);
    }
    // Types the required fields (name, reading, password) and the address.
    void fill(const QStringList& texts)
    {
        for (int k = 0; k < 4; ++k)
            f->box(std::array{"氏名", "ふりがな", "パスワード", "住所"}[size_t(k)])->setText(texts.value(k));
    }
    void save() { QTest::mouseClick(button(*f->window, "作成者登録"), Qt::LeftButton); }

private Q_SLOTS:
    void init() { f = std::make_unique<PagesFixture>(); }
    void cleanup() { f.reset(); }

    // Setting row 1 decides the order ("creator-orders": its Sort and Set1, the IDs and lines listed);
    // deleted creators are left out; the entries follow the items. The line of a creator: its ID
    // right-aligned in ten characters (a line with every field empty and an ID of ten digits too), an
    // ideographic space, then its name, reading and address.
    void listInSettingOrder_data() { addJsonCases("maintenance.json", "creator-orders", "listed"); }
    void listInSettingOrder()
    {
        QFETCH(QJsonValue, listed);
        CreatorEntry entry;
        entry.ID = 2147483647;
        QCOMPARE(CreatorLine(entry), u"2147483647　、、"_s);
        addCreator(10, u"C"_s, u"ウ"_s, u"大阪"_s);
        addCreator(250, u"B"_s, u"ア"_s);
        addCreator(3, u"A"_s, u"イ"_s, u"東京"_s);
        addCreator(5, u"D"_s, u"エ"_s, {}, kOld);
        f->sql(u"UPDATE Setting SET %1 WHERE ID = 1"_s.arg(listed["set"_L1].toString()));
        f->statements.clear();
        f->fillCreatorList();
        const QVariantList order = listed["ids"_L1].toArray().toVariantList();
        QCOMPARE(items(), QStringList{kChooseCreatorItem} +
                              QVariant(listed["lines"_L1].toArray().toVariantList()).toStringList());
        QCOMPARE(listedIds(), order);
        const CreatorEntry& first = f->program->maintenance.CreatorEntries.at(1);
        QCOMPARE((QVariantList{list()->currentText(), int(f->program->maintenance.CreatorEntries.size()),
                               first.fax, f->rs().cursorLocation(), f->rs().isOpen()}),
                 (QVariantList{kChooseCreatorItem, 4, u"fax%1"_s.arg(order.at(0).toInt()),
                               SharedRecordset::ClientSideCursor, false}));
        QCOMPARE(f->statements, (QStringList{u"SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1"_s,
                                             u"作成者 WHERE 削除日 IS NULL"_s}));
        QVERIFY(f->shown.isEmpty());
    }

    // Searches by name and by reading, what they say when nothing matches, and the refusals that change
    // nothing. Only a choice from the list picks a creator: the open list with the mouse or the keys, or
    // the arrow keys on the closed box; typing, even an item's text, and pressing Enter or Tab is no
    // choice, and what is typed is neither completed nor added to the list.
    void searchAndPick()
    {
        addCreator(1, u"山田花子"_s, u"ヤマダハナコ"_s);
        addCreator(2, u"山本一郎"_s, u"ヤマモトイチロウ"_s);
        addCreator(3, u"佐藤"_s, u"サトウ"_s);
        f->showPage(MaintenanceWindow::CreatorPage);
        const qint16& mode = f->program->maintenance.CreatorSearchMode;
        search("検索条件氏名", "検索氏名", u"  山  "_s);
        QCOMPARE(mode, qint16(1));
        QCOMPARE(items().mid(1), (QStringList{u"         1　山田花子、ヤマダハナコ、"_s,
                                              u"         2　山本一郎、ヤマモトイチロウ、"_s}));
        search("検索条件フリガナ", "検索フリガナ", u"サト"_s);
        QCOMPARE(mode, qint16(2));
        QCOMPARE(listedIds(), QVariantList{3});

        // Nothing found: the list holds item 0 only, the entries stay as they were.
        search("検索条件フリガナ", "検索フリガナ", u"ン"_s);
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        expectMessage(Icon::Information, u"該当のフリガナはありません。"_s);
        QCOMPARE(f->program->maintenance.CreatorEntries.at(1).ID, 3);
        search("検索条件氏名", "検索氏名", u"鈴木"_s);
        expectMessage(Icon::Information, u"該当の氏名はありません。"_s);

        // Every rebuild repeats the search with the text as it stands then.
        f->box("検索氏名")->setText(u"佐"_s);
        f->fillCreatorList();
        QCOMPARE(listedIds(), QVariantList{3});

        // A refused search: mode, list, page and masks stay.
        pick(1);
        f->reveal();
        const QStringList before = page();
        search("検索条件フリガナ", "検索フリガナ", QString());
        expectMessage(Icon::Critical, u"検索するフリガナを入力して下さい。"_s);
        search("検索条件氏名", "検索氏名", QString());
        expectMessage(Icon::Critical, u"検索する氏名を入力して下さい。"_s);
        QCOMPARE(f->lockedWhileShown, QList<bool>(4, true));
        QCOMPARE(mode, qint16(1));
        QCOMPARE(listedIds(), QVariantList{3});
        QCOMPARE(page(), before);

        // A search that runs prepares the page for a new creator; すべて ignores the texts.
        search("検索条件すべて");
        QCOMPARE(mode, qint16(0));
        QCOMPARE(items().size(), 4);
        QCOMPARE(page(), kNewCreator);

        list()->setFocus();
        list()->setEditText(QString());
        QTest::keyClicks(list()->lineEdit(), u" "_s);
        QCOMPARE(list()->lineEdit()->text(), u" "_s);
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(list()->count(), 4);
        // An item's text typed, then Tab, Enter or the focus taken elsewhere.
        for (int way = 0; way < 3; ++way) {
            list()->setFocus();
            list()->setEditText(list()->itemText(way + 1));
            if (way < 2)
                QTest::keyClick(list(), way == 0 ? Qt::Key_Tab : Qt::Key_Return);
            else
                f->box("氏名")->setFocus();
            QCOMPARE(page(), kNewCreator);
        }
        QAbstractItemView* view = list()->view();
        list()->showPopup();
        QTRY_VERIFY(view->isVisible());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(list()->model()->index(2, 0)).center());
        QCOMPARE(number(), QString::number(f->program->maintenance.CreatorEntries[2].ID));
        list()->showPopup();
        QTRY_VERIFY(view->isVisible());
        QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(number(), QString::number(f->program->maintenance.CreatorEntries[1].ID));
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Up);
        QCOMPARE(list()->currentIndex(), 0);
        QCOMPARE(page(), kNewCreator);
    }

    // A new creator, refused while a required field is empty; its pick from the list, which loads it
    // from memory; a change of it; the deletion of a creator; and what the file holds after each.
    void registerChangeDelete()
    {
        f->showPage(MaintenanceWindow::CreatorPage);
        f->reveal();
        for (const char* required : {"氏名", "ふりがな", "パスワード"}) {
            fill({u"山田花子"_s, u"ヤマダハナコ"_s, u"Secret"_s, u"東京"_s});
            f->box(required)->clear();
            const QStringList typed = page();
            save();
            expectMessage(Icon::Critical, u"必須事項を入力して下さい。"_s);
            QCOMPARE(creatorCount(), 0);
            QCOMPARE(page(), typed);
        }
        fill({u"山田花子"_s, u"ヤマダハナコ"_s, u"Secret"_s});
        save();
        QCOMPARE(creatorRow(1, "ID, 名前, ふりがな, password, 郵便番号, 住所, 電話, 携帯電話, fax, 削除日, "
                               "作成日 IS NULL, 更新日 IS NULL"),
                 (QVariantList{1, u"山田花子"_s, u"ヤマダハナコ"_s, u"Secret"_s} + QVariantList(6) +
                  QVariantList{0, 0}));
        QCOMPARE(items(), (QStringList{kChooseCreatorItem, u"         1　山田花子、ヤマダハナコ、"_s}));
        QCOMPARE(page(), kNewCreator);
        QCOMPARE(QApplication::focusWidget(), button(*f->window, "作成者終了"));

        // Another program changes the row after the list was read: a pick shows what the list read.
        f->sql(u"UPDATE 作成者 SET 郵便番号 = '100-0001', 住所 = '東京', 電話 = '03', 携帯電話 = '090', "
               "fax = '03-1', 作成日 = '%1', 更新日 = '%1' WHERE ID = 1"_s.arg(kOld));
        f->fillCreatorList();
        f->sql(u"UPDATE 作成者 SET 名前 = '変更後' WHERE ID = 1"_s);
        f->reveal();
        f->statements.clear();
        pick(1);
        QVERIFY(f->statements.isEmpty());
        QCOMPARE(page(), (QStringList{"1", "変更", "masked", "unlocked", "山田花子", "ヤマダハナコ",
                                      "100-0001", "東京", "03", "090", "03-1", "Secret"}));
        // The program's own rebuild of the list is no pick.
        f->fillCreatorList();
        QCOMPARE(number(), u"1"_s);

        // Change: an emptied optional field is removed, 作成日 stays, 更新日 moves.
        f->box("fax番号")->clear();
        f->box("氏名")->setText(u"山田 花子"_s);
        f->box("携帯電話")->setText(u"090-1"_s);
        save();
        QCOMPARE(creatorRow(
                     1, "名前, fax, 住所, 携帯電話, 作成日, 更新日 > 作成日, (SELECT count(*) FROM 作成者)"),
                 (QVariantList{u"山田 花子"_s, QVariant(), u"東京"_s, u"090-1"_s, kOld, 1, 1}));
        QCOMPARE(page(), kNewCreator);
        // The removed fax does not come back at the next pick; item 0 empties the page.
        pick(1);
        QCOMPARE((QStringList{f->box("fax番号")->text(), f->box("住所")->text()}),
                 (QStringList{{}, u"東京"_s}));
        pick(0);
        QCOMPARE(page(), kNewCreator);

        // The emptied page stands for a new creator.
        fill({u"佐藤"_s, u"サトウ"_s, u"p"_s});
        save();
        QCOMPARE(creatorCount(), 2);
        QCOMPARE(items().size(), 3);

        // A deletion (a double click on 登録番号): with nothing loaded, or by the right button, nothing is
        // asked; Cancel keeps the creator and the page.
        QTest::mouseDClick(f->numberField(), Qt::LeftButton);
        pick(1);
        const QStringList loaded = page();
        QTest::mouseDClick(f->numberField(), Qt::RightButton);
        QCOMPARE(f->shown.size(), 3); // the refusals only: the saves and picks since showed nothing
        f->setNextAnswer(Answer::Cancel);
        QTest::mouseDClick(f->numberField(), Qt::LeftButton);
        QCOMPARE(f->shown.size(), 4);
        expectMessage(Icon::Critical, u"この作成者を削除します。\r\nよろしいですか。"_s, u"作成者削除"_s,
                      Buttons::OkCancel, Answer::Cancel);
        QVERIFY(creatorRow(2, "削除日").at(0).isNull());
        QCOMPARE(page(), loaded);
        QCOMPARE(number(), u"2"_s);

        // OK stamps the deletion date and changes nothing else; the page stands for a new creator.
        const QString others = u"SELECT ID, 名前, ふりがな, 郵便番号, 住所, 電話, 携帯電話, fax, password, "
                               "作成日, 更新日 FROM 作成者"_s;
        const auto before = f->rows(others);
        f->reveal();
        QTest::mouseDClick(f->numberField(), Qt::LeftButton);
        QCOMPARE(f->shown.size(), 5);
        QCOMPARE(f->rows(u"SELECT ID, 削除日 > '%1' FROM 作成者 WHERE 削除日 IS NOT NULL"_s.arg(kOld)),
                 (QList<QVariantList>{{2, 1}}));
        QCOMPARE(f->rows(others), before);
        QCOMPARE(items(), (QStringList{kChooseCreatorItem, u"         1　山田 花子、ヤマダハナコ、東京"_s}));
        QCOMPARE(page(), kNewCreator);

        // Deleting a creator another program deleted keeps the first deletion and ends as a deletion does.
        pick(1);
        f->sql(u"UPDATE 作成者 SET 削除日 = '%1' WHERE ID = 1"_s.arg(kOld));
        QTest::mouseDClick(f->numberField(), Qt::LeftButton);
        expectMessage(Icon::Information, u"この作成者は既に削除されています。"_s);
        QCOMPARE(creatorRow(1, "削除日"), QVariantList{kOld});
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        QCOMPARE(page(), kNewCreator);
        // Seven messages in all, each shown while the page's actions were locked.
        QCOMPARE(f->lockedWhileShown, QList<bool>(7, true));
    }

    // Texts are stored exactly as typed, up to the limits of the boxes, whatever they hold; a search
    // matches them as text, whatever characters it holds, and never ends the program.
    void hostileTexts()
    {
        f->sql(u"UPDATE Setting SET Sort = 0, Set1 = 0 WHERE ID = 1"_s);
        const QJsonObject cases = jsonCases("maintenance.json");
        const QJsonArray creators = cases.value("creator-texts"_L1).toArray(); // name, address, password
        for (const QJsonValue& c : creators) {
            fill({c[1].toString(), c[1].toString(), c[3].toString(), c[2].toString()});
            save();
        }
        QVERIFY(f->shown.isEmpty());
        for (int id = 1; id <= creators.size(); ++id) {
            const QJsonArray c = creators.at(id - 1).toArray();
            QCOMPARE(creatorRow(id, "名前, ふりがな, 住所, password, 郵便番号"),
                     (QVariantList{c[1].toString(), c[1].toString(), c[2].toString(), c[3].toString(), {}}));
            QCOMPARE(f->program->maintenance.CreatorEntries.at(size_t(id)).password, c[3].toString());
        }
        // The text searched for, and the IDs found.
        for (const QJsonValue& c : cases.value("creator-searches"_L1).toArray()) {
            f->shown.clear();
            search("検索条件氏名", "検索氏名", c[1].toString());
            const QVariantList found = c[2].toArray().toVariantList();
            QCOMPARE(listedIds(), found);
            QCOMPARE(f->shown.size(), found.isEmpty() ? 1 : 0);
            QVERIFY(!f->rs().isOpen());
        }
    }

    // The creator on the page was removed or deleted by another program using the same file: a change is
    // refused, the row is not brought back, the typed texts stay and can be registered.
    void creatorGone_data() { addJsonCases("maintenance.json", "creator-gone", "byOther"); }
    void creatorGone()
    {
        QFETCH(QJsonValue, byOther); // an UPDATE leaves the row deleted on kOld
        addCreator(8, u"山田"_s, u"ヤマダ"_s);
        addCreator(9, u"佐藤"_s, u"サトウ"_s);
        f->sql(u"UPDATE Setting SET Sort = 0, Set1 = 0 WHERE ID = 1"_s);
        f->fillCreatorList();
        pick(1);
        f->box("住所")->setText(u"大阪"_s);
        const QStringList typed = page().mid(4);
        f->sql(byOther.toString());
        const QString before = f->dump();

        save();
        QCOMPARE(f->lockedWhileShown, QList<bool>{true});
        expectMessage(Icon::Critical,
                      u"この作成者は削除されているため、変更できません。\r\n入力内容はそのまま残して"
                      "あります。新しい作成者として登録する場合は、もう一度「新規登録」を押して下さい。"_s);
        QCOMPARE(f->dump(), before);
        QCOMPARE(page(), kNewCreator.mid(0, 4) + typed);
        QCOMPARE(items().size(), 2);
        QVERIFY(!f->rs().isOpen());
        save();
        const bool rowStays = byOther.toString().startsWith("UPDATE"_L1);
        const QList<QVariantList> rest{{9, QVariant(), QVariant()}, {10, u"大阪"_s, QVariant()}};
        QCOMPARE(f->rows(u"SELECT ID, 住所, 削除日 FROM 作成者 ORDER BY ID"_s),
                 (rowStays ? QList<QVariantList>{{8, QVariant(), kOld}} + rest : rest));
    }
};

QTEST_MAIN(CreatorPageTest)
#include "tst_creatorpage.moc"
