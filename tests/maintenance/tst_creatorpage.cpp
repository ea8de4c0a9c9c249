// SPDX-License-Identifier: MIT
#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "maintenance/CreatorActions.h"
#include "maintenance/CreatorList.h"
#include "maintenance/CreatorSearchBox.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>

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
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    std::unique_ptr<MaintenanceWindow> window;
    std::unique_ptr<DatabaseInspector> db;
    MessageRecorder messages;
    QStringList statements;

    // A creator placed by another program; the texts not given are null.
    void addCreator(int id, const QString& name, const QString& reading, const QVariant& address = {},
                    const QVariant& deleted = {})
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("seed")));
        q.prepare(
            QStringLiteral("INSERT INTO 作成者 (ID, 名前, ふりがな, 住所, password, fax, 作成日, 更新日, "
                           "削除日) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant& value : QVariantList{id, name, reading, address, QStringLiteral("pw%1").arg(id),
                                                  QStringLiteral("fax%1").arg(id), kOld, kOld, deleted})
            q.addBindValue(value);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
    void exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("seed")));
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    }
    void setCreatorSort(int sort, int set1)
    {
        exec(QStringLiteral("UPDATE Setting SET Sort = %1, Set1 = %2 WHERE ID = 1").arg(sort).arg(set1));
    }
    // Creators 8 山田 and 9 佐藤, listed by ID.
    void listCreators8And9()
    {
        addCreator(8, QStringLiteral("山田"), QStringLiteral("ヤマダ"));
        addCreator(9, QStringLiteral("佐藤"), QStringLiteral("サトウ"));
        setCreatorSort(0, 0);
        FillCreatorList(*program, *window);
    }

    QComboBox* list() const { return control<QComboBox>(*window, "作成者検索"); }
    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out.append(list()->itemText(i));
        return out;
    }
    QString number() const { return control<FieldLabel>(*window, "登録番号")->text(); }
    QStringList fieldTexts() const
    {
        QStringList out;
        for (const char* name :
             {"氏名", "ふりがな", "郵便番号", "住所", "自宅電話", "携帯電話", "fax番号", "パスワード"})
            out.append(edit(*window, name)->text());
        return out;
    }
    bool creatorControlsEnabled() const
    {
        return list()->isEnabled() && button(*window, "検索開始")->isEnabled() &&
               button(*window, "作成者登録")->isEnabled() && button(*window, "作成者終了")->isEnabled();
    }
    bool passwordsMasked() const
    {
        return edit(*window, "パスワード")->echoMode() == QLineEdit::Password &&
               edit(*window, "マスターパスワード")->echoMode() == QLineEdit::Password;
    }
    void revealPasswords()
    {
        edit(*window, "パスワード")->setEchoMode(QLineEdit::Normal);
        edit(*window, "マスターパスワード")->setEchoMode(QLineEdit::Normal);
    }
    // The last message shown, with the OK button only.
    void expectMessage(Icon icon, const QString& title, const QString& text)
    {
        QVERIFY(!messages.shown.isEmpty());
        QCOMPARE(messages.shown.last().icon, icon);
        QCOMPARE(messages.shown.last().buttons, Buttons::Ok);
        QCOMPARE(messages.shown.last().title, title);
        QCOMPARE(messages.shown.last().text, text);
    }

    // The user picks item k of the list with the keyboard, as one steps through a drop-down list.
    void pick(int k)
    {
        list()->setCurrentIndex(k > 0 ? k - 1 : 1);
        QTest::keyClick(list(), k > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(list()->currentIndex(), k);
    }
    void search(const char* option, const char* box = nullptr, const QString& text = {})
    {
        ::option(*window, option)->setChecked(true);
        if (box)
            edit(*window, box)->setText(text);
        QTest::mouseClick(button(*window, "検索開始"), Qt::LeftButton);
    }
    void fillRequired(const QString& name, const QString& reading, const QString& password)
    {
        edit(*window, "氏名")->setText(name);
        edit(*window, "ふりがな")->setText(reading);
        edit(*window, "パスワード")->setText(password);
    }
    void save() { QTest::mouseClick(button(*window, "作成者登録"), Qt::LeftButton); }
    void doubleClickId(Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseDClick(control<FieldLabel>(*window, "登録番号"), button);
    }
    QVariantList creatorRow(int id, const char* columns)
    {
        return db
            ->rows(
                QStringLiteral("SELECT %1 FROM 作成者 WHERE ID = %2").arg(QString::fromUtf8(columns)).arg(id))
            .value(0);
    }
    int creatorCount() { return db->value(QStringLiteral("SELECT count(*) FROM 作成者")).toInt(); }

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        QSqlDatabase seed = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        seed.setDatabaseName(install->installedDatabase());
        QVERIFY(seed.open());
        db = std::make_unique<DatabaseInspector>(install->installedDatabase());
        program = install->makeMain();
        messages = MessageRecorder();
        program->messageBoxes = &messages;
        OpenDatabase(*program);
        statements.clear();
        program->DbConnection->setStatementObserver([this](const QString& s) { statements.append(s); });
        window = std::make_unique<MaintenanceWindow>(*program);
        new CreatorActions(*program, *window);
    }
    void cleanup()
    {
        window.reset();
        program.reset();
        db.reset();
        QSqlDatabase::database(QStringLiteral("seed")).close();
        QSqlDatabase::removeDatabase(QStringLiteral("seed"));
        install.reset();
    }

    // Lines the database tests below do not meet: every field empty, and an ID of ten digits.
    void lineOfACreator()
    {
        CreatorEntry entry;
        entry.ID = 250;
        QCOMPARE(CreatorLine(entry), line("       250", QStringLiteral("、、")));
        entry.ID = 2147483647;
        entry.住所 = QStringLiteral("c");
        QCOMPARE(CreatorLine(entry), line("2147483647", QStringLiteral("、、c")));
    }

    // Setting row 1 decides the order; deleted creators are left out; the entries follow the items.
    void listInSettingOrder_data()
    {
        QTest::addColumn<int>("sort");
        QTest::addColumn<int>("set1");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("なし ascending: ID") << 0 << 0 << QList<int>{3, 10, 250};
        QTest::newRow("なし descending") << 0 << 1 << QList<int>{250, 10, 3};
        QTest::newRow("フリガナ") << 5 << 0 << QList<int>{250, 3, 10};
        QTest::newRow("氏名 descending") << 4 << 1 << QList<int>{10, 250, 3};
    }
    void listInSettingOrder()
    {
        QFETCH(int, sort);
        QFETCH(int, set1);
        QFETCH(QList<int>, order);
        addCreator(10, QStringLiteral("C"), QStringLiteral("ウ"), QStringLiteral("大阪"));
        addCreator(250, QStringLiteral("B"), QStringLiteral("ア"));
        addCreator(3, QStringLiteral("A"), QStringLiteral("イ"), QStringLiteral("東京"));
        addCreator(5, QStringLiteral("D"), QStringLiteral("エ"), {}, kOld);
        setCreatorSort(sort, set1);

        FillCreatorList(*program, *window);

        const QHash<int, QString> lines{{3, line("         3", QStringLiteral("A、イ、東京"))},
                                        {10, line("        10", QStringLiteral("C、ウ、大阪"))},
                                        {250, line("       250", QStringLiteral("B、ア、"))}};
        QStringList expected{kChooseCreatorItem};
        for (int id : order)
            expected.append(lines.value(id));
        QCOMPARE(items(), expected);
        QCOMPARE(list()->currentText(), kChooseCreatorItem);
        const auto& entries = program->maintenance.CreatorEntries;
        QCOMPARE(int(entries.size()), 4);
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(entries[size_t(k)].ID, order.at(k - 1));
        QCOMPARE(entries[1].fax, QStringLiteral("fax%1").arg(order.at(0)));
        QCOMPARE(program->SharedRecordset->cursorLocation(), SharedRecordset::ClientSideCursor);
        QVERIFY(!program->SharedRecordset->isOpen());
        QCOMPARE(statements.last(), QStringLiteral("作成者 WHERE 削除日 IS NULL"));
        QVERIFY(messages.shown.isEmpty());
    }

    // Searches by name and by reading, what they say when nothing matches, and the refusals that change
    // nothing.
    void searches()
    {
        addCreator(1, QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"));
        addCreator(2, QStringLiteral("山本一郎"), QStringLiteral("ヤマモトイチロウ"));
        addCreator(3, QStringLiteral("佐藤"), QStringLiteral("サトウ"));
        FillCreatorList(*program, *window);
        QCOMPARE(items().size(), 4);

        search("検索条件氏名", "検索氏名", QStringLiteral("  山  "));
        QCOMPARE(program->CreatorSearchMode, qint16(1));
        QCOMPARE(items().mid(1),
                 (QStringList{line("         1", QStringLiteral("山田花子、ヤマダハナコ、")),
                              line("         2", QStringLiteral("山本一郎、ヤマモトイチロウ、"))}));
        search("検索条件フリガナ", "検索フリガナ", QStringLiteral("サト"));
        QCOMPARE(program->CreatorSearchMode, qint16(2));
        QCOMPARE(items().size(), 2);
        QCOMPARE(program->maintenance.CreatorEntries.at(1).ID, 3);

        // Nothing found: the list holds item 0 only, the entries stay as they were.
        search("検索条件フリガナ", "検索フリガナ", QStringLiteral("ン"));
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        expectMessage(Icon::Information, QStringLiteral("作成者"),
                      QStringLiteral("該当のフリガナはありません。"));
        QCOMPARE(program->maintenance.CreatorEntries.at(1).ID, 3);
        search("検索条件氏名", "検索氏名", QStringLiteral("鈴木"));
        expectMessage(Icon::Information, QStringLiteral("作成者"),
                      QStringLiteral("該当の氏名はありません。"));
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(creatorControlsEnabled());

        // Every rebuild repeats the search with the text as it stands then.
        edit(*window, "検索氏名")->setText(QStringLiteral("佐"));
        FillCreatorList(*program, *window);
        QCOMPARE(items().size(), 2);

        // A refused search: mode, list, fields and masks stay.
        pick(1);
        revealPasswords();
        const QStringList before = fieldTexts();
        search("検索条件フリガナ", "検索フリガナ", QString());
        expectMessage(Icon::Critical, QStringLiteral("作成者"),
                      QStringLiteral("検索するフリガナを入力して下さい。"));
        search("検索条件氏名", "検索氏名", QString());
        expectMessage(Icon::Critical, QStringLiteral("作成者"),
                      QStringLiteral("検索する氏名を入力して下さい。"));
        QCOMPARE(messages.shown.size(), 4);
        QCOMPARE(program->CreatorSearchMode, qint16(1));
        QCOMPARE(items().size(), 2);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(number(), QStringLiteral("3"));
        QVERIFY(!passwordsMasked());
        QVERIFY(creatorControlsEnabled());

        // A search that runs prepares the page for a new creator; すべて ignores the texts.
        search("検索条件すべて");
        QCOMPARE(program->CreatorSearchMode, qint16(0));
        QCOMPARE(items().size(), 4);
        QCOMPARE(fieldTexts(), QStringList(8));
        QVERIFY(number().isEmpty());
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("新規登録"));
        QVERIFY(passwordsMasked());
    }

    // Search texts are matched as text, whatever characters they hold, and never end the program.
    void hostileSearchTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("found");
        QTest::newRow("quote") << QStringLiteral("O'N") << QList<int>{1};
        QTest::newRow("quote at the end") << QStringLiteral("'") << QList<int>{1, 7};
        QTest::newRow("two quotes") << QStringLiteral("''") << QList<int>{7};
        QTest::newRow("asterisk") << QStringLiteral("*") << QList<int>{2};
        QTest::newRow("percent") << QStringLiteral("100%") << QList<int>{3};
        QTest::newRow("brackets and hash") << QStringLiteral("[#]") << QList<int>{4};
        QTest::newRow("sql") << QStringLiteral("x' OR '1'='1") << QList<int>{};
        QTest::newRow("filter syntax") << QStringLiteral("*' OR 名前 Like '*") << QList<int>{};
        QTest::newRow("emoji") << QStringLiteral("😀") << QList<int>{5};
        QTest::newRow("blanks only: every name") << QStringLiteral("   ") << QList<int>{1, 2, 3, 4, 5, 6, 7};
    }
    void hostileSearchTexts()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, found);
        const QStringList names{"O'Neil", "a*b", "100% 山田", "[#]", "花😀子", "abc", "x''y"};
        for (int id = 1; id <= names.size(); ++id)
            addCreator(id, names.at(id - 1), QStringLiteral("カナ"));
        setCreatorSort(0, 0);

        search("検索条件氏名", "検索氏名", text);
        QList<int> ids;
        for (int k = 1; k < list()->count(); ++k)
            ids.append(program->maintenance.CreatorEntries.at(size_t(k)).ID);
        QCOMPARE(ids, found);
        QCOMPARE(messages.shown.size(), found.isEmpty() ? 1 : 0);
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(creatorControlsEnabled());
    }

    // Only a choice from the list picks: the open list with the mouse or the keys, or the arrow keys on
    // the closed box. Typing, even an item's text, and pressing Enter or Tab is no choice, and what is
    // typed is neither completed nor added to the list.
    void onlyAChoiceFromTheListPicks()
    {
        addCreator(4, QStringLiteral("山田"), QStringLiteral("ヤマダ"), QStringLiteral("東京都"));
        addCreator(5, QStringLiteral("佐藤"), QStringLiteral("サトウ"), QStringLiteral("大阪府"));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        FillCreatorList(*program, *window);
        auto* box = control<CreatorSearchBox>(*window, "作成者検索");
        const QString firstId = QString::number(program->maintenance.CreatorEntries[1].ID);
        const QString secondId = QString::number(program->maintenance.CreatorEntries[2].ID);

        box->setFocus();
        box->setEditText(QString());
        QTest::keyClicks(box->lineEdit(), QStringLiteral(" "));
        QCOMPARE(box->lineEdit()->text(), QStringLiteral(" "));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->count(), 3);
        box->setEditText(box->itemText(2));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(number().isEmpty());
        QCOMPARE(fieldTexts(), QStringList(8));

        // The open list, clicked with the mouse.
        box->showPopup();
        QAbstractItemView* view = box->view();
        QTRY_VERIFY(view->isVisible());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(box->model()->index(2, 0)).center());
        QCOMPARE(number(), secondId);

        // The open list, chosen with the keys.
        box->showPopup();
        QTRY_VERIFY(view->isVisible());
        QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(number(), firstId);

        // The arrow key on the closed box.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Up);
        QVERIFY(number().isEmpty());
        QCOMPARE(box->currentIndex(), 0);
    }

    // A new creator, refused while a required field is empty; its pick from the list, which loads it
    // from memory; a change of it; and what the file holds after each.
    void registerPickAndChange()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        revealPasswords();
        for (const char* required : {"氏名", "ふりがな", "パスワード"}) {
            fillRequired(QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"),
                         QStringLiteral("Secret"));
            edit(*window, "住所")->setText(QStringLiteral("東京"));
            edit(*window, required)->clear();
            const QStringList typed = fieldTexts();
            save();
            expectMessage(Icon::Critical, QStringLiteral("作成者"),
                          QStringLiteral("必須事項を入力して下さい。"));
            QCOMPARE(creatorCount(), 0);
            QCOMPARE(fieldTexts(), typed);
            QVERIFY(!passwordsMasked());
            QVERIFY(creatorControlsEnabled());
        }
        messages.shown.clear();
        edit(*window, "住所")->clear();
        fillRequired(QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"), QStringLiteral("Secret"));
        save();

        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(db->value(QStringLiteral("SELECT max(ID) FROM 作成者")), QVariant(1));
        QCOMPARE(creatorRow(1, "名前, ふりがな, password, 郵便番号, 住所, 電話, 携帯電話, fax, 削除日"),
                 QVariantList(
                     {QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"), QStringLiteral("Secret")}) +
                     QVariantList(6));
        QVERIFY(!creatorRow(1, "作成日").at(0).isNull() && !creatorRow(1, "更新日").at(0).isNull());
        QCOMPARE(items(), (QStringList{kChooseCreatorItem,
                                       line("         1", QStringLiteral("山田花子、ヤマダハナコ、"))}));
        QCOMPARE(fieldTexts(), QStringList(8));
        QVERIFY(number().isEmpty());
        QVERIFY(passwordsMasked());
        QVERIFY(creatorControlsEnabled());
        QCOMPARE(QApplication::focusWidget(), button(*window, "作成者終了"));

        // Another program changes the row after the list was read: a pick shows what the list read.
        exec(QStringLiteral(
                 "UPDATE 作成者 SET 郵便番号 = '100-0001', 住所 = '東京', 電話 = '03', 携帯電話 = '090', "
                 "fax = '03-1', 作成日 = '%1', 更新日 = '%1' WHERE ID = 1")
                 .arg(kOld));
        FillCreatorList(*program, *window);
        exec(QStringLiteral("UPDATE 作成者 SET 名前 = '変更後' WHERE ID = 1"));
        revealPasswords();
        statements.clear();
        pick(1);
        QVERIFY(statements.isEmpty());
        QCOMPARE(number(), QStringLiteral("1"));
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("変更"));
        QCOMPARE(fieldTexts(), (QStringList{"山田花子", "ヤマダハナコ", "100-0001", "東京", "03", "090",
                                            "03-1", "Secret"}));
        QVERIFY(passwordsMasked());
        QVERIFY(creatorControlsEnabled());
        // The program's own rebuild of the list is no pick.
        FillCreatorList(*program, *window);
        QCOMPARE(number(), QStringLiteral("1"));

        // Change: an emptied optional field is removed, 作成日 stays, 更新日 moves.
        edit(*window, "fax番号")->clear();
        edit(*window, "氏名")->setText(QStringLiteral("山田 花子"));
        edit(*window, "携帯電話")->setText(QStringLiteral("090-1"));
        save();
        QCOMPARE(creatorRow(1, "名前, fax, 住所, 携帯電話, 作成日"),
                 (QVariantList{QStringLiteral("山田 花子"), QVariant(), QStringLiteral("東京"),
                               QStringLiteral("090-1"), kOld}));
        QVERIFY(creatorRow(1, "更新日").at(0).toString() > kOld);
        QCOMPARE(creatorCount(), 1);
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("変更"));
        QVERIFY(number().isEmpty());
        // The removed fax does not come back at the next pick; item 0 empties the page.
        pick(1);
        QCOMPARE(edit(*window, "fax番号")->text(), QString());
        QCOMPARE(edit(*window, "住所")->text(), QStringLiteral("東京"));
        pick(0);
        QVERIFY(number().isEmpty());
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("新規登録"));
        QCOMPARE(fieldTexts(), QStringList(8));

        // The emptied page stands for a new creator.
        fillRequired(QStringLiteral("佐藤"), QStringLiteral("サトウ"), QStringLiteral("p"));
        save();
        QCOMPARE(creatorCount(), 2);
        QCOMPARE(items().size(), 3);
    }

    // Texts are stored exactly as typed, up to the limits of the boxes, whatever they hold.
    void textsStoredExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("password");
        QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral(" ") << QStringLiteral("  ");
        QTest::newRow("full width at the limits")
            << QString(50, QChar(0x9F8D)) << QString(125, QChar(0x3042)) << QString(32, QChar(0xFF30));
        QTest::newRow("sql and quotes") << QStringLiteral("'); DROP TABLE 作成者; --")
                                        << QStringLiteral("O'Neil \"x\"") << QStringLiteral("' OR '1'='1");
        QTest::newRow("filter characters")
            << QStringLiteral("*%[#]_?") << QStringLiteral("名前 Like '*'") << QStringLiteral("\\*");
        QTest::newRow("emoji") << QStringLiteral("花😀子👨‍👩‍👧") << QStringLiteral("𠮷野家")
                               << QStringLiteral("🔑");
    }
    void textsStoredExactly()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, password);
        fillRequired(name, name, password);
        edit(*window, "住所")->setText(address);
        // The boxes hold the whole texts: none is longer than its box admits.
        QCOMPARE(fieldTexts().at(3), address);
        QCOMPARE(fieldTexts().at(0), name);
        save();
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(creatorRow(1, "名前, ふりがな, 住所, password, 郵便番号"),
                 (QVariantList{name, name, address, password, {}}));
        QCOMPARE(program->maintenance.CreatorEntries.at(1).名前, name);
        QCOMPARE(program->maintenance.CreatorEntries.at(1).password, password);

        // Searching for the stored name finds it again.
        search("検索条件氏名", "検索氏名", name);
        QCOMPARE(items().size(), 2);
    }

    void deletion()
    {
        listCreators8And9();

        // Nothing loaded: no question, nothing locked.
        doubleClickId();
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(creatorControlsEnabled());

        // Only the left button's double-click asks; Cancel keeps the creator and the page.
        pick(1);
        const QStringList loaded = fieldTexts();
        doubleClickId(Qt::RightButton);
        QVERIFY(messages.shown.isEmpty());
        messages.setNextAnswer(Answer::Cancel);
        doubleClickId();
        QCOMPARE(messages.shown.size(), 1);
        const platform::MessageBoxes::Message& question = messages.shown.at(0);
        QCOMPARE(question.text, QStringLiteral("この作成者を削除します。\r\nよろしいですか。"));
        QCOMPARE(question.title, QStringLiteral("作成者削除"));
        QCOMPARE(question.icon, Icon::Critical);
        QCOMPARE(question.buttons, Buttons::OkCancel);
        QCOMPARE(question.defaultButton, Answer::Cancel);
        QVERIFY(creatorRow(8, "削除日").at(0).isNull());
        QCOMPARE(number(), QStringLiteral("8"));
        QCOMPARE(fieldTexts(), loaded);
        QVERIFY(creatorControlsEnabled());

        const QString others =
            QStringLiteral("SELECT ID, 名前, ふりがな, 郵便番号, 住所, 電話, 携帯電話, fax, "
                           "password, 作成日, 更新日 FROM 作成者");
        const auto before = db->rows(others);
        revealPasswords();
        messages.setNextAnswer(Answer::Ok);
        doubleClickId();
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(creatorRow(8, "削除日").at(0).toString() > kOld);
        QVERIFY(creatorRow(9, "削除日").at(0).isNull());
        // Only the deletion date changed.
        QCOMPARE(db->rows(others), before);
        QCOMPARE(items(),
                 (QStringList{kChooseCreatorItem, line("         9", QStringLiteral("佐藤、サトウ、"))}));
        QVERIFY(number().isEmpty());
        QCOMPARE(fieldTexts(), QStringList(8));
        QVERIFY(passwordsMasked());
        QVERIFY(creatorControlsEnabled());
    }

    // The creator on the page was removed or deleted by another program using the same file.
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
        listCreators8And9();
        pick(1);
        edit(*window, "住所")->setText(QStringLiteral("大阪"));
        const QStringList typed = fieldTexts();
        exec(byOther);
        const QString before = db->dump();

        // A change is refused: the row is not brought back, the typed texts stay and can be registered.
        save();
        QCOMPARE(messages.shown.size(), 1);
        expectMessage(
            Icon::Critical, QStringLiteral("作成者"),
            QStringLiteral(
                "この作成者は削除されているため、変更できません。\r\n入力内容はそのまま残してあります。"
                "新しい作成者として登録する場合は、もう一度「新規登録」を押して下さい。"));
        QCOMPARE(db->dump(), before);
        QCOMPARE(fieldTexts(), typed);
        QVERIFY(number().isEmpty());
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("新規登録"));
        QCOMPARE(items().size(), 2);
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(creatorControlsEnabled());
        save();
        QCOMPARE(creatorCount(), rowStays ? 3 : 2);
        QCOMPARE(
            db->value(QStringLiteral("SELECT count(*) FROM 作成者 WHERE 住所 = '大阪' AND 削除日 IS NULL")),
            QVariant(1));
        if (rowStays)
            QCOMPARE(creatorRow(8, "削除日, 住所"), (QVariantList{kOld, {}}));

        // A deletion of a creator already gone keeps the first deletion and ends as a deletion does.
        FillCreatorList(*program, *window);
        pick(1);
        exec(QStringLiteral("UPDATE 作成者 SET 削除日 = '%1' WHERE ID = 9").arg(kOld));
        messages.shown.clear();
        doubleClickId();
        QCOMPARE(messages.shown.size(), 2);
        expectMessage(Icon::Information, QStringLiteral("作成者"),
                      QStringLiteral("この作成者は既に削除されています。"));
        QCOMPARE(creatorRow(9, "削除日"), QVariantList{kOld});
        QVERIFY(number().isEmpty());
        QCOMPARE(items().size(), 2);
        QVERIFY(creatorControlsEnabled());
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
