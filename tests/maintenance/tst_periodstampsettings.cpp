// SPDX-License-Identifier: MIT
#include "common/Controls.h"

#include "SettingsPageFixture.h"

#include "maintenance/PeriodStampSettings.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The method line k shows: 0 期間と範囲, 1 期間のみ, 2 範囲のみ.
int method(const MaintenanceWindow& w, int k)
{
    return option(w, "期間のみ", k)->isChecked()     ? 1
           : option(w, "範囲のみ", k)->isChecked()   ? 2
           : option(w, "期間と範囲", k)->isChecked() ? 0
                                                     : -1;
}

} // namespace

// The 期間・押印 page: period input methods of Setting rows 8, 9 and 12 and the stamp sentence of MST.
class PeriodStampSettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillAndSaveRoundTrip()
    {
        SettingsPageFixture f({QStringLiteral("UPDATE Setting SET Set2 = 1 WHERE ID = 8"),
                               QStringLiteral("UPDATE Setting SET Set2 = 5 WHERE ID = 9"),
                               QStringLiteral("UPDATE Setting SET Set2 = NULL WHERE ID = 12"),
                               QStringLiteral("UPDATE Setting SET Set2 = 2 WHERE ID = 13"),
                               QStringLiteral("UPDATE MST SET stamp = 1, stampcont = 'It''s 説明'")});
        option(*f.window, "範囲のみ", 1)->setChecked(true);
        ShowPeriodStampSettings(*f.program, *f.window);
        QCOMPARE(f.statements, (QStringList{QStringLiteral("Setting"), QStringLiteral("MST")}));
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE((QList<int>{method(*f.window, 0), method(*f.window, 1), method(*f.window, 2)}),
                 (QList<int>{1, 0, 0}));
        QVERIFY(option(*f.window, "説明文表示あり")->isChecked());
        QCOMPARE(edit(*f.window, "表示文")->text(), QStringLiteral("It's 説明"));

        const QString before = f.dump();
        option(*f.window, "範囲のみ", 2)->setChecked(true);
        PeriodStampActions actions(*f.program, *f.window);
        f.statements.clear();
        button(*f.window, "期間設定変更")->click();
        QCOMPARE(f.statements, (QStringList{QStringLiteral("Setting"), QStringLiteral("MST")}));
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(
            f.rows(QStringLiteral(
                "SELECT ID, Set2, typeof(Set2), 更新日 FROM Setting WHERE ID IN (8, 9, 12, 13) ORDER BY ID")),
            (QList<QVariantList>{{8, 1, "integer", SeedStamp},
                                 {9, 0, "integer", SeedStamp},
                                 {12, 2, "integer", SeedStamp},
                                 {13, 2, "integer", SeedStamp}}));
        QCOMPARE(f.rows(QStringLiteral("SELECT stamp, stampcont, 更新日 FROM MST")),
                 (QList<QVariantList>{{1, QStringLiteral("It's 説明"), SeedStamp}}));
        // Nothing else in the file moved.
        f.run(QStringLiteral("UPDATE Setting SET Set2 = 5 WHERE ID = 9"));
        f.run(QStringLiteral("UPDATE Setting SET Set2 = NULL WHERE ID = 12"));
        QCOMPARE(f.dump(), before);
        QVERIFY(f.messages.shown.isEmpty());
        QCOMPARE(label(*f.window, "Label25")->text(),
                 QStringLiteral(" 説明を受け、同意し、交付を受けました。"));
    }

    void stampSentence_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stamp");
        QTest::addColumn<QVariant>("stampcont");
        const QVariant seed = QStringLiteral("説明を受け、同意し、交付を受けました。");
        for (const QString& text :
             {QStringLiteral("O'Neil ' OR 1=1; --"), QStringLiteral("絵文字😀と全角ＡＢＣ"),
              QStringLiteral("   "), QStringLiteral(" 前後に空白 ")})
            QTest::newRow(qPrintable(QStringLiteral("あり ") + text)) << true << text << 1 << QVariant(text);
        QTest::newRow("あり with an empty box: null") << true << QString() << 1 << QVariant();
        QTest::newRow("なし keeps the sentence") << false << QStringLiteral("typed, not saved") << 0 << seed;
    }
    void stampSentence()
    {
        QFETCH(bool, shown);
        QFETCH(QString, typed);
        QFETCH(int, stamp);
        QFETCH(QVariant, stampcont);
        SettingsPageFixture f({QStringLiteral("UPDATE MST SET stamp = 2")});
        ShowPeriodStampSettings(*f.program, *f.window);
        QVERIFY(option(*f.window, "説明文表示なし")->isChecked());
        (shown ? option(*f.window, "説明文表示あり") : option(*f.window, "説明文表示なし"))->setChecked(true);
        edit(*f.window, "表示文")->setText(typed);
        PeriodStampActions(*f.program, *f.window).on期間設定変更Clicked();
        QCOMPARE(f.rows(QStringLiteral("SELECT stamp, stampcont FROM MST")),
                 (QList<QVariantList>{{stamp, stampcont}}));

        // The next visit shows what was stored.
        edit(*f.window, "表示文")->setText(QStringLiteral("left over"));
        ShowPeriodStampSettings(*f.program, *f.window);
        QCOMPARE(option(*f.window, "説明文表示あり")->isChecked(), shown);
        QCOMPARE(edit(*f.window, "表示文")->text(), stampcont.toString());
    }

    void tablesThePageCannotUse()
    {
        {
            // Empty Setting: the fill keeps the lines; the save writes nothing, MST neither.
            SettingsPageFixture f({QStringLiteral("DELETE FROM Setting")});
            option(*f.window, "期間のみ", 0)->setChecked(true);
            ShowPeriodStampSettings(*f.program, *f.window);
            QCOMPARE(method(*f.window, 0), 1);
            option(*f.window, "説明文表示あり")->setChecked(true);
            const QString before = f.dump();
            HANAPLAN_VERIFY_RUNTIME_ERROR(PeriodStampActions(*f.program, *f.window).on期間設定変更Clicked(),
                                          ErrorNumber::NoCurrentRecord);
            QVERIFY(!f.program->SharedRecordset->isOpen());
            QCOMPARE(f.dump(), before);
        }
        {
            SettingsPageFixture f({QStringLiteral("DELETE FROM Setting WHERE ID = 9")});
            HANAPLAN_VERIFY_RUNTIME_ERROR(ShowPeriodStampSettings(*f.program, *f.window),
                                          ErrorNumber::NoCurrentRecord);
            f.program->SharedRecordset->discard();
            HANAPLAN_VERIFY_RUNTIME_ERROR(PeriodStampActions(*f.program, *f.window).on期間設定変更Clicked(),
                                          ErrorNumber::NoCurrentRecord);
        }
        {
            // MST without rows: the MST half fails, and the Setting half is taken back with it.
            SettingsPageFixture f({QStringLiteral("DELETE FROM MST")});
            HANAPLAN_VERIFY_RUNTIME_ERROR(ShowPeriodStampSettings(*f.program, *f.window),
                                          ErrorNumber::NoCurrentRecord);
            f.program->SharedRecordset->discard();
            option(*f.window, "範囲のみ", 0)->setChecked(true);
            const QString before = f.dump();
            HANAPLAN_VERIFY_RUNTIME_ERROR(PeriodStampActions(*f.program, *f.window).on期間設定変更Clicked(),
                                          ErrorNumber::NoCurrentRecord);
            QCOMPARE(f.dump(), before);
        }
        {
            // The engine refuses the MST row after the three Setting rows were written: none is kept.
            SettingsPageFixture f({QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON MST "
                                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END")});
            ShowPeriodStampSettings(*f.program, *f.window);
            for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k)
                option(*f.window, "範囲のみ", k)->setChecked(true);
            option(*f.window, "説明文表示あり")->setChecked(true);
            const QString before = f.dump();
            QVERIFY_THROWS_EXCEPTION(RuntimeError,
                                     PeriodStampActions(*f.program, *f.window).on期間設定変更Clicked());
            QCOMPARE(f.dump(), before);
        }
    }
};

QTEST_MAIN(PeriodStampSettingsTest)
#include "tst_periodstampsettings.moc"
