// SPDX-License-Identifier: MIT
#include "common/StartWindowFixture.h"

#include "RuntimeError.h"
#include "launcher/SignIn.h"
#include "launcher/StartWindow.h"
#include "launcher/WorkbookRun.h"
#include "platform/FileSystem.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Icon = platform::MessageBoxes::Icon;

// The creator sign-in on the start window, with the database files of the test's own installation and a
// scripted shell in place of the spreadsheet.
class CreatorSignInTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private:
    QString workbook() const { return install->programFolder() + QStringLiteral("/Hanaplan.xls"); }
    QString workingCopy() const { return install->allUsersProfile() + QStringLiteral("/作業シート.xls"); }

    void signIn(const QString& id, const QString& password, const QString& masterId = QStringLiteral("m"),
                const QString& masterPassword = QStringLiteral("p"))
    {
        type(id, password, masterId, masterPassword);
        QTest::mouseClick(start->作成(), Qt::LeftButton);
    }
    QList<QVariantList> temp() const
    {
        return DatabaseInspector(install->installedDatabase()).rows(QStringLiteral("SELECT ID FROM temp"));
    }

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        QFile book(workbook());
        QVERIFY(book.open(QIODevice::WriteOnly));
        book.write("<?xml version=\"1.0\"?><Workbook/>");
        book.close();
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("INSERT INTO 作成者 (ID, 名前, ふりがな, password, 削除日) VALUES "
                                  "(7, '山田花子', 'ヤマダハナコ', 'Secret', NULL), (8, '削除済', "
                                  "'サクジョズミ', 'pw', '2026-01-01 00:00:00'), "
                                  "(9, '鍵なし', 'カギナシ', NULL, NULL)"));
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("INSERT INTO temp (ID) VALUES (3), (4)"));

        open();
    }
    void cleanup() { tearDown(); }

    void emptyBoxesDoNothing_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::newRow("no ID") << QString() << QStringLiteral("Secret");
        QTest::newRow("no password") << QStringLiteral("7") << QString();
    }
    void emptyBoxesDoNothing()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        signIn(id, password);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(start->isVisible());
        QCOMPARE(boxes(), (QStringList{id, password, QStringLiteral("m"), QStringLiteral("p")}));
        QVERIFY(statements.isEmpty());
    }

    // Anything but a whole number in decimal digits is not a registered ID; no query is sent for it.
    void idThatIsNoNumber_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("decimal point") << QStringLiteral("7.0");
        QTest::newRow("thousands separator") << QStringLiteral("1,000");
        QTest::newRow("sign") << QStringLiteral("+7");
        QTest::newRow("hexadecimal") << QStringLiteral("&H7");
        QTest::newRow("full-width digit") << QStringLiteral("７");
        QTest::newRow("SQL") << QStringLiteral("7 OR 1=1");
        QTest::newRow("quote") << QStringLiteral("7'");
        QTest::newRow("inner blank") << QStringLiteral("7 7");
    }
    void idThatIsNoNumber()
    {
        QFETCH(QString, id);
        signIn(id, QStringLiteral("Secret"));
        expectMessage(Icon::Information, QStringLiteral("計画書作成"),
                      QStringLiteral("指定の作成者IDは登録されていません"));
        QVERIFY(statements.isEmpty());
        QCOMPARE(boxes(), (QStringList{QString(), QString(), QString(), QString()}));
        QVERIFY(start->isVisible());
        QCOMPARE(temp().size(), 2);
    }

    void unknownOrDeletedCreator_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("unknown") << QStringLiteral("70");
        QTest::newRow("deleted") << QStringLiteral("8");
        QTest::newRow("beyond any whole number") << QStringLiteral("99999999999999999999999");
    }
    void unknownOrDeletedCreator()
    {
        QFETCH(QString, id);
        signIn(id, QStringLiteral("pw"));
        expectMessage(Icon::Information, QStringLiteral("計画書作成"),
                      QStringLiteral("指定の作成者IDは登録されていません"));
        QCOMPARE(statements,
                 QStringList{QStringLiteral("SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=") + id});
        QCOMPARE(boxes(), (QStringList{QString(), QString(), QString(), QString()}));
        QVERIFY(!program->SharedRecordset->isOpen());
        QVERIFY(start->isVisible());
    }

    void wrongPassword_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::newRow("letter case") << QStringLiteral("7") << QStringLiteral("secret");
        QTest::newRow("trailing blank") << QStringLiteral("7") << QStringLiteral("Secret ");
        QTest::newRow("creator without password") << QStringLiteral("9") << QStringLiteral("anything");
    }
    void wrongPassword()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        signIn(id, password);
        expectMessage(Icon::Critical, QStringLiteral("計画書作成"),
                      QStringLiteral("指定のパスワードが違っています。"));
        QCOMPARE(boxes(), (QStringList{id, QString(), QString(), QString()}));
        QCOMPARE(temp().size(), 2);
        QVERIFY(shell->opened.isEmpty());
        QVERIFY(start->isVisible());
    }

    void signInRunsTheWorkbook_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("7") << QStringLiteral("7");
        QTest::newRow("blanks and leading zeros") << QStringLiteral("  007 ");
    }
    void signInRunsTheWorkbook()
    {
        QFETCH(QString, id);
        // A copy left over from an earlier run, read-only, hidden and system, is replaced.
        QFile stale(workingCopy());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("stale");
        stale.close();
        platform::setFileAttributes(workingCopy(), 7);

        bool visibleDuringRun = true;
        shell->spreadsheet = [&] {
            visibleDuringRun = start->isVisible();
            QFile saved(workingCopy()); // what the spreadsheet saves into its copy is thrown away
            saved.open(QIODevice::WriteOnly | QIODevice::Append);
            saved.write("edited");
        };
        signIn(id, QStringLiteral("Secret"));

        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(shell->opened, QStringList{QDir::toNativeSeparators(workingCopy())});
        QCOMPARE(shell->waits, 1);
        QVERIFY(!shell->databaseOpenWhileRunning);
        QVERIFY(!visibleDuringRun);
        QCOMPARE(shell->copyContent, QByteArray("<?xml version=\"1.0\"?><Workbook/>"));
        QVERIFY(shell->copyAttributes == 6 || shell->copyAttributes == 0); // hidden and system are advisory
        QCOMPARE(temp(), (QList<QVariantList>{{7}}));

        QVERIFY(!QFile::exists(workingCopy()));
        QCOMPARE(program->WorkbookCopyPath, install->allUsersProfile() + QStringLiteral("\\作業シート.xls"));
        QCOMPARE(program->WorkbookSourcePath, install->programFolder() + QStringLiteral("\\Hanaplan.xls"));
        QVERIFY(platform::fileAttributes(workbook()) & platform::FileAttribute::ReadOnly);
        QVERIFY(program->DbConnection && program->DbConnection->isOpen());
        QVERIFY(start->isVisible());
        QCOMPARE(boxes(), (QStringList{QString(), QString(), QString(), QString()}));
        QCOMPARE(start->focusWidget(), start->作成者ID());
    }

    void shellFailure_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << QStringLiteral("メモリまたはリソースが足りません。");
        QTest::newRow("2") << 2 << QStringLiteral("ファイルが見つかりません。");
        QTest::newRow("3") << 3 << QStringLiteral("パスが見つかりません。");
        QTest::newRow("5") << 5 << QStringLiteral("アクセスは拒否されました。");
        QTest::newRow("11") << 11 << QStringLiteral("不正な形式の実行ファイルです。");
        QTest::newRow("27") << 27 << QStringLiteral("関連付けが不完全です。");
        QTest::newRow("31") << 31 << QStringLiteral("関連付けが指定されていません。");
        QTest::newRow("32") << 32 << QStringLiteral("ファイルを開けません。");
    }
    void shellFailure()
    {
        QFETCH(int, result);
        QFETCH(QString, text);
        shell->result = result;
        signIn(QStringLiteral("7"), QStringLiteral("Secret"));
        expectMessage(Icon::Critical, QStringLiteral("EXCELチェック"), text);
        QCOMPARE(shell->waits, 0);
        QVERIFY(!QFile::exists(workingCopy()));
        QVERIFY(program->DbConnection->isOpen());
        QVERIFY(start->isVisible());
        QCOMPARE(temp(), (QList<QVariantList>{{7}}));
    }

    // A missing installed workbook is an unguarded failure: the run-time error report ends the program.
    void missingWorkbook()
    {
        QFile::remove(workbook());
        start->作成者ID()->setText(QStringLiteral("7"));
        start->作成者パスワード()->setText(QStringLiteral("Secret"));
        // The handler itself: a failure is caught only by the application's notify(), which this test has
        // not.
        HANAPLAN_VERIFY_RUNTIME_ERROR(start->on作成Clicked(), ErrorNumber::FileNotFound);
    }
};

QTEST_MAIN(CreatorSignInTest)
#include "tst_creatorsignin.moc"
