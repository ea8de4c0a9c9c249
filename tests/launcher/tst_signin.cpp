// SPDX-License-Identifier: MIT
#include "StartWindowFixture.h"
#include "common/JsonCases.h"

#include "RuntimeError.h"
#include "maintenance/MasterActions.h"

#include <QComboBox>
#include <QTabWidget>

#include <optional>

using Icon = platform::MessageBoxes::Icon;

static QStringList texts(const QJsonValue& array)
{
    return array.toVariant().toStringList();
}

// The creator's sign-in, which runs the plan workbook through a scripted shell, and the master's, which
// opens the maintenance window; their refusals with what each clears.
class SignInTest : public QObject
{
    Q_OBJECT

    std::optional<StartWindowFixture> f;

    void press(const QString& name, const QStringList& typed)
    {
        f->messages.shown.clear();
        f->type(typed);
        QTest::mouseClick(button(*f->start, qPrintable(name)), Qt::LeftButton);
    }

private Q_SLOTS:
    void init()
    {
        f.emplace();
        f->showStart();
    }
    void cleanup() { f.reset(); }

    // The four boxes as typed and left afterwards, the message (none while a box of the pair is empty) and
    // the statements sent; the program goes on at the start window as before.
    void refusals_data() { addJsonCases("launcher.json", "refusals", {"refusal"}); }
    void refusals()
    {
        QFETCH(QJsonValue, refusal);
        if (refusal["setUp"].isString())
            f->sql(refusal["setUp"].toString());
        press(refusal["button"].toString(), texts(refusal["typed"]));
        if (const QStringList shown = texts(refusal["message"]); shown.isEmpty())
            QVERIFY(f->messages.shown.isEmpty());
        else
            f->expectMessage(shown[0] == "critical" ? Icon::Critical : Icon::Information, shown[1], shown[2]);
        QCOMPARE(f->statements, texts(refusal["statements"]));
        QCOMPARE(f->boxes(), texts(refusal["left"]));
        QVERIFY(f->start->isVisible() && !f->mente->isVisible() && !f->rs().isOpen());
        QCOMPARE(f->rows("SELECT ID FROM temp"), (QList<QVariantList>{{3}, {4}}));
        QVERIFY(f->shell.opened.isEmpty());
    }

    // The start window hides while the spreadsheet runs on a fresh copy of the workbook with the database
    // closed; afterwards the copy goes and everything is back. A failed open shows the shell's message.
    void creatorRunsTheWorkbook_data()
    {
        addJsonCases("launcher.json", "workbookRuns", {"id", "result", "message"});
    }
    void creatorRunsTheWorkbook()
    {
        QFETCH(QJsonValue, id);
        QFETCH(QJsonValue, result);
        QFETCH(QJsonValue, message);
        f->writeFile(f->workingCopy(), "stale", 7);
        f->shell.result = result.isNull() ? platform::Shell::Opened : result.toInt();
        bool visible = true, databaseOpen = true;
        int runs = 0, attributes = -1;
        QByteArray content;
        f->shell.spreadsheet = [&] {
            ++runs;
            visible = f->start->isVisible();
            databaseOpen = f->program->database.DbConnection && f->db().isOpen();
            attributes = platform::fileAttributes(f->workingCopy());
            QFile copy(f->workingCopy()); // what the spreadsheet saves into its copy is thrown away
            QVERIFY(copy.open(QIODevice::ReadWrite));
            content = copy.readAll();
            copy.write("edited");
        };
        press("作成", {id.toString(), "pw", "m", "p"});

        if (message.toString().isEmpty()) {
            QVERIFY(f->messages.shown.isEmpty() && !visible && !databaseOpen);
            QCOMPARE(content, "<Workbook/>");
            QVERIFY(attributes == 6 || attributes == 0); // hidden and system are advisory
        } else {
            f->expectMessage(Icon::Critical, "EXCELチェック", message.toString());
        }
        QCOMPARE(runs, message.toString().isEmpty() ? 1 : 0);
        QCOMPARE(f->shell.opened, QStringList{QDir::toNativeSeparators(f->workingCopy())});
        QCOMPARE(f->rows("SELECT ID FROM temp"), (QList<QVariantList>{{7}}));
        QVERIFY(!QFile::exists(f->workingCopy()));
        QCOMPARE(f->program->WorkbookCopyPath, f->install.allUsersProfile() + "\\作業シート.xls");
        QVERIFY(platform::fileAttributes(f->workbook()) & platform::FileAttribute::ReadOnly);
        QVERIFY(f->program->database.DbConnection && f->db().isOpen() && f->start->isVisible());
        QCOMPARE(f->boxes(), QStringList(4));
        QCOMPARE(f->start->focusWidget(), edit(*f->start, "作成者ID"));
    }

    // A missing installed workbook is an unguarded failure (only the application's notify() catches it).
    void missingWorkbook()
    {
        QFile::remove(f->workbook());
        f->type({"7", "pw"});
        HANAPLAN_VERIFY_RUNTIME_ERROR(f->start->on作成Clicked(), ErrorNumber::FileNotFound);
    }

    // The master's sign-in sends the look-up, then the maintenance window's fills in their order. A new
    // master pair takes effect at the next sign-in; one the start window could never match is refused by
    // the master page, the old pair still signs in, and 作成者終了 leads back with the focus in 作成者ID.
    void masterChange_data() { addJsonCases("launcher.json", "masterPairs", {"pair", "refused"}); }
    void masterChange()
    {
        QFETCH(QJsonValue, pair);
        QFETCH(QJsonValue, refused);
        f->sql("UPDATE MST SET masterID = 'O''Neil'");
        f->sql("UPDATE 作成者 SET 住所 = '東京都' WHERE ID = 7");
        const QString before = f->dump();
        press("メンテ", {"7", "x", "O'Neil", "hanacare"});
        QVERIFY(f->messages.shown.isEmpty());
        QCOMPARE(f->statements, (QStringList{"SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'",
                                             "SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1",
                                             "作成者 WHERE 削除日 IS NULL", "Setting", "Setting", "MST",
                                             "MST WHERE 削除日 IS NULL AND ID = 1"}));
        QCOMPARE(f->boxes(), QStringList(4));
        QVERIFY(!f->start->isVisible() && f->mente->isVisible());
        QVERIFY(control<QComboBox>(*f->mente, "作成者検索")
                    ->findText("         7　山田花子、ヤマダハナコ、東京都") > 0);

        QStringList signIn = texts(pair);
        control<QTabWidget>(*f->mente, "SSTab1")->setCurrentIndex(MaintenanceWindow::MasterPage);
        edit(*f->mente, "マスターID")->setText(signIn[0]);
        edit(*f->mente, "マスターパスワード")->setText(signIn[1]);
        QTest::mouseClick(button(*f->mente, "マスター変更"), Qt::LeftButton);
        if (refused.toBool()) {
            f->expectMessage(
                Icon::Critical, "マスター",
                "マスターIDは前後に空白を付けず、マスターID、マスターパスワードとも32文字以内で設定"
                "して下さい。");
            QVERIFY(f->mente->isVisible());
            QCOMPARE(f->dump(), before);
            QTest::mouseClick(button(*f->mente, "作成者終了"), Qt::LeftButton);
            QCOMPARE(f->start->focusWidget(), edit(*f->start, "作成者ID"));
            signIn = QStringList{"O'Neil", "hanacare"};
        } else {
            press("メンテ", {"", "", "O'Neil", "hanacare"});
            QCOMPARE(f->messages.shown.size(), 1);
        }
        QVERIFY(!f->mente->isVisible() && f->start->isVisible());
        press("メンテ", QStringList{"", ""} + signIn);
        QVERIFY(f->messages.shown.isEmpty() && f->mente->isVisible());
        // Longer texts than the boxes take could never be typed at the start window either.
        QVERIFY(!MasterActions::canSignInWith(QString(33, 'm'), "pw") &&
                !MasterActions::canSignInWith("m", QString(33, 'p')));
    }
};

QTEST_MAIN(SignInTest)
#include "tst_signin.moc"
