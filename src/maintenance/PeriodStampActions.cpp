// SPDX-License-Identifier: MIT
#include "maintenance/PeriodStampActions.h"

#include "database/DatabaseState.h"
#include "database/Transaction.h"
#include "database/Values.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/StoredValues.h"

#include "ui_PeriodStampPage.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace {

// The filter texts of the Setting rows of the three lines, in line order.
const QString PeriodRowFilters[MaintenanceWindow::PeriodLines] = {
    QStringLiteral("ID = 8"), QStringLiteral("ID = 9"), QStringLiteral("ID = 12")};

// The three method choices of line k: 期間と範囲 (0), 期間のみ (1) and 範囲のみ (2).
std::array<QRadioButton*, 3> methodOptions(const Ui::PeriodStampPage& page, int k)
{
    switch (k) {
    case 0:
        return {page.期間と範囲_0, page.期間のみ_0, page.範囲のみ_0};
    case 1:
        return {page.期間と範囲_1, page.期間のみ_1, page.範囲のみ_1};
    default:
        return {page.期間と範囲_2, page.期間のみ_2, page.範囲のみ_2};
    }
}

} // namespace

void ShowPeriodStampSettings(DatabaseState& database, MaintenanceWindow& window)
{
    const Ui::PeriodStampPage& page = window.periodStampPage();
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("Setting"), *database.DbConnection);
    if (!rs.eof()) {
        for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k) {
            rs.setFilter(PeriodRowFilters[k]);
            const QVariant method = rs.field(QStringLiteral("Set2"));
            const auto options = methodOptions(page, k);
            if (storedvalues::equals(method, 1))
                options[1]->setChecked(true);
            else if (storedvalues::equals(method, 2))
                options[2]->setChecked(true);
            else // 0, any other number, null
                options[0]->setChecked(true);
        }
    }
    rs.release();

    rs.open(QStringLiteral("MST"), *database.DbConnection);
    if (storedvalues::equals(rs.field(QStringLiteral("stamp")), 1))
        page.説明文表示あり->setChecked(true);
    else
        page.説明文表示なし->setChecked(true);
    page.表示文->setText(values::textOrEmpty(rs.field(QStringLiteral("stampcont"))));
    rs.release();
}

PeriodStampActions::PeriodStampActions(DatabaseState& database, MaintenanceWindow& window)
    : QObject(&window), m_database(database), m_window(window)
{
    connect(window.periodStampPage().期間設定変更, &QPushButton::clicked, this,
            &PeriodStampActions::on期間設定変更Clicked);
}

void PeriodStampActions::on期間設定変更Clicked()
{
    const Ui::PeriodStampPage& page = m_window.periodStampPage();
    SharedRecordset& rs = *m_database.SharedRecordset;
    // The three Setting rows and the MST row are saved together or not at all.
    Transaction save(*m_database.DbConnection, rs);
    storedvalues::openSettingsForSave(m_database); // without rows MST is not written either
    for (int k = 0; k < MaintenanceWindow::PeriodLines; ++k) {
        rs.setFilter(PeriodRowFilters[k]); // saves the previous row's change
        const auto options = methodOptions(page, k);
        qint16 method = 0;
        if (options[0]->isChecked())
            method = 0;
        else if (options[1]->isChecked())
            method = 1;
        else if (options[2]->isChecked())
            method = 2;
        rs.setField(QStringLiteral("Set2"), storedvalues::whole16(method));
    }
    rs.update();
    rs.release();

    rs.open(QStringLiteral("MST"), *m_database.DbConnection);
    if (page.説明文表示あり->isChecked()) {
        rs.setField(QStringLiteral("stamp"), storedvalues::whole16(1));
        // The sentence is a field value: stored exactly as typed, blanks and quotes included.
        const QString sentence = page.表示文->text();
        rs.setField(QStringLiteral("stampcont"), sentence.isEmpty() ? QVariant() : QVariant(sentence));
    } else {
        rs.setField(QStringLiteral("stamp"), storedvalues::whole16(0));
    }
    rs.update();
    rs.release();
    save.commit();
}
