// SPDX-License-Identifier: MIT
#include "common/Controls.h"

#include "SettingsPageFixture.h"

#include "maintenance/HonorificSettings.h"

#include <QApplication>
#include <QDateTime>
#include <QPushButton>
#include <QRadioButton>

// The 敬称・罫線 page: MST.compellation and MST.ruling, and what its save does to the master page.
class HonorificSettingsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fillSelectsTheStoredChoices()
    {
        SettingsPageFixture f({QStringLiteral("UPDATE MST SET compellation = 1, ruling = 0")});
        QVERIFY(option(*f.window, "Option敬称", 0)->isChecked());
        ShowHonorificSettings(*f.program, *f.window);
        QCOMPARE(f.statements, QStringList{QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1")});
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QVERIFY(option(*f.window, "Option敬称", 1)->isChecked());
        QVERIFY(option(*f.window, "Option罫線", 0)->isChecked());
        QCOMPARE(f.program->HonorificSetting, qint16(1));
        QCOMPARE(f.program->RuledLineSetting, qint16(0));

        f.run(QStringLiteral("UPDATE MST SET compellation = 0, ruling = 1"));
        ShowHonorificSettings(*f.program, *f.window);
        QVERIFY(option(*f.window, "Option敬称", 0)->isChecked());
        QVERIFY(option(*f.window, "Option罫線", 1)->isChecked());
        QCOMPARE(f.program->RuledLineSetting, qint16(1));
    }

    void saveWritesAndClearsTheMasterPage()
    {
        SettingsPageFixture f({QStringLiteral("UPDATE MST SET compellation = 1, ruling = 0")});
        HonorificActions actions(*f.program, *f.window);
        ShowHonorificSettings(*f.program, *f.window);
        edit(*f.window, "マスターID")->setText(QStringLiteral("typed"));
        edit(*f.window, "マスターパスワード")->setText(QStringLiteral("secret"));
        f.showPage(MaintenanceWindow::MasterPage);
        QTest::keyClick(edit(*f.window, "マスターパスワード"), Qt::Key_F9, Qt::ShiftModifier);
        QVERIFY(!f.masked(edit(*f.window, "マスターパスワード")));
        edit(*f.window, "パスワード")->setEchoMode(QLineEdit::Normal);

        control<QTabWidget>(*f.window, "SSTab1")->setCurrentIndex(MaintenanceWindow::HonorificPage);
        option(*f.window, "Option敬称", 0)->click();
        option(*f.window, "Option罫線", 1)->click();
        const QString started = values::now();
        button(*f.window, "敬称設定変更")->click();

        const QVariantList row =
            f.rows(QStringLiteral("SELECT compellation, ruling, typeof(ruling), 更新日, masterID, "
                                  "password FROM MST"))
                .value(0);
        QCOMPARE(row.mid(0, 3), (QVariantList{0, 1, "integer"}));
        QVERIFY2(row.at(3).toString() >= started, qPrintable(row.at(3).toString()));
        QCOMPARE(row.mid(4), (QVariantList{"master", "hanacare"}));
        QVERIFY(!f.program->SharedRecordset->isOpen());
        QCOMPARE(edit(*f.window, "マスターID")->text(), QString());
        QCOMPARE(edit(*f.window, "マスターパスワード")->text(), QString());
        QVERIFY(f.masked(edit(*f.window, "マスターパスワード")));
        QVERIFY(f.masked(edit(*f.window, "パスワード")));
        // The program-wide copies keep the last fill; the window stays.
        QCOMPARE(f.program->HonorificSetting, qint16(1));
        QCOMPARE(f.program->RuledLineSetting, qint16(0));
        QVERIFY(f.window->isVisible());
        QVERIFY(f.messages.shown.isEmpty());
    }

    void valuesThePageCannotShow_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("error");
        QTest::newRow("honorific 2") << QStringLiteral("UPDATE MST SET compellation = 2")
                                     << ErrorNumber::NoControlArrayElement;
        QTest::newRow("ruling -1") << QStringLiteral("UPDATE MST SET ruling = -1")
                                   << ErrorNumber::NoControlArrayElement;
        QTest::newRow("null ruling") << QStringLiteral("UPDATE MST SET ruling = NULL")
                                     << ErrorNumber::InvalidUseOfNull;
        QTest::newRow("no live row") << QStringLiteral("UPDATE MST SET 削除日 = '2026-12-02'")
                                     << ErrorNumber::NoCurrentRecord;
    }
    void valuesThePageCannotShow()
    {
        QFETCH(QString, change);
        QFETCH(int, error);
        SettingsPageFixture f({change});
        HANAPLAN_VERIFY_RUNTIME_ERROR(ShowHonorificSettings(*f.program, *f.window), error);
    }

    void saveWithoutALiveRowWritesNothing()
    {
        SettingsPageFixture f({QStringLiteral("UPDATE MST SET 削除日 = '2026-12-02'")});
        edit(*f.window, "マスターID")->setText(QStringLiteral("typed"));
        const QString before = f.dump();
        HANAPLAN_VERIFY_RUNTIME_ERROR(HonorificActions(*f.program, *f.window).on敬称設定変更Clicked(),
                                      ErrorNumber::NoCurrentRecord);
        QCOMPARE(f.dump(), before);
        QCOMPARE(edit(*f.window, "マスターID")->text(), QStringLiteral("typed"));
    }
};

QTEST_MAIN(HonorificSettingsTest)
#include "tst_honorificsettings.moc"
