// SPDX-License-Identifier: MIT
#include "common/Controls.h"
#include "common/StartWindowFixture.h"

#include "RuntimeError.h"
#include "maintenance/MasterActions.h"
#include "platform/FileSystem.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTabWidget>

using Icon = platform::MessageBoxes::Icon;

// The two sign-ins of the start window: the creator's, which runs the plan workbook through a scripted
// shell, and the master's, which opens the maintenance window; their refusals with what each clears.
class SignInTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private:
    void press(QPushButton* button, const QStringList& typed)
    {
        messages.shown.clear();
        type(typed);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QList<QVariantList> temp() const
    {
        return DatabaseInspector(install->installedDatabase()).rows("SELECT ID FROM temp");
    }

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        open();
    }
    void cleanup() { tearDown(); }

    // Each refusal of tests/data/launcher/signin-refusals.json, one a line: the button pressed, the four
    // boxes as typed (作成者ID, 作成者パスワード, マスターID, マスターパスワード), a statement run on the
    // database first, the message shown (icon, title, text; none when a box of the pair is empty), the boxes
    // left afterwards and the statements sent. The program then goes on at the start window as before.
    void refusals_data()
    {
        QTest::addColumn<QJsonObject>("refusal");
        QFile file(HANAPLAN_SOURCE_DIR "/tests/data/launcher/signin-refusals.json");
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const QJsonValue& refusal : QJsonDocument::fromJson(file.readAll()).array())
            QTest::newRow(qPrintable(refusal["case"].toString())) << refusal.toObject();
    }
    void refusals()
    {
        QFETCH(QJsonObject, refusal);
        const auto texts = [&refusal](const char* key) {
            QStringList out;
            for (const QJsonValue& text : refusal[QLatin1String(key)].toArray())
                out.append(text.toString());
            return out;
        };
        if (refusal.contains("setUp"))
            sql(refusal["setUp"].toString());

        const bool master = refusal["press"] == "メンテ";
        press(master ? button(*start, "メンテ") : button(*start, "作成"), texts("typed"));
        const QStringList message = texts("message");
        if (message.isEmpty())
            QVERIFY(messages.shown.isEmpty());
        else
            expectMessage(message[0] == "critical" ? Icon::Critical : Icon::Information, message[1],
                          message[2]);
        QCOMPARE(statements, texts("statements"));
        QCOMPARE(boxes(), texts("left"));
        QVERIFY(start->isVisible() && !mente->isVisible());
        QVERIFY(!program->database.SharedRecordset->isOpen());
        QCOMPARE(temp(), (QList<QVariantList>{{3}, {4}}));
        QVERIFY(shell->opened.isEmpty());
    }

    // The start window hides while the spreadsheet runs on a fresh copy of the workbook and the database
    // is closed; afterwards the copy goes and everything is back. A failed open shows the shell's message.
    void creatorRunsTheWorkbook_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("7") << "7" << platform::Shell::Opened << "";
        QTest::newRow("blanks and leading zeros") << "  007 " << 33 << "";
        const std::pair<int, const char*> failures[] = {{0, "メモリまたはリソースが足りません。"},
                                                        {2, "ファイルが見つかりません。"},
                                                        {3, "パスが見つかりません。"},
                                                        {5, "アクセスは拒否されました。"},
                                                        {11, "不正な形式の実行ファイルです。"},
                                                        {27, "関連付けが不完全です。"},
                                                        {31, "関連付けが指定されていません。"},
                                                        {32, "ファイルを開けません。"}};
        for (const auto& [result, text] : failures)
            QTest::addRow("shell result %d", result) << "7" << result << text;
    }
    void creatorRunsTheWorkbook()
    {
        QFETCH(QString, id);
        QFETCH(int, result);
        QFETCH(QString, message);
        // A copy left over from an earlier run, read-only, hidden and system, is replaced.
        QFile stale(workingCopy());
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("stale") == 5);
        stale.close();
        platform::setFileAttributes(workingCopy(), 7);

        shell->result = result;
        bool visible = true, databaseOpen = true;
        int runs = 0, attributes = -1;
        QByteArray content;
        shell->spreadsheet = [&] {
            ++runs;
            visible = start->isVisible();
            databaseOpen = program->database.DbConnection && program->database.DbConnection->isOpen();
            attributes = platform::fileAttributes(workingCopy());
            QFile copy(workingCopy()); // what the spreadsheet saves into its copy is thrown away
            QVERIFY(copy.open(QIODevice::ReadWrite));
            content = copy.readAll();
            copy.write("edited");
        };
        press(button(*start, "作成"), {id, "pw", "m", "p"});

        if (message.isEmpty()) {
            QVERIFY(messages.shown.isEmpty());
            QVERIFY(!visible && !databaseOpen);
            QCOMPARE(content, "<Workbook/>");
            QVERIFY(attributes == 6 || attributes == 0); // hidden and system are advisory
        } else {
            expectMessage(Icon::Critical, "EXCELチェック", message);
        }
        QCOMPARE(runs, message.isEmpty() ? 1 : 0);
        QCOMPARE(shell->opened, QStringList{QDir::toNativeSeparators(workingCopy())});
        QCOMPARE(temp(), (QList<QVariantList>{{7}}));
        QVERIFY(!QFile::exists(workingCopy()));
        QCOMPARE(program->WorkbookCopyPath, install->allUsersProfile() + "\\作業シート.xls");
        QVERIFY(platform::fileAttributes(workbook()) & platform::FileAttribute::ReadOnly);
        QVERIFY(program->database.DbConnection && program->database.DbConnection->isOpen());
        QVERIFY(start->isVisible());
        QCOMPARE(boxes(), QStringList(4));
        QCOMPARE(start->focusWidget(), edit(*start, "作成者ID"));
    }

    // A missing installed workbook is an unguarded failure, which the run-time error report ends the
    // program with (the handler is called directly: only the application's notify() catches it).
    void missingWorkbook()
    {
        QFile::remove(workbook());
        type({"7", "pw"});
        HANAPLAN_VERIFY_RUNTIME_ERROR(start->on作成Clicked(), ErrorNumber::FileNotFound);
    }

    // The master's sign-in sends the look-up and then the maintenance window's four fills in their order:
    // the creator list (with its Setting row), the search settings, the period and stamp settings, the
    // honorific settings. A new master pair takes effect at the next sign-in. One the start window could
    // never match is refused by the master page, and the old pair still signs in; 作成者終了 then leads
    // back with the focus in 作成者ID.
    void masterChange_data()
    {
        QTest::addColumn<QStringList>("pair");
        QTest::addColumn<bool>("refused");
        QTest::newRow("new pair") << QStringList{"新 マスター", " new pass "} << false;
        QTest::newRow("longest pair") << QStringList{QString(32, 'm'), QString(32, QChar(0x3042))} << false;
        QTest::newRow("blank before the ID") << QStringList{" boss", "pw"} << true;
        QTest::newRow("blank after the ID") << QStringList{"boss ", "pw"} << true;
        QTest::newRow("ID of blanks only") << QStringList{"   ", "pw"} << true;
    }
    void masterChange()
    {
        QFETCH(QStringList, pair);
        QFETCH(bool, refused);
        sql("UPDATE MST SET masterID = 'O''Neil'");
        sql("UPDATE 作成者 SET 住所 = '東京都' WHERE ID = 7");
        const QString before = DatabaseInspector(install->installedDatabase()).dump();
        press(button(*start, "メンテ"), {"7", "x", "O'Neil", "hanacare"});
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(statements, (QStringList{"SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'",
                                          "SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1",
                                          "作成者 WHERE 削除日 IS NULL", "Setting", "Setting", "MST",
                                          "MST WHERE 削除日 IS NULL AND ID = 1"}));
        QCOMPARE(boxes(), QStringList(4));
        QVERIFY(!start->isVisible() && mente->isVisible());
        QVERIFY(
            control<QComboBox>(*mente, "作成者検索")->findText("         7　山田花子、ヤマダハナコ、東京都") >
            0);

        control<QTabWidget>(*mente, "SSTab1")->setCurrentIndex(MaintenanceWindow::MasterPage);
        edit(*mente, "マスターID")->setText(pair[0]);
        edit(*mente, "マスターパスワード")->setText(pair[1]);
        QTest::mouseClick(button(*mente, "マスター変更"), Qt::LeftButton);
        if (refused) {
            expectMessage(Icon::Critical, "マスター",
                          "マスターIDは前後に空白を付けず、マスターID、マスターパスワードとも32文字以内で設定"
                          "して下さい。");
            QVERIFY(mente->isVisible());
            QCOMPARE(DatabaseInspector(install->installedDatabase()).dump(), before);
            QTest::mouseClick(button(*mente, "作成者終了"), Qt::LeftButton);
            QCOMPARE(start->focusWidget(), edit(*start, "作成者ID"));
            pair = QStringList{"O'Neil", "hanacare"};
        } else {
            press(button(*start, "メンテ"), {"", "", "O'Neil", "hanacare"});
            QCOMPARE(messages.shown.size(), 1);
        }
        QVERIFY(!mente->isVisible() && start->isVisible());
        press(button(*start, "メンテ"), {"", "", pair[0], pair[1]});
        QVERIFY(messages.shown.isEmpty() && mente->isVisible());
        // Longer texts than the boxes take could never be typed at the start window either.
        QVERIFY(!MasterActions::canSignInWith(QString(33, 'm'), "pw"));
        QVERIFY(!MasterActions::canSignInWith("m", QString(33, 'p')));
    }
};

QTEST_MAIN(SignInTest)
#include "tst_signin.moc"
