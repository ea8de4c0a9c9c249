// SPDX-License-Identifier: MIT
#include "maintenance/SearchSettingsActions.h"

#include "database/DatabaseState.h"
#include "database/Transaction.h"
#include "database/Values.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/SearchSettingsPage.h"
#include "maintenance/StoredValues.h"

#include <QPushButton>
#include <QRadioButton>

void ShowSearchSettings(DatabaseState& database, MaintenanceWindow& window)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("Setting"), *database.DbConnection);
    if (!rs.eof()) {
        const int count = rs.recordCount();
        for (int n = 0; n < count; ++n) {
            const Ui::SearchSettingsPage::Row& row =
                window.searchSettingsPage().row(values::toInteger32(rs.field(QStringLiteral("ID"))) - 1);

            // A null Filter or Set1 counts as nonzero.
            if (storedvalues::equals(rs.field(QStringLiteral("Filter")), 0))
                row.検索設定全員->setChecked(true);
            else
                row.検索設定作成者->setChecked(true);

            const QVariant sort = rs.field(QStringLiteral("Sort"));
            QRadioButton* const sortOptions[] = {row.検索設定なし,   row.検索設定使用頻度,
                                                 row.検索設定更新日, row.検索設定作成日,
                                                 row.検索設定名前,   row.検索設定フリガナ};
            for (int code = 0; code < 6; ++code) {
                if (storedvalues::equals(sort, code)) {
                    sortOptions[code]->setChecked(true);
                    break;
                }
            }

            if (storedvalues::equals(rs.field(QStringLiteral("Set1")), 0))
                row.検索設定昇順->setChecked(true);
            else
                row.検索設定降順->setChecked(true);

            rs.moveNext();
        }
    }
    rs.release();
}

QString SearchSettingRowFilter(int id)
{
    return QStringLiteral("ID = ") + (id >= 0 ? QStringLiteral(" ") : QString()) + QString::number(id);
}

SearchSettingsActions::SearchSettingsActions(DatabaseState& database, MaintenanceWindow& window)
    : QObject(&window), m_database(database), m_window(window)
{
    connect(window.searchSettingsPage().設定変更, &QPushButton::clicked, this,
            &SearchSettingsActions::on設定変更Clicked);
}

void SearchSettingsActions::on設定変更Clicked()
{
    SharedRecordset& rs = *m_database.SharedRecordset;
    // The sixteen rows are saved together or not at all.
    Transaction save(*m_database.DbConnection, rs);
    storedvalues::openSettingsForSave(m_database);
    const Ui::SearchSettingsPage& page = m_window.searchSettingsPage();
    for (int i = 0; i < MaintenanceWindow::SearchSettingRows; ++i) {
        rs.setFilter(SearchSettingRowFilter(i + 1)); // saves the previous row's change
        const Ui::SearchSettingsPage::Row& row = page.row(i);
        const qint16 filter = row.検索設定作成者->isChecked() ? 1 : 0;
        qint16 sort = 0;
        if (row.検索設定使用頻度->isChecked())
            sort = 1;
        else if (row.検索設定更新日->isChecked())
            sort = 2;
        else if (row.検索設定作成日->isChecked())
            sort = 3;
        else if (row.検索設定名前->isChecked())
            sort = 4;
        else if (row.検索設定フリガナ->isChecked())
            sort = 5;
        const qint16 direction = row.検索設定降順->isChecked() ? 1 : 0;
        rs.setField(QStringLiteral("Filter"), storedvalues::whole16(filter));
        rs.setField(QStringLiteral("Sort"), storedvalues::whole16(sort));
        rs.setField(QStringLiteral("Set1"), storedvalues::whole16(direction));
    }
    rs.update();
    rs.release();
    save.commit();
}
