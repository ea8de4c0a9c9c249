// SPDX-License-Identifier: MIT
#include "StartWindowFixture.h"
#include "common/JsonCases.h"

#include "RuntimeError.h"
#include "maintenance/MasterActions.h"

#include <QComboBox>
#include <QTabWidget>

#include <optional>

static QStringList texts(const QJsonValue& array)
{
    return array.toVariant().toStringList();
}
// A case's message (icon, title, text) as MessageRecorder::described() gives it; none when it has none.
static QList<QStringList> messages(const QJsonValue& message)
{
    return message.isArray() ? QList<QStringList>{texts(message)} : QList<QStringList>{};
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
        QTest::mouseClick(button(*f->start, qUtf8Printable(name)), Qt::LeftButton);
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
    void refusals_data() { addJsonCases("launcher.json", "refusals", "refusal"); }
    void refusals()
    {
        QFETCH(QJsonValue, refusal);
        if (refusal["setUp"].isString())
            f->sql(refusal["setUp"].toString());
        press(refusal["button"].toString(), texts(refusal["typed"]));
        QCOMPARE(f->messages.described(), messages(refusal["message"]));
        QCOMPARE(f->statements, texts(refusal["statements"]));
        QCOMPARE(f->boxes(), texts(refusal["left"]));
        QVERIFY(f->start->isVisible() && !f->mente->isVisible() && !f->rs().isOpen());
        QCOMPARE(f->rows("SELECT ID FROM temp"), (QList<QVariantList>{{3}, {4}}));
    }

    // The start window hides while the spreadsheet runs on a fresh copy of the workbook with the database
    // closed; afterwards the copy goes and everything is back. A failed open shows the shell's message.
    void creatorRunsTheWorkbook_data() { addJsonCases("launcher.json", "workbookRuns", "run"); }
    void creatorRunsTheWorkbook()
    {
        QFETCH(QJsonValue, run);
        f->writeFile(f->workingCopy(), "stale", 7);
        f->shell.result = run["result"].toInt(platform::Shell::Opened);
        // At the run: window shown, database open, the copy's attributes (hidden + system: 6; where they are
        // advisory, a file system may keep none) and data.
        QVariantList seen;
        f->shell.spreadsheet = [&] {
            QFile copy(f->workingCopy()); // what the spreadsheet saves into its copy is thrown away
            QVERIFY(copy.open(QIODevice::ReadWrite));
            const int attributes = platform::fileAttributes(f->workingCopy());
            seen << f->start->isVisible() << (f->program->database.DbConnection && f->db().isOpen())
                 << (attributes == 6 || (attributes == 0 && QSysInfo::productType() != "windows"))
                 << QString(copy.readAll());
            copy.write("edited");
        };
        press("作成", {run["id"].toString(), "pw", "m", "p"});
        QCOMPARE(f->messages.described(), messages(run["message"]));
        QCOMPARE(seen, (run["message"].isArray() ? QVariantList{}
                                                 : QVariantList{false, false, true, "<Workbook/>"}));
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
    void masterChange_data() { addJsonCases("launcher.json", "masterPairs", "change"); }
    void masterChange()
    {
        QFETCH(QJsonValue, change);
        f->sql("UPDATE MST SET masterID = 'O''Neil'");
        f->sql("UPDATE 作成者 SET 住所 = '東京都' WHERE ID = 7");
        press("メンテ", {"7", "x", "O'Neil", "hanacare"});
        QCOMPARE(f->statements, (QStringList{"SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'",
                                             "SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1",
                                             "作成者 WHERE 削除日 IS NULL", "Setting", "Setting", "MST",
                                             "MST WHERE 削除日 IS NULL AND ID = 1"}));
        QCOMPARE(f->boxes(), QStringList(4));
        QVERIFY(!f->start->isVisible() && f->mente->isVisible());
        QVERIFY(control<QComboBox>(*f->mente, "作成者検索")
                    ->findText("         7　山田花子、ヤマダハナコ、東京都") > 0);

        QStringList signIn = texts(change["pair"]);
        control<QTabWidget>(*f->mente, "SSTab1")->setCurrentIndex(MaintenanceWindow::MasterPage);
        edit(*f->mente, "マスターID")->setText(signIn[0]);
        edit(*f->mente, "マスターパスワード")->setText(signIn[1]);
        QTest::mouseClick(button(*f->mente, "マスター変更"), Qt::LeftButton);
        QCOMPARE(f->messages.described(), messages(change["refusal"]));
        if (change["refusal"].isArray()) {
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
