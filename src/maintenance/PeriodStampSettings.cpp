// SPDX-License-Identifier: MIT
#include "maintenance/PeriodStampSettings.h"

#include "database/Transaction.h"
#include "database/Values.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/StoredValues.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The filter texts of the Setting rows of the three lines, in line order.
const QString PeriodRowFilters[MaintenanceWindow::PeriodLines] = {
    QStringLiteral("ID = 8"), QStringLiteral("ID = 9"), QStringLiteral("ID = 12")};

} // namespace

void ShowPeriodStampSettings(MaintenanceProgram& main, MaintenanceWindow& window)
{
    SharedRecordset& rs = *main.SharedRecordset;
    rs.open(QStringLiteral("Setting"), *main.DbConnection);
    if (!rs.eof()) {
        for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k) {
            rs.setFilter(PeriodRowFilters[k]);
            const QVariant method = rs.field(QStringLiteral("Set2"));
            if (storedvalues::equals(method, 1))
                window.期間のみ(k)->setChecked(true);
            else if (storedvalues::equals(method, 2))
                window.範囲のみ(k)->setChecked(true);
            else // 0, any other number, null
                window.期間と範囲(k)->setChecked(true);
        }
    }
    rs.release();

    rs.open(QStringLiteral("MST"), *main.DbConnection);
    if (storedvalues::equals(rs.field(QStringLiteral("stamp")), 1))
        window.説明文表示あり()->setChecked(true);
    else
        window.説明文表示なし()->setChecked(true);
    window.表示文()->setText(values::textOrEmpty(rs.field(QStringLiteral("stampcont"))));
    rs.release();
}

PeriodStampActions::PeriodStampActions(MaintenanceProgram& main, MaintenanceWindow& window)
    : QObject(&window), m_main(main), m_window(window)
{
    connect(window.期間設定変更(), &QPushButton::clicked, this, &PeriodStampActions::on期間設定変更Clicked);
}

void PeriodStampActions::on期間設定変更Clicked()
{
    SharedRecordset& rs = *m_main.SharedRecordset;
    // The three Setting rows and the MST row are saved together or not at all.
    Transaction save(*m_main.DbConnection, rs);
    rs.open(QStringLiteral("Setting"), *m_main.DbConnection);
    if (rs.eof()) {
        // Nothing is written, MST neither: the page's choices are not half stored.
        rs.release();
        storedvalues::noRowToSave(QStringLiteral("Setting"));
    }
    for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k) {
        rs.setFilter(PeriodRowFilters[k]); // saves the previous row's change
        qint16 method = 0;
        if (m_window.期間と範囲(k)->isChecked())
            method = 0;
        else if (m_window.期間のみ(k)->isChecked())
            method = 1;
        else if (m_window.範囲のみ(k)->isChecked())
            method = 2;
        rs.setField(QStringLiteral("Set2"), storedvalues::whole16(method));
    }
    rs.update();
    rs.release();

    rs.open(QStringLiteral("MST"), *m_main.DbConnection);
    if (m_window.説明文表示あり()->isChecked()) {
        rs.setField(QStringLiteral("stamp"), storedvalues::whole16(1));
        // The sentence is a field value: stored exactly as typed, blanks and quotes included.
        const QString sentence = m_window.表示文()->text();
        rs.setField(QStringLiteral("stampcont"), sentence.isEmpty() ? QVariant() : QVariant(sentence));
    } else {
        rs.setField(QStringLiteral("stamp"), storedvalues::whole16(0));
    }
    rs.update();
    rs.release();
    save.commit();
}
