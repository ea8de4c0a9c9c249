// SPDX-License-Identifier: MIT
#include "common/Controls.h"
#include "common/StartWindowFixture.h"

#include "maintenance/MaintenanceWindow.h"
#include "maintenance/MasterActions.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Icon = platform::MessageBoxes::Icon;

// The master sign-in on the start window: its messages and what each clears, the fills in their order,
// and the way back; and a master change that the next sign-in then needs.
class MaintenanceSignInTest : public QObject, private StartWindowFixture
{
    Q_OBJECT

private:
    void signIn(const QString& id, const QString& password)
    {
        type(QStringLiteral("7"), QStringLiteral("x"), id, password);
        QTest::mouseClick(start->メンテ(), Qt::LeftButton);
    }
    void verifyRefused(Icon icon, const QString& text)
    {
        expectMessage(icon, QStringLiteral("メンテナンス"), text);
        QVERIFY(start->isVisible());
        QVERIFY(!mente->isVisible());
        QVERIFY(!program->SharedRecordset->isOpen());
    }

private Q_SLOTS:
    void init()
    {
        makeInstallation();
        open();
    }
    void cleanup() { tearDown(); }

    void emptyBoxesDoNothing()
    {
        signIn(QString(), QStringLiteral("hanacare"));
        signIn(QStringLiteral("master"), QString());
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(statements.isEmpty());
        QVERIFY(start->isVisible());
    }

    // The query trims and quotes the typed ID; the comparison afterwards is exact.
    void idNotRegistered_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("unknown") << QStringLiteral("admin");
        QTest::newRow("letter case") << QStringLiteral("Master");
        QTest::newRow("trailing blank") << QStringLiteral("master ");
        QTest::newRow("injection") << QStringLiteral("' OR '1'='1");
    }
    void idNotRegistered()
    {
        QFETCH(QString, id);
        signIn(id, QStringLiteral("hanacare"));
        verifyRefused(Icon::Information, QStringLiteral("指定のマスターIDは登録されていません"));
        QCOMPARE(boxes(), (QStringList{QString(), QString(), QString(), QString()}));
    }

    void wrongPassword_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::newRow("letter case") << QStringLiteral("hanacare") << QStringLiteral("Hanacare");
        QTest::newRow("no stored password") << QString() << QStringLiteral("anything");
    }
    void wrongPassword()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        DatabaseInspector(install->installedDatabase())
            .value(stored.isNull() ? QStringLiteral("UPDATE MST SET password = NULL")
                                   : QStringLiteral("UPDATE MST SET password = 'hanacare'"));
        signIn(QStringLiteral("master"), typed);
        verifyRefused(Icon::Critical, QStringLiteral("指定のパスワードが違っています。"));
        QCOMPARE(boxes(), (QStringList{QString(), QString(), QStringLiteral("master"), QString()}));
    }

    void signInOpensTheMaintenanceWindow()
    {
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("UPDATE MST SET masterID = 'O''Neil'"));
        DatabaseInspector(install->installedDatabase())
            .value(QStringLiteral("INSERT INTO 作成者 (ID, 名前, ふりがな, 住所, password) VALUES (12, "
                                  "'山田花子', 'ヤマダハナコ', '東京都', 'pw')"));
        signIn(QStringLiteral("O'Neil"), QStringLiteral("hanacare"));

        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(statements.value(0),
                 QStringLiteral("SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='O''Neil'"));
        // The four fills, in their order: the creator list (with its Setting row), the search settings, the
        // period and stamp settings, the honorific settings.
        QCOMPARE(statements.mid(1),
                 (QStringList{QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =1"),
                              QStringLiteral("作成者 WHERE 削除日 IS NULL"), QStringLiteral("Setting"),
                              QStringLiteral("Setting"), QStringLiteral("MST"),
                              QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")}));
        QCOMPARE(boxes(), (QStringList{QString(), QString(), QString(), QString()}));
        QVERIFY(!start->isVisible());
        QVERIFY(mente->isVisible());
        QCOMPARE(control<QComboBox>(*mente, "作成者検索")->count(), 2);
        QCOMPARE(control<QComboBox>(*mente, "作成者検索")->itemText(1),
                 QStringLiteral("        12　山田花子、ヤマダハナコ、東京都"));

        // Back to the start window, with the focus in 作成者ID.
        QTest::mouseClick(button(*mente, "作成者終了"), Qt::LeftButton);
        QVERIFY(!mente->isVisible());
        QVERIFY(start->isVisible());
        QCOMPARE(start->focusWidget(), start->作成者ID());
    }

    // After a master change the old pair is refused and the new one opens the window.
    void masterChangeTakesEffect()
    {
        signIn(QStringLiteral("master"), QStringLiteral("hanacare"));
        QVERIFY(mente->isVisible());
        control<QTabWidget>(*mente, "SSTab1")->setCurrentIndex(MaintenanceWindow::MasterPage);
        edit(*mente, "マスターID")->setText(QStringLiteral("新マスター"));
        edit(*mente, "マスターパスワード")->setText(QStringLiteral("new pass"));
        QTest::mouseClick(button(*mente, "マスター変更"), Qt::LeftButton);
        QVERIFY(!mente->isVisible());
        QVERIFY(start->isVisible());

        signIn(QStringLiteral("master"), QStringLiteral("hanacare"));
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(!mente->isVisible());
        messages.shown.clear();
        signIn(QStringLiteral("新マスター"), QStringLiteral("new pass"));
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(mente->isVisible());
    }

    // A pair the start window could never match is refused by the master page; the old pair still signs in.
    void unusableMasterPairIsRefused_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::newRow("blank before the ID") << QStringLiteral(" boss") << QStringLiteral("pw");
        QTest::newRow("blank after the ID") << QStringLiteral("boss ") << QStringLiteral("pw");
        QTest::newRow("ID of blanks only") << QStringLiteral("   ") << QStringLiteral("pw");
    }
    void unusableMasterPairIsRefused()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        const QString before = DatabaseInspector(install->installedDatabase()).dump();
        signIn(QStringLiteral("master"), QStringLiteral("hanacare"));
        control<QTabWidget>(*mente, "SSTab1")->setCurrentIndex(MaintenanceWindow::MasterPage);
        edit(*mente, "マスターID")->setText(id);
        edit(*mente, "マスターパスワード")->setText(password);
        QTest::mouseClick(button(*mente, "マスター変更"), Qt::LeftButton);

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title, QStringLiteral("マスター"));
        QCOMPARE(messages.shown[0].text, MasterActions::unusablePairText());
        QCOMPARE(int(messages.shown[0].icon), int(Icon::Critical));
        QVERIFY(mente->isVisible());
        QCOMPARE(edit(*mente, "マスターID")->text(), id);
        QCOMPARE(DatabaseInspector(install->installedDatabase()).dump(), before);

        QTest::mouseClick(button(*mente, "マスター終了"), Qt::LeftButton);
        messages.shown.clear();
        signIn(QStringLiteral("master"), QStringLiteral("hanacare"));
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(mente->isVisible());
    }

    // The rule itself, with the lengths the master page's boxes would cut.
    void pairsTheStartWindowCanMatch()
    {
        QVERIFY(MasterActions::canSignInWith(QStringLiteral("山田 太郎"), QStringLiteral(" pw ")));
        QVERIFY(MasterActions::canSignInWith(QString(32, QLatin1Char('m')), QString(32, QChar(0x3042))));
        QVERIFY(!MasterActions::canSignInWith(QString(33, QLatin1Char('m')), QStringLiteral("pw")));
        QVERIFY(!MasterActions::canSignInWith(QStringLiteral("m"), QString(33, QLatin1Char('p'))));
        QVERIFY(!MasterActions::canSignInWith(QStringLiteral(" "), QStringLiteral("pw")));
    }
};

QTEST_MAIN(MaintenanceSignInTest)
#include "tst_maintenancesignin.moc"
