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
        type(typed);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void masterSignIn(const QString& id, const QString& password)
    {
        messages.shown.clear();
        press(start->メンテ(), {QString(), QString(), id, password});
    }
    QList<QVariantList> temp() const
    {
        return DatabaseInspector(install->installedDatabase()).rows(QStringLiteral("SELECT ID FROM temp"));
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
        QFile file(QStringLiteral(HANAPLAN_SOURCE_DIR "/tests/data/launcher/signin-refusals.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (const QJsonValue& refusal : QJsonDocument::fromJson(file.readAll()).array())
            QTest::newRow(qPrintable(refusal[QStringLiteral("case")].toString())) << refusal.toObject();
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
        if (refusal.contains(QStringLiteral("setUp")))
            sql(refusal[QStringLiteral("setUp")].toString());

        const bool master = refusal[QStringLiteral("press")].toString() == QStringLiteral("メンテ");
        press(master ? start->メンテ() : start->作成(), texts("typed"));
        const QStringList message = texts("message");
        if (message.isEmpty())
            QVERIFY(messages.shown.isEmpty());
        else
            expectMessage(message[0] == QStringLiteral("critical") ? Icon::Critical : Icon::Information,
                          message[1], message[2]);
        QCOMPARE(statements, texts("statements"));
        QCOMPARE(boxes(), texts("left"));
        QVERIFY(start->isVisible());
        QVERIFY(!mente->isVisible());
        QVERIFY(!program->SharedRecordset->isOpen());
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
        QTest::newRow("7") << QStringLiteral("7") << platform::Shell::Opened << QString();
        QTest::newRow("blanks and leading zeros") << QStringLiteral("  007 ") << 33 << QString();
        const std::pair<int, const char*> failures[] = {{0, "メモリまたはリソースが足りません。"},
                                                        {2, "ファイルが見つかりません。"},
                                                        {3, "パスが見つかりません。"},
                                                        {5, "アクセスは拒否されました。"},
                                                        {11, "不正な形式の実行ファイルです。"},
                                                        {27, "関連付けが不完全です。"},
                                                        {31, "関連付けが指定されていません。"},
                                                        {32, "ファイルを開けません。"}};
        for (const auto& [result, text] : failures)
            QTest::addRow("shell result %d", result)
                << QStringLiteral("7") << result << QString::fromUtf8(text);
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
        int attributes = -1;
        QByteArray content;
        shell->spreadsheet = [&] {
            visible = start->isVisible();
            databaseOpen = program->DbConnection && program->DbConnection->isOpen();
            attributes = platform::fileAttributes(workingCopy());
            QFile copy(workingCopy()); // what the spreadsheet saves into its copy is thrown away
            QVERIFY(copy.open(QIODevice::ReadWrite));
            content = copy.readAll();
            copy.write("edited");
        };
        press(start->作成(), {id, QStringLiteral("pw"), QStringLiteral("m"), QStringLiteral("p")});

        if (message.isEmpty()) {
            QVERIFY(messages.shown.isEmpty());
            QCOMPARE(shell->waits, 1);
            QVERIFY(!visible);
            QVERIFY(!databaseOpen);
            QCOMPARE(content, workbookContent);
            QVERIFY(attributes == 6 || attributes == 0); // hidden and system are advisory
        } else {
            expectMessage(Icon::Critical, QStringLiteral("EXCELチェック"), message);
            QCOMPARE(shell->waits, 0);
        }
        QCOMPARE(shell->opened, QStringList{workingCopy()});
        QCOMPARE(temp(), (QList<QVariantList>{{7}}));
        QVERIFY(!QFile::exists(workingCopy()));
        QCOMPARE(program->WorkbookCopyPath, install->allUsersProfile() + QStringLiteral("\\作業シート.xls"));
        QCOMPARE(program->WorkbookSourcePath, install->programFolder() + QStringLiteral("\\Hanaplan.xls"));
        QVERIFY(platform::fileAttributes(workbook()) & platform::FileAttribute::ReadOnly);
        QVERIFY(program->DbConnection && program->DbConnection->isOpen());
        QVERIFY(start->isVisible());
        QCOMPARE(boxes(), QStringList(4));
        QCOMPARE(start->focusWidget(), start->作成者ID());
    }

    // A missing installed workbook is an unguarded failure, which the run-time error report ends the
    // program with (the handler is called directly: only the application's notify() catches it).
    void missingWorkbook()
    {
        QFile::remove(workbook());
        type({QStringLiteral("7"), QStringLiteral("pw")});
        HANAPLAN_VERIFY_RUNTIME_ERROR(start->on作成Clicked(), ErrorNumber::FileNotFound);
    }

    void masterOpensTheMaintenanceWindow()
    {
        sql(QStringLiteral("UPDATE MST SET masterID = 'O''Neil'"));
        sql(QStringLiteral("UPDATE 作成者 SET 住所 = '東京都' WHERE ID = 7"));
        press(start->メンテ(), {QStringLiteral("7"), QStringLiteral("x"), QStringLiteral("O'Neil"),
                                QStringLiteral("hanacare")});

        QVERIFY(messages.shown.isEmpty());
        // The look-up, then the four fills in their order: the creator list (with its Setting row), the
        // search settings, the period and stamp settings, the honorific settings.
        QCOMPARE(statements,
                 (QStringList{QStringLiteral("SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'"),
                              QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1"),
                              QStringLiteral("作成者 WHERE 削除日 IS NULL"), QStringLiteral("Setting"),
                              QStringLiteral("Setting"), QStringLiteral("MST"),
                              QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")}));
        QCOMPARE(boxes(), QStringList(4));
        QVERIFY(!start->isVisible());
        QVERIFY(mente->isVisible());
        QVERIFY(control<QComboBox>(*mente, "作成者検索")
                    ->findText(QStringLiteral("         7　山田花子、ヤマダハナコ、東京都")) > 0);

        // Back to the start window, with the focus in 作成者ID.
        QTest::mouseClick(button(*mente, "作成者終了"), Qt::LeftButton);
        QVERIFY(!mente->isVisible());
        QVERIFY(start->isVisible());
        QCOMPARE(start->focusWidget(), start->作成者ID());
    }

    // A new master pair takes effect at the next sign-in. One the start window could never match is
    // refused by the master page, and the old pair still signs in.
    void masterChange_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("refused");
        QTest::newRow("new pair") << QStringLiteral("新 マスター") << QStringLiteral(" new pass ") << false;
        QTest::newRow("longest pair") << QString(32, QLatin1Char('m')) << QString(32, QChar(0x3042)) << false;
        QTest::newRow("blank before the ID") << QStringLiteral(" boss") << QStringLiteral("pw") << true;
        QTest::newRow("blank after the ID") << QStringLiteral("boss ") << QStringLiteral("pw") << true;
        QTest::newRow("ID of blanks only") << QStringLiteral("   ") << QStringLiteral("pw") << true;
    }
    void masterChange()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        QFETCH(bool, refused);
        const QString before = DatabaseInspector(install->installedDatabase()).dump();
        masterSignIn(QStringLiteral("master"), QStringLiteral("hanacare"));
        control<QTabWidget>(*mente, "SSTab1")->setCurrentIndex(MaintenanceWindow::MasterPage);
        edit(*mente, "マスターID")->setText(id);
        edit(*mente, "マスターパスワード")->setText(password);
        QTest::mouseClick(button(*mente, "マスター変更"), Qt::LeftButton);

        if (refused) {
            expectMessage(Icon::Critical, QStringLiteral("マスター"),
                          QStringLiteral("マスターIDは前後に空白を付けず、マスターID、マスターパスワードとも"
                                         "32文字以内で設定して下さい。"));
            QVERIFY(mente->isVisible());
            QCOMPARE(DatabaseInspector(install->installedDatabase()).dump(), before);
            QTest::mouseClick(button(*mente, "マスター終了"), Qt::LeftButton);
            id = QStringLiteral("master"); // the old pair still signs in
            password = QStringLiteral("hanacare");
        } else {
            QVERIFY(!mente->isVisible());
            QVERIFY(start->isVisible());
            masterSignIn(QStringLiteral("master"), QStringLiteral("hanacare"));
            QCOMPARE(messages.shown.size(), 1);
        }
        masterSignIn(id, password);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(mente->isVisible());
        // Longer texts than the boxes take could never be typed at the start window either.
        QVERIFY(!MasterActions::canSignInWith(QString(33, QLatin1Char('m')), QStringLiteral("pw")));
        QVERIFY(!MasterActions::canSignInWith(QStringLiteral("m"), QString(33, QLatin1Char('p'))));
    }
};

QTEST_MAIN(SignInTest)
#include "tst_signin.moc"
