// SPDX-License-Identifier: MIT
#include "PagesFixture.h"

#include "maintenance/CreatorActions.h"
#include "maintenance/CreatorList.h"
#include "maintenance/FieldLabel.h"

#include <QAbstractItemView>
#include <QApplication>

using Icon = platform::MessageBoxes::Icon;
using Buttons = platform::MessageBoxes::Buttons;
using Answer = platform::MessageBoxes::Answer;

namespace {

const QString kOld = QStringLiteral("2020-01-02 03:04:05");

// The line a creator has in the list, written out by hand.
QString line(const char* id, const QString& rest)
{
    return QString::fromUtf8(id) + QChar(0x3000) + rest;
}

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
        const auto text = [](const QString& t) {
            return t.isEmpty() ? QStringLiteral("NULL") : "'" + t + "'";
        };
        f->run(QStringLiteral(
                   "INSERT INTO 作成者 (ID, 名前, ふりがな, 住所, password, fax, 作成日, 更新日, 削除日) "
                   "VALUES (%1, '%2', '%3', %4, 'pw%1', 'fax%1', '%5', '%5', %6)")
                   .arg(id)
                   .arg(name, reading, text(address), kOld, text(deleted)));
    }
    void setCreatorSort(int sort, int set1)
    {
        f->run(QStringLiteral("UPDATE Setting SET Sort = %1, Set1 = %2 WHERE ID = 1").arg(sort).arg(set1));
    }
    QVariantList creatorRow(int id, const char* columns)
    {
        return f
            ->rows(
                QStringLiteral("SELECT %1 FROM 作成者 WHERE ID = %2").arg(QString::fromUtf8(columns)).arg(id))
            .value(0);
    }
    int creatorCount() { return f->run(QStringLiteral("SELECT count(*) FROM 作成者")).toInt(); }

    QLineEdit* box(const char* name) const { return edit(*f->window, name); }
    QComboBox* list() const { return control<QComboBox>(*f->window, "作成者検索"); }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out.append(list()->itemText(i));
        return out;
    }
    QString number() const { return control<FieldLabel>(*f->window, "登録番号")->text(); }
    QString saveCaption() const { return button(*f->window, "作成者登録")->text(); }
    QStringList fieldTexts() const
    {
        QStringList out;
        for (const char* name :
             {"氏名", "ふりがな", "郵便番号", "住所", "自宅電話", "携帯電話", "fax番号", "パスワード"})
            out.append(box(name)->text());
        return out;
    }
    // The page's four actions can be used.
    bool unlocked() const
    {
        return list()->isEnabled() && button(*f->window, "検索開始")->isEnabled() &&
               button(*f->window, "作成者登録")->isEnabled() && button(*f->window, "作成者終了")->isEnabled();
    }
    bool masked() const { return f->masked("パスワード") && f->masked("マスターパスワード"); }
    void reveal()
    {
        box("パスワード")->setEchoMode(QLineEdit::Normal);
        box("マスターパスワード")->setEchoMode(QLineEdit::Normal);
    }
    // The page stands for a new creator: 登録番号 and the fields empty, both passwords masked, unlocked.
    bool standsForANewCreator() const
    {
        return number().isEmpty() && fieldTexts() == QStringList(8) && masked() && unlocked() &&
               saveCaption() == QStringLiteral("新規登録");
    }
    // The last message shown: titled 作成者, with the OK button only.
    void expectMessage(Icon icon, const QString& text)
    {
        QVERIFY(!f->shown.isEmpty());
        QCOMPARE(f->shown.last().icon, icon);
        QCOMPARE(f->shown.last().buttons, Buttons::Ok);
        QCOMPARE(f->shown.last().title, QStringLiteral("作成者"));
        QCOMPARE(f->shown.last().text, text);
    }

    void activeWindow()
    {
        f->window->show();
        f->window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
    }
    // The user picks item k of the list with the keyboard, as one steps through a drop-down list.
    void pick(int k)
    {
        list()->setCurrentIndex(k > 0 ? k - 1 : 1);
        QTest::keyClick(list(), k > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(list()->currentIndex(), k);
    }
    void search(const char* option, const char* text = nullptr, const QString& typed = {})
    {
        ::option(*f->window, option)->setChecked(true);
        if (text)
            box(text)->setText(typed);
        QTest::mouseClick(button(*f->window, "検索開始"), Qt::LeftButton);
    }
    void fillRequired(const QString& name, const QString& reading, const QString& password)
    {
        box("氏名")->setText(name);
        box("ふりがな")->setText(reading);
        box("パスワード")->setText(password);
    }
    void save() { QTest::mouseClick(button(*f->window, "作成者登録"), Qt::LeftButton); }
    void doubleClickId(Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseDClick(control<FieldLabel>(*f->window, "登録番号"), button);
    }

private Q_SLOTS:
    void init() { f = std::make_unique<PagesFixture>(); }
    void cleanup() { f.reset(); }

    // Setting row 1 decides the order; deleted creators are left out; the entries follow the items. The
    // line of a creator: its ID right-aligned in ten characters (a line with every field empty and an ID of
    // ten digits too), then its name, reading and address.
    void listInSettingOrder()
    {
        CreatorEntry entry;
        entry.ID = 2147483647;
        QCOMPARE(CreatorLine(entry), line("2147483647", QStringLiteral("、、")));
        addCreator(10, QStringLiteral("C"), QStringLiteral("ウ"), QStringLiteral("大阪"));
        addCreator(250, QStringLiteral("B"), QStringLiteral("ア"));
        addCreator(3, QStringLiteral("A"), QStringLiteral("イ"), QStringLiteral("東京"));
        addCreator(5, QStringLiteral("D"), QStringLiteral("エ"), {}, kOld);
        const QHash<int, QString> lines{{3, line("         3", QStringLiteral("A、イ、東京"))},
                                        {10, line("        10", QStringLiteral("C、ウ、大阪"))},
                                        {250, line("       250", QStringLiteral("B、ア、"))}};
        // Sort and Set1 of row 1, and the order they give: by ID, by ID descending, by reading, by name
        // descending.
        for (const auto& [sort, set1, order] : {std::tuple{0, 0, QList<int>{3, 10, 250}},
                                                {0, 1, {250, 10, 3}},
                                                {5, 0, {250, 3, 10}},
                                                {4, 1, {10, 250, 3}}}) {
            setCreatorSort(sort, set1);
            f->statements.clear();
            FillCreatorList(f->program->database, f->program->maintenance, *f, *f->window);
            QStringList expected{kChooseCreatorItem};
            for (int id : order)
                expected.append(lines.value(id));
            QCOMPARE(items(), expected);
            QCOMPARE(list()->currentText(), kChooseCreatorItem);
            const auto& entries = f->program->maintenance.CreatorEntries;
            QCOMPARE(int(entries.size()), 4);
            for (int k = 1; k <= 3; ++k)
                QCOMPARE(entries[size_t(k)].ID, order.at(k - 1));
            QCOMPARE(entries[1].fax, QStringLiteral("fax%1").arg(order.at(0)));
            QCOMPARE(f->program->database.SharedRecordset->cursorLocation(),
                     SharedRecordset::ClientSideCursor);
            QVERIFY(!f->program->database.SharedRecordset->isOpen());
            QCOMPARE(f->statements,
                     (QStringList{QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1"),
                                  QStringLiteral("作成者 WHERE 削除日 IS NULL")}));
        }
        QVERIFY(f->shown.isEmpty());
    }

    // Searches by name and by reading, what they say when nothing matches, and the refusals that change
    // nothing. Only a choice from the list picks a creator: the open list with the mouse or the keys, or
    // the arrow keys on the closed box; typing, even an item's text, and pressing Enter or Tab is no
    // choice, and what is typed is neither completed nor added to the list.
    void searchAndPick()
    {
        addCreator(1, QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"));
        addCreator(2, QStringLiteral("山本一郎"), QStringLiteral("ヤマモトイチロウ"));
        addCreator(3, QStringLiteral("佐藤"), QStringLiteral("サトウ"));
        activeWindow();
        search("検索条件氏名", "検索氏名", QStringLiteral("  山  "));
        QCOMPARE(f->program->maintenance.CreatorSearchMode, qint16(1));
        QCOMPARE(items().mid(1),
                 (QStringList{line("         1", QStringLiteral("山田花子、ヤマダハナコ、")),
                              line("         2", QStringLiteral("山本一郎、ヤマモトイチロウ、"))}));
        search("検索条件フリガナ", "検索フリガナ", QStringLiteral("サト"));
        QCOMPARE(f->program->maintenance.CreatorSearchMode, qint16(2));
        QCOMPARE(items().size(), 2);
        QCOMPARE(f->program->maintenance.CreatorEntries.at(1).ID, 3);

        // Nothing found: the list holds item 0 only, the entries stay as they were.
        search("検索条件フリガナ", "検索フリガナ", QStringLiteral("ン"));
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        expectMessage(Icon::Information, QStringLiteral("該当のフリガナはありません。"));
        QCOMPARE(f->program->maintenance.CreatorEntries.at(1).ID, 3);
        search("検索条件氏名", "検索氏名", QStringLiteral("鈴木"));
        expectMessage(Icon::Information, QStringLiteral("該当の氏名はありません。"));

        // Every rebuild repeats the search with the text as it stands then.
        box("検索氏名")->setText(QStringLiteral("佐"));
        FillCreatorList(f->program->database, f->program->maintenance, *f, *f->window);
        QCOMPARE(items().size(), 2);

        // A refused search: mode, list, fields and masks stay.
        pick(1);
        reveal();
        const QStringList before = fieldTexts();
        search("検索条件フリガナ", "検索フリガナ", QString());
        expectMessage(Icon::Critical, QStringLiteral("検索するフリガナを入力して下さい。"));
        search("検索条件氏名", "検索氏名", QString());
        expectMessage(Icon::Critical, QStringLiteral("検索する氏名を入力して下さい。"));
        QCOMPARE(f->shown.size(), 4);
        QCOMPARE(f->lockedWhileShown, QList<bool>(4, true));
        QCOMPARE(f->program->maintenance.CreatorSearchMode, qint16(1));
        QCOMPARE(items().size(), 2);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(number(), QStringLiteral("3"));
        QVERIFY(!masked() && unlocked());

        // A search that runs prepares the page for a new creator; すべて ignores the texts.
        search("検索条件すべて");
        QCOMPARE(f->program->maintenance.CreatorSearchMode, qint16(0));
        QCOMPARE(items().size(), 4);
        QVERIFY(standsForANewCreator());
        QCOMPARE(saveCaption(), QStringLiteral("新規登録"));

        list()->setFocus();
        list()->setEditText(QString());
        QTest::keyClicks(list()->lineEdit(), QStringLiteral(" "));
        QCOMPARE(list()->lineEdit()->text(), QStringLiteral(" "));
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(list()->count(), 4);
        // An item's text typed, then Tab, Enter or the focus taken elsewhere.
        for (int way = 0; way < 3; ++way) {
            list()->setFocus();
            list()->setEditText(list()->itemText(way + 1));
            if (way < 2)
                QTest::keyClick(list(), way == 0 ? Qt::Key_Tab : Qt::Key_Return);
            else
                box("氏名")->setFocus();
            QVERIFY(number().isEmpty() && fieldTexts() == QStringList(8));
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
        QVERIFY(number().isEmpty());
        QCOMPARE(list()->currentIndex(), 0);
    }

    // A new creator, refused while a required field is empty; its pick from the list, which loads it
    // from memory; a change of it; the deletion of a creator; and what the file holds after each.
    void registerChangeDelete()
    {
        activeWindow();
        reveal();
        for (const char* required : {"氏名", "ふりがな", "パスワード"}) {
            fillRequired(QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"),
                         QStringLiteral("Secret"));
            box("住所")->setText(QStringLiteral("東京"));
            box(required)->clear();
            const QStringList typed = fieldTexts();
            save();
            expectMessage(Icon::Critical, QStringLiteral("必須事項を入力して下さい。"));
            QCOMPARE(creatorCount(), 0);
            QCOMPARE(fieldTexts(), typed);
            QVERIFY(!masked() && unlocked());
        }
        box("住所")->clear();
        fillRequired(QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"), QStringLiteral("Secret"));
        save();

        QCOMPARE(f->shown.size(), 3);
        QCOMPARE(creatorRow(1, "ID, 名前, ふりがな, password, 郵便番号, 住所, 電話, 携帯電話, fax, 削除日"),
                 QVariantList({1, QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"),
                               QStringLiteral("Secret")}) +
                     QVariantList(6));
        QVERIFY(!creatorRow(1, "作成日").at(0).isNull() && !creatorRow(1, "更新日").at(0).isNull());
        QCOMPARE(items(), (QStringList{kChooseCreatorItem,
                                       line("         1", QStringLiteral("山田花子、ヤマダハナコ、"))}));
        QVERIFY(standsForANewCreator());
        QCOMPARE(QApplication::focusWidget(), button(*f->window, "作成者終了"));

        // Another program changes the row after the list was read: a pick shows what the list read.
        f->run(QStringLiteral(
                   "UPDATE 作成者 SET 郵便番号 = '100-0001', 住所 = '東京', 電話 = '03', 携帯電話 = '090', "
                   "fax = '03-1', 作成日 = '%1', 更新日 = '%1' WHERE ID = 1")
                   .arg(kOld));
        FillCreatorList(f->program->database, f->program->maintenance, *f, *f->window);
        f->run(QStringLiteral("UPDATE 作成者 SET 名前 = '変更後' WHERE ID = 1"));
        reveal();
        f->statements.clear();
        pick(1);
        QVERIFY(f->statements.isEmpty());
        QCOMPARE(number(), QStringLiteral("1"));
        QCOMPARE(saveCaption(), QStringLiteral("変更"));
        QCOMPARE(fieldTexts(), (QStringList{"山田花子", "ヤマダハナコ", "100-0001", "東京", "03", "090",
                                            "03-1", "Secret"}));
        QVERIFY(masked() && unlocked());
        // The program's own rebuild of the list is no pick.
        FillCreatorList(f->program->database, f->program->maintenance, *f, *f->window);
        QCOMPARE(number(), QStringLiteral("1"));

        // Change: an emptied optional field is removed, 作成日 stays, 更新日 moves.
        box("fax番号")->clear();
        box("氏名")->setText(QStringLiteral("山田 花子"));
        box("携帯電話")->setText(QStringLiteral("090-1"));
        save();
        QCOMPARE(creatorRow(1, "名前, fax, 住所, 携帯電話, 作成日"),
                 (QVariantList{QStringLiteral("山田 花子"), QVariant(), QStringLiteral("東京"),
                               QStringLiteral("090-1"), kOld}));
        QVERIFY(creatorRow(1, "更新日").at(0).toString() > kOld);
        QCOMPARE(creatorCount(), 1);
        QVERIFY(standsForANewCreator());
        // The removed fax does not come back at the next pick; item 0 empties the page.
        pick(1);
        QCOMPARE(box("fax番号")->text(), QString());
        QCOMPARE(box("住所")->text(), QStringLiteral("東京"));
        pick(0);
        QVERIFY(standsForANewCreator());
        QCOMPARE(saveCaption(), QStringLiteral("新規登録"));

        // The emptied page stands for a new creator.
        fillRequired(QStringLiteral("佐藤"), QStringLiteral("サトウ"), QStringLiteral("p"));
        save();
        QCOMPARE(creatorCount(), 2);
        QCOMPARE(items().size(), 3);

        // A deletion: with nothing loaded, or by the right button, nothing is asked; Cancel keeps the
        // creator and the page.
        doubleClickId();
        pick(1);
        const QStringList loaded = fieldTexts();
        doubleClickId(Qt::RightButton);
        QCOMPARE(f->shown.size(), 3);
        f->setNextAnswer(Answer::Cancel);
        doubleClickId();
        QCOMPARE(f->shown.size(), 4);
        const platform::MessageBoxes::Message& question = f->shown.last();
        QCOMPARE(question.text, QStringLiteral("この作成者を削除します。\r\nよろしいですか。"));
        QCOMPARE(question.title, QStringLiteral("作成者削除"));
        QCOMPARE(question.icon, Icon::Critical);
        QCOMPARE(question.buttons, Buttons::OkCancel);
        QCOMPARE(question.defaultButton, Answer::Cancel);
        QVERIFY(creatorRow(2, "削除日").at(0).isNull());
        QCOMPARE(number(), QStringLiteral("2"));
        QCOMPARE(fieldTexts(), loaded);
        QVERIFY(unlocked());

        // OK stamps the deletion date and changes nothing else; the page stands for a new creator.
        const QString others =
            QStringLiteral("SELECT ID, 名前, ふりがな, 郵便番号, 住所, 電話, 携帯電話, fax, "
                           "password, 作成日, 更新日 FROM 作成者");
        const auto before = f->rows(others);
        reveal();
        doubleClickId();
        QCOMPARE(f->shown.size(), 5);
        QVERIFY(creatorRow(2, "削除日").at(0).toString() > kOld);
        QVERIFY(creatorRow(1, "削除日").at(0).isNull());
        QCOMPARE(f->rows(others), before);
        QCOMPARE(items(), (QStringList{kChooseCreatorItem,
                                       line("         1", QStringLiteral("山田 花子、ヤマダハナコ、東京"))}));
        QVERIFY(standsForANewCreator());

        // A deletion of a creator another program deleted keeps the first deletion and ends as a deletion
        // does.
        pick(1);
        f->run(QStringLiteral("UPDATE 作成者 SET 削除日 = '%1' WHERE ID = 1").arg(kOld));
        doubleClickId();
        QCOMPARE(f->shown.size(), 7);
        expectMessage(Icon::Information, QStringLiteral("この作成者は既に削除されています。"));
        QCOMPARE(creatorRow(1, "削除日"), QVariantList{kOld});
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        QVERIFY(standsForANewCreator());
        // Every message of the page came while its actions were locked.
        QCOMPARE(f->lockedWhileShown, QList<bool>(7, true));
    }

    // Texts are stored exactly as typed, up to the limits of the boxes, whatever they hold; a search
    // matches them as text, whatever characters it holds, and never ends the program.
    void hostileTexts()
    {
        setCreatorSort(0, 0);
        const QList<QStringList> creators{
            {"O'Neil", "O'Neil \"x\"", "' OR '1'='1"},
            {"a*b", "名前 Like '*'", "\\*"},
            {"100% 山田", "'); DROP TABLE 作成者; --", "🔑"},
            {"[#]", "*%[#]_?", "p"},
            {"花😀子👨‍👩‍👧", "𠮷野家", "p"},
            {QString(50, QChar(0x9F8D)), QString(125, QChar(0x3042)), QString(32, QChar(0xFF30))},
            {"x''y", "x", "p"},
            {"   ", " ", "  "}};
        for (const QStringList& c : creators) {
            fillRequired(c[0], c[0], c[2]);
            box("住所")->setText(c[1]);
            save();
        }
        QVERIFY(f->shown.isEmpty());
        for (int id = 1; id <= creators.size(); ++id) {
            const QStringList& c = creators.at(id - 1);
            QCOMPARE(creatorRow(id, "名前, ふりがな, 住所, password, 郵便番号"),
                     (QVariantList{c[0], c[0], c[1], c[2], {}}));
            QCOMPARE(f->program->maintenance.CreatorEntries.at(size_t(id)).password, c[2]);
        }

        const QList<QPair<QString, QList<int>>> searches{
            {"O'N", {1}},         {"'", {1, 7}},
            {"''", {7}},          {"*", {2}},
            {"100%", {3}},        {"[#]", {4}},
            {"x' OR '1'='1", {}}, {"*' OR 名前 Like '*", {}},
            {"😀", {5}},           {"   ", {1, 2, 3, 4, 5, 6, 7, 8}}};
        for (const auto& [text, found] : searches) {
            f->shown.clear();
            search("検索条件氏名", "検索氏名", text);
            QList<int> ids;
            for (int k = 1; k < list()->count(); ++k)
                ids.append(f->program->maintenance.CreatorEntries.at(size_t(k)).ID);
            QCOMPARE(ids, found);
            QCOMPARE(f->shown.size(), found.isEmpty() ? 1 : 0);
            QVERIFY(!f->program->database.SharedRecordset->isOpen());
        }
    }

    // The creator on the page was removed or deleted by another program using the same file: a change is
    // refused, the row is not brought back, the typed texts stay and can be registered.
    void creatorGone_data()
    {
        QTest::addColumn<QString>("byOther");
        QTest::addColumn<bool>("rowStays");
        QTest::newRow("deleted elsewhere")
            << QStringLiteral("UPDATE 作成者 SET 削除日 = '%1' WHERE ID = 8").arg(kOld) << true;
        QTest::newRow("row removed") << QStringLiteral("DELETE FROM 作成者 WHERE ID = 8") << false;
    }
    void creatorGone()
    {
        QFETCH(QString, byOther);
        QFETCH(bool, rowStays);
        addCreator(8, QStringLiteral("山田"), QStringLiteral("ヤマダ"));
        addCreator(9, QStringLiteral("佐藤"), QStringLiteral("サトウ"));
        setCreatorSort(0, 0);
        FillCreatorList(f->program->database, f->program->maintenance, *f, *f->window);
        pick(1);
        box("住所")->setText(QStringLiteral("大阪"));
        const QStringList typed = fieldTexts();
        f->run(byOther);
        const QString before = f->dump();

        save();
        QCOMPARE(f->shown.size(), 1);
        expectMessage(Icon::Critical,
                      QStringLiteral("この作成者は削除されているため、変更できません。\r\n"
                                     "入力内容はそのまま残してあります。新しい作成者として登録する場合は、"
                                     "もう一度「新規登録」を押して下さい。"));
        QCOMPARE(f->dump(), before);
        QCOMPARE(fieldTexts(), typed);
        QVERIFY(number().isEmpty() && unlocked());
        QCOMPARE(saveCaption(), QStringLiteral("新規登録"));
        QCOMPARE(items().size(), 2);
        QVERIFY(!f->program->database.SharedRecordset->isOpen());
        save();
        QCOMPARE(creatorCount(), rowStays ? 3 : 2);
        QCOMPARE(f->run(QStringLiteral("SELECT count(*) FROM 作成者 WHERE 住所 = '大阪' AND 削除日 IS NULL")),
                 QVariant(1));
        if (rowStays)
            QCOMPARE(creatorRow(8, "削除日, 住所"), (QVariantList{kOld, {}}));
    }
};

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CreatorPageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_creatorpage.moc"
