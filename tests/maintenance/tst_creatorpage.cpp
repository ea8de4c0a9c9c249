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
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using Message = platform::MessageBoxes::Message;
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
                    const QString& deleted = {})
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("seed")));
        QVERIFY(q.prepare(QStringLiteral(
            "INSERT INTO 作成者 (ID, 名前, ふりがな, 住所, password, fax, 作成日, 更新日, 削除日) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")));
        const QVariantList values{id,
                                  name,
                                  reading,
                                  address,
                                  QStringLiteral("pw%1").arg(id),
                                  QStringLiteral("fax%1").arg(id),
                                  kOld,
                                  kOld,
                                  deleted.isEmpty() ? QVariant() : QVariant(deleted)};
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }
    void exec(const QString& sql)
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("seed")));
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    }

    QStringList items() const
    {
        QStringList out;
        for (int i = 0; i < control<QComboBox>(*window, "作成者検索")->count(); ++i)
            out.append(control<QComboBox>(*window, "作成者検索")->itemText(i));
        return out;
    }
    QList<QLineEdit*> fields() const
    {
        return {edit(*window, "氏名"),    edit(*window, "ふりがな"),  edit(*window, "郵便番号"),
                edit(*window, "住所"),    edit(*window, "自宅電話"),  edit(*window, "携帯電話"),
                edit(*window, "fax番号"), edit(*window, "パスワード")};
    }
    QStringList fieldTexts() const
    {
        QStringList out;
        for (const QLineEdit* box : fields())
            out.append(box->text());
        return out;
    }
    bool creatorControlsEnabled() const
    {
        return control<QComboBox>(*window, "作成者検索")->isEnabled() &&
               button(*window, "検索開始")->isEnabled() && button(*window, "作成者登録")->isEnabled() &&
               button(*window, "作成者終了")->isEnabled();
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

    // The user picks item k of the list with the keyboard, as one steps through a drop-down list.
    void pick(int k)
    {
        QComboBox* list = control<QComboBox>(*window, "作成者検索");
        const int from = k > 0 ? k - 1 : 1;
        list->setCurrentIndex(from);
        QTest::keyClick(list, k > 0 ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(list->currentIndex(), k);
    }
    void search(QRadioButton* option, QLineEdit* box = nullptr, const QString& text = {})
    {
        option->setChecked(true);
        if (box)
            box->setText(text);
        QTest::mouseClick(button(*window, "検索開始"), Qt::LeftButton);
    }
    void fillRequired(const QString& name, const QString& reading, const QString& password)
    {
        edit(*window, "氏名")->setText(name);
        edit(*window, "ふりがな")->setText(reading);
        edit(*window, "パスワード")->setText(password);
    }
    void save() { QTest::mouseClick(button(*window, "作成者登録"), Qt::LeftButton); }
    void doubleClickId() { QTest::mouseDClick(control<FieldLabel>(*window, "登録番号"), Qt::LeftButton); }
    QVariantList creatorRow(int id, const char* columns)
    {
        const auto rows = db->rows(
            QStringLiteral("SELECT %1 FROM 作成者 WHERE ID = %2").arg(QString::fromUtf8(columns)).arg(id));
        return rows.isEmpty() ? QVariantList() : rows.first();
    }
    int creatorCount() { return db->value(QStringLiteral("SELECT count(*) FROM 作成者")).toInt(); }
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

private Q_SLOTS:
    void init()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        {
            QSqlDatabase seed = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
            seed.setDatabaseName(install->installedDatabase());
            QVERIFY(seed.open());
        }
        db = std::make_unique<DatabaseInspector>(install->installedDatabase());
        program = install->makeMain();
        messages.shown.clear();
        messages.answers.clear();
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
        QCOMPARE(control<QComboBox>(*window, "作成者検索")->currentText(), kChooseCreatorItem);
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

        search(option(*window, "検索条件氏名"), edit(*window, "検索氏名"), QStringLiteral("  山  "));
        QCOMPARE(program->CreatorSearchMode, qint16(1));
        QCOMPARE(items().mid(1),
                 (QStringList{line("         1", QStringLiteral("山田花子、ヤマダハナコ、")),
                              line("         2", QStringLiteral("山本一郎、ヤマモトイチロウ、"))}));

        search(option(*window, "検索条件フリガナ"), edit(*window, "検索フリガナ"), QStringLiteral("サト"));
        QCOMPARE(program->CreatorSearchMode, qint16(2));
        QCOMPARE(items().size(), 2);
        QCOMPARE(program->maintenance.CreatorEntries.at(1).ID, 3);

        // Nothing found: the list holds item 0 only, the entries stay as they were.
        search(option(*window, "検索条件フリガナ"), edit(*window, "検索フリガナ"), QStringLiteral("ン"));
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.at(0).icon, Icon::Information);
        QCOMPARE(messages.shown.at(0).buttons, Buttons::Ok);
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("作成者"));
        QCOMPARE(messages.shown.at(0).text, QStringLiteral("該当のフリガナはありません。"));
        QCOMPARE(program->maintenance.CreatorEntries.at(1).ID, 3);
        search(option(*window, "検索条件氏名"), edit(*window, "検索氏名"), QStringLiteral("鈴木"));
        QCOMPARE(messages.shown.at(1).text, QStringLiteral("該当の氏名はありません。"));
        QVERIFY(creatorControlsEnabled());

        // Every rebuild repeats the search with the text as it stands then.
        edit(*window, "検索氏名")->setText(QStringLiteral("佐"));
        FillCreatorList(*program, *window);
        QCOMPARE(items().size(), 2);

        // A refused search: mode, list, fields and masks stay.
        pick(1);
        revealPasswords();
        const QStringList before = fieldTexts();
        messages.shown.clear();
        search(option(*window, "検索条件フリガナ"), edit(*window, "検索フリガナ"), QString());
        search(option(*window, "検索条件氏名"), edit(*window, "検索氏名"), QString());
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(0).text, QStringLiteral("検索するフリガナを入力して下さい。"));
        QCOMPARE(messages.shown.at(1).text, QStringLiteral("検索する氏名を入力して下さい。"));
        for (const Message& m : messages.shown) {
            QCOMPARE(m.icon, Icon::Critical);
            QCOMPARE(m.title, QStringLiteral("作成者"));
        }
        QCOMPARE(program->CreatorSearchMode, qint16(1));
        QCOMPARE(items().size(), 2);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text(), QStringLiteral("3"));
        QVERIFY(!passwordsMasked());
        QVERIFY(creatorControlsEnabled());

        // A search that runs prepares the page for a new creator; すべて ignores the texts.
        search(option(*window, "検索条件すべて"));
        QCOMPARE(program->CreatorSearchMode, qint16(0));
        QCOMPARE(items().size(), 4);
        QCOMPARE(fieldTexts(), QStringList(8));
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
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
        addCreator(1, QStringLiteral("O'Neil"), QStringLiteral("オニール"));
        addCreator(2, QStringLiteral("a*b"), QStringLiteral("エー"));
        addCreator(3, QStringLiteral("100% 山田"), QStringLiteral("ヤマダ"));
        addCreator(4, QStringLiteral("[#]"), QStringLiteral("シャープ"));
        addCreator(5, QStringLiteral("花😀子"), QStringLiteral("ハナコ"));
        addCreator(6, QStringLiteral("abc"), QStringLiteral("エービーシー"));
        addCreator(7, QStringLiteral("x''y"), QStringLiteral("エックス"));
        setCreatorSort(0, 0);

        search(option(*window, "検索条件氏名"), edit(*window, "検索氏名"), text);
        QList<int> ids;
        for (int k = 1; k < control<QComboBox>(*window, "作成者検索")->count(); ++k)
            ids.append(program->maintenance.CreatorEntries.at(size_t(k)).ID);
        QCOMPARE(ids, found);
        QCOMPARE(messages.shown.size(), found.isEmpty() ? 1 : 0);
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(creatorControlsEnabled());
    }

    // Only a choice from the list picks: the open list with the mouse or the keys, or the arrow keys on
    // the closed box. Typing an item's text and pressing Enter or Tab is no choice.
    void onlyAChoiceFromTheListPicks()
    {
        addCreator(4, QStringLiteral("山田"), QStringLiteral("ヤマダ"), QStringLiteral("東京都"));
        addCreator(5, QStringLiteral("佐藤"), QStringLiteral("サトウ"), QStringLiteral("大阪府"));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        FillCreatorList(*program, *window);
        auto* list = control<CreatorSearchBox>(*window, "作成者検索");
        const QString second = list->itemText(2);
        const QString firstId = QString::number(program->maintenance.CreatorEntries[1].ID);
        const QString secondId = QString::number(program->maintenance.CreatorEntries[2].ID);

        list->setFocus();
        list->setEditText(second);
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Tab);
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QCOMPARE(fieldTexts(), QStringList(8));

        // The open list, clicked with the mouse.
        list->showPopup();
        QAbstractItemView* view = list->view();
        QTRY_VERIFY(view->isVisible());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(list->model()->index(2, 0)).center());
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text(), secondId);

        // The open list, chosen with the keys.
        list->showPopup();
        QTRY_VERIFY(view->isVisible());
        QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text(), firstId);

        // The arrow key on the closed box.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Up);
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QCOMPARE(list->currentIndex(), 0);
    }

    // A pick loads the creator from memory, item 0 empties the page; the program's own rebuilds of the
    // box never count as a pick.
    void pickLoadsFromMemory()
    {
        addCreator(4, QStringLiteral("山田"), QStringLiteral("ヤマダ"), QStringLiteral("東京都"));
        exec(QStringLiteral(
            "UPDATE 作成者 SET 郵便番号 = '100-0001', 電話 = '03', 携帯電話 = '090' WHERE ID = 4"));
        FillCreatorList(*program, *window);
        // Another program changes the row after the list was read: the page shows what the list read.
        exec(QStringLiteral("UPDATE 作成者 SET 名前 = '変更後' WHERE ID = 4"));
        revealPasswords();
        statements.clear();

        pick(1);
        QVERIFY(statements.isEmpty());
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text(), QStringLiteral("4"));
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("変更"));
        QCOMPARE(fieldTexts(),
                 (QStringList{QStringLiteral("山田"), QStringLiteral("ヤマダ"), QStringLiteral("100-0001"),
                              QStringLiteral("東京都"), QStringLiteral("03"), QStringLiteral("090"),
                              QStringLiteral("fax4"), QStringLiteral("pw4")}));
        QVERIFY(passwordsMasked());
        QVERIFY(creatorControlsEnabled());

        FillCreatorList(*program, *window);
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text(), QStringLiteral("4"));
        QCOMPARE(edit(*window, "氏名")->text(), QStringLiteral("山田"));

        pick(1);
        pick(0);
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("新規登録"));
        QCOMPARE(fieldTexts(), QStringList(8));
    }

    // A new creator, then a change of it, and what the file holds after each.
    void registerAndChange()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        revealPasswords();
        fillRequired(QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"), QStringLiteral("Secret"));
        save();

        QVERIFY(messages.shown.isEmpty());
        const int id = db->value(QStringLiteral("SELECT max(ID) FROM 作成者")).toInt();
        QVariantList row =
            creatorRow(id, "名前, ふりがな, password, 郵便番号, 住所, 電話, 携帯電話, fax, 削除日");
        QCOMPARE(row, QVariantList({QStringLiteral("山田花子"), QStringLiteral("ヤマダハナコ"),
                                    QStringLiteral("Secret")}) +
                          QVariantList(6));
        QVERIFY(!creatorRow(id, "作成日").at(0).isNull() && !creatorRow(id, "更新日").at(0).isNull());
        QCOMPARE(id, 1);
        QCOMPARE(items(), (QStringList{kChooseCreatorItem,
                                       line("         1", QStringLiteral("山田花子、ヤマダハナコ、"))}));
        QCOMPARE(fieldTexts(), QStringList(8));
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QVERIFY(passwordsMasked());
        QVERIFY(creatorControlsEnabled());
        QCOMPARE(QApplication::focusWidget(), button(*window, "作成者終了"));

        // Change: an emptied optional field is removed, 作成日 stays, 更新日 moves.
        exec(QStringLiteral(
                 "UPDATE 作成者 SET fax = '03-1', 住所 = '東京', 作成日 = '%1', 更新日 = '%1' WHERE ID = %2")
                 .arg(kOld)
                 .arg(id));
        FillCreatorList(*program, *window);
        pick(1);
        edit(*window, "fax番号")->clear();
        edit(*window, "氏名")->setText(QStringLiteral("山田 花子"));
        edit(*window, "携帯電話")->setText(QStringLiteral("090-1"));
        save();
        row = creatorRow(id, "名前, fax, 住所, 携帯電話, 作成日");
        QCOMPARE(row, (QVariantList{QStringLiteral("山田 花子"), QVariant(), QStringLiteral("東京"),
                                    QStringLiteral("090-1"), kOld}));
        QVERIFY(creatorRow(id, "更新日").at(0).toString() > kOld);
        QCOMPARE(creatorCount(), 1);
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("変更"));
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        // The removed fax does not come back at the next pick.
        pick(1);
        QCOMPARE(edit(*window, "fax番号")->text(), QString());
        QCOMPARE(edit(*window, "住所")->text(), QStringLiteral("東京"));
        pick(0);

        // The emptied page stands for a new creator.
        fillRequired(QStringLiteral("佐藤"), QStringLiteral("サトウ"), QStringLiteral("p"));
        save();
        QCOMPARE(creatorCount(), 2);
        QCOMPARE(items().size(), 3);
    }

    void requiredFields_data()
    {
        QTest::addColumn<int>("empty");
        QTest::newRow("氏名") << 0;
        QTest::newRow("ふりがな") << 1;
        QTest::newRow("パスワード") << 2;
    }
    void requiredFields()
    {
        QFETCH(int, empty);
        fillRequired(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
        edit(*window, "住所")->setText(QStringLiteral("東京"));
        QList<QLineEdit*>{edit(*window, "氏名"), edit(*window, "ふりがな"), edit(*window, "パスワード")}
            .at(empty)
            ->clear();
        revealPasswords();
        const QStringList before = fieldTexts();
        save();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.at(0).text, QStringLiteral("必須事項を入力して下さい。"));
        QCOMPARE(messages.shown.at(0).icon, Icon::Critical);
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("作成者"));
        QCOMPARE(creatorCount(), 0);
        QCOMPARE(fieldTexts(), before);
        QVERIFY(!passwordsMasked());
        QVERIFY(creatorControlsEnabled());
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
        edit(*window, "氏名")->setText(name);
        edit(*window, "住所")->setText(address);
        edit(*window, "パスワード")->setText(password);
        edit(*window, "ふりがな")->setText(name);
        // The boxes hold the whole texts: none is longer than its box admits.
        QCOMPARE(edit(*window, "氏名")->text(), name);
        QCOMPARE(edit(*window, "住所")->text(), address);
        QCOMPARE(edit(*window, "パスワード")->text(), password);
        save();
        QVERIFY(messages.shown.isEmpty());
        const int id = db->value(QStringLiteral("SELECT max(ID) FROM 作成者")).toInt();
        QCOMPARE(creatorRow(id, "名前, ふりがな, 住所, password, 郵便番号"),
                 (QVariantList{name, name, address, password, {}}));
        const CreatorEntry& entry = program->maintenance.CreatorEntries.at(1);
        QCOMPARE(entry.名前, name);
        QCOMPARE(entry.password, password);

        // Searching for the stored name finds it again.
        search(option(*window, "検索条件氏名"), edit(*window, "検索氏名"), name);
        QCOMPARE(items().size(), 2);
    }

    void deletion()
    {
        listCreators8And9();

        // Nothing loaded: no question, nothing locked.
        doubleClickId();
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(creatorControlsEnabled());

        pick(1);
        const QStringList loaded = fieldTexts();
        messages.setNextAnswer(Answer::Cancel);
        doubleClickId();
        QCOMPARE(messages.shown.size(), 1);
        const Message& question = messages.shown.at(0);
        QCOMPARE(question.text, QStringLiteral("この作成者を削除します。\r\nよろしいですか。"));
        QCOMPARE(question.title, QStringLiteral("作成者削除"));
        QCOMPARE(question.icon, Icon::Critical);
        QCOMPARE(question.buttons, Buttons::OkCancel);
        QCOMPARE(question.defaultButton, Answer::Cancel);
        QVERIFY(creatorRow(8, "削除日").at(0).isNull());
        QCOMPARE(control<FieldLabel>(*window, "登録番号")->text(), QStringLiteral("8"));
        QCOMPARE(fieldTexts(), loaded);
        QVERIFY(creatorControlsEnabled());

        const char* const otherColumns =
            "ID, 名前, ふりがな, 郵便番号, 住所, 電話, 携帯電話, fax, password, 作成日, 更新日";
        const auto others = [&] {
            return db->rows(QStringLiteral("SELECT %1 FROM 作成者").arg(QString::fromUtf8(otherColumns)));
        };
        const auto before = others();
        revealPasswords();
        messages.setNextAnswer(Answer::Ok);
        doubleClickId();
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(creatorRow(8, "削除日").at(0).toString() > kOld);
        QCOMPARE(creatorRow(8, "名前, 更新日, 作成日, password"),
                 (QVariantList{QStringLiteral("山田"), kOld, kOld, QStringLiteral("pw8")}));
        QCOMPARE(creatorCount(), 2);
        QCOMPARE(items(),
                 (QStringList{kChooseCreatorItem, line("         9", QStringLiteral("佐藤、サトウ、"))}));
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QCOMPARE(fieldTexts(), QStringList(8));
        QVERIFY(passwordsMasked());
        QVERIFY(creatorControlsEnabled());
        // Only the deletion date changed.
        QCOMPARE(others(), before);
        QVERIFY(creatorRow(9, "削除日").at(0).isNull());
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
        QCOMPARE(messages.shown.at(0).text, CreatorActions::creatorGoneOnChangeText());
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("作成者"));
        QCOMPARE(db->dump(), before);
        QCOMPARE(fieldTexts(), typed);
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QCOMPARE(button(*window, "作成者登録")->text(), QStringLiteral("新規登録"));
        QCOMPARE(items().size(), 2);
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(creatorControlsEnabled());
        save();
        QCOMPARE(creatorCount(), rowStays ? 3 : 2);
        QCOMPARE(
            db->value(QStringLiteral("SELECT count(*) FROM 作成者 WHERE 住所 = '大阪' AND 削除日 IS NULL"))
                .toInt(),
            1);
        if (rowStays)
            QCOMPARE(creatorRow(8, "削除日, 住所"), (QVariantList{kOld, {}}));

        // A deletion of a creator already gone keeps the first deletion and ends as a deletion does.
        FillCreatorList(*program, *window);
        pick(1);
        exec(QStringLiteral("UPDATE 作成者 SET 削除日 = '%1' WHERE ID = 9").arg(kOld));
        messages.shown.clear();
        messages.setNextAnswer(Answer::Ok);
        doubleClickId();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown.at(1).text, CreatorActions::creatorGoneOnDeleteText());
        QCOMPARE(creatorRow(9, "削除日"), QVariantList{kOld});
        QVERIFY(control<FieldLabel>(*window, "登録番号")->text().isEmpty());
        QCOMPARE(items().size(), 2);
        QVERIFY(creatorControlsEnabled());
    }

    // After a name search every rebuild repeats it: a registration lists what the search matches, and
    // says so when that is no one.
    void rebuildKeepsTheSearch()
    {
        addCreator(1, QStringLiteral("山田"), QStringLiteral("ヤマダ"));
        search(option(*window, "検索条件氏名"), edit(*window, "検索氏名"), QStringLiteral("山田"));
        fillRequired(QStringLiteral("山田太郎"), QStringLiteral("ヤマダタロウ"), QStringLiteral("p"));
        save();
        QCOMPARE(items().size(), 3);

        edit(*window, "検索氏名")->setText(QStringLiteral("鈴木"));
        fillRequired(QStringLiteral("佐藤"), QStringLiteral("サトウ"), QStringLiteral("p"));
        save();
        QCOMPARE(creatorCount(), 3);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.at(0).text, QStringLiteral("該当の氏名はありません。"));
        QCOMPARE(items(), QStringList{kChooseCreatorItem});
        QCOMPARE(control<QComboBox>(*window, "作成者検索")->currentText(), kChooseCreatorItem);
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
