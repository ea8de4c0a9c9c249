// SPDX-License-Identifier: MIT
#include "common/Controls.h"

#include "SettingsPageFixture.h"

#include "maintenance/MasterActions.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

namespace {

// Notes whether the creator page was locked while each message was shown.
class LockWatchingRecorder : public MessageRecorder
{
public:
    const MaintenanceWindow* window = nullptr;
    QList<bool> lockedWhileShown;

    Answer show(const Message& message) override
    {
        lockedWhileShown.append(!control<QComboBox>(*window, "作成者検索")->isEnabled() &&
                                !button(*window, "作成者終了")->isEnabled());
        return MessageRecorder::show(message);
    }
};

} // namespace

// The マスター page: replacing the master account.
class MasterActionsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The pair is stored exactly as typed, whatever it holds; with either box empty it is refused and
    // nothing changes.
    void change_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << QStringLiteral("Boss") << QStringLiteral("Pass1");
        QTest::newRow("quotes and SQL")
            << QStringLiteral("a' OR '1'='1") << QStringLiteral("x\"; DROP TABLE MST; --");
        QTest::newRow("blanks inside the ID, around the password")
            << QStringLiteral("a  b") << QStringLiteral(" ");
        QTest::newRow("full-width and emoji")
            << QStringLiteral("管理者ＩＤ😀") << QStringLiteral("パスワード１２３");
        QTest::newRow("longest password") << QStringLiteral("m") << QString(32, QChar(0x3042));
        QTest::newRow("refused: only the ID") << QStringLiteral("newmaster") << QString();
        QTest::newRow("refused: only the password") << QString() << QStringLiteral("pw");
        QTest::newRow("refused: neither") << QString() << QString();
    }
    void change()
    {
        QFETCH(QString, id);
        QFETCH(QString, password);
        const bool refused = id.isEmpty() || password.isEmpty();
        SettingsPageFixture f;
        LockWatchingRecorder recorder;
        recorder.window = f.window.get();
        f.program->messageBoxes = &recorder;
        MasterActions actions(*f.program, *f.window);
        QSignalSpy back(f.window.get(), &MaintenanceWindow::returnedToStart);
        f.showPage(MaintenanceWindow::MasterPage);
        edit(*f.window, "マスターID")->setText(id);
        edit(*f.window, "マスターパスワード")->setText(password);
        QTest::keyClick(edit(*f.window, "マスターパスワード"), Qt::Key_F9, Qt::ShiftModifier);
        edit(*f.window, "パスワード")->setEchoMode(QLineEdit::Normal);
        const QString before = f.dump();
        const QString started = values::now();

        button(*f.window, "マスター変更")->click();

        QVERIFY(control<QComboBox>(*f.window, "作成者検索")->isEnabled() &&
                button(*f.window, "検索開始")->isEnabled() && button(*f.window, "作成者登録")->isEnabled() &&
                button(*f.window, "作成者終了")->isEnabled());
        if (refused) {
            QCOMPARE(recorder.shown.size(), 1);
            const platform::MessageBoxes::Message& m = recorder.shown.first();
            QCOMPARE(m.text, QStringLiteral("マスターID、マスターパスワードを正しく設定して下さい"));
            QCOMPARE(m.title, QStringLiteral("マスター"));
            QCOMPARE(m.icon, platform::MessageBoxes::Icon::Critical);
            QCOMPARE(m.buttons, platform::MessageBoxes::Buttons::Ok);
            QCOMPARE(recorder.lockedWhileShown, QList<bool>{true});
            QCOMPARE(f.dump(), before);
            QVERIFY(f.statements.isEmpty());
            QCOMPARE(edit(*f.window, "マスターID")->text(), id);
            QCOMPARE(edit(*f.window, "マスターパスワード")->text(), password);
            QVERIFY(!f.masked(edit(*f.window, "マスターパスワード")));
            QVERIFY(f.window->isVisible());
            QCOMPARE(back.size(), 0);
            QCOMPARE(QApplication::focusWidget(), button(*f.window, "マスター終了"));
            return;
        }
        QCOMPARE(f.statements, QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        const QVariantList row =
            f.rows(QStringLiteral("SELECT masterID, password, 更新日 FROM MST")).value(0);
        QCOMPARE(row.mid(0, 2), (QVariantList{id, password}));
        QVERIFY(row.at(2).toString() >= started);
        QVERIFY(recorder.shown.isEmpty());
        QCOMPARE(edit(*f.window, "マスターID")->text(), QString());
        QCOMPARE(edit(*f.window, "マスターパスワード")->text(), QString());
        QVERIFY(f.masked(edit(*f.window, "マスターパスワード")));
        QVERIFY(f.masked(edit(*f.window, "パスワード")));
        QVERIFY(!f.window->isVisible());
        QCOMPARE(back.size(), 1);
        QCOMPARE(back.first().value(0), QVariant(false));
    }

    void noLiveMasterRow()
    {
        SettingsPageFixture f({QStringLiteral("UPDATE MST SET 削除日 = '2026-12-02'")});
        edit(*f.window, "マスターID")->setText(QStringLiteral("x"));
        edit(*f.window, "マスターパスワード")->setText(QStringLiteral("y"));
        const QString before = f.dump();
        HANAPLAN_VERIFY_RUNTIME_ERROR(MasterActions(*f.program, *f.window).onマスター変更Clicked(),
                                      ErrorNumber::NoCurrentRecord);
        QCOMPARE(f.dump(), before);
    }
};

QTEST_MAIN(MasterActionsTest)
#include "tst_masteractions.moc"
