// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class MaintenanceWindow;
struct DatabaseState;

// The 期間・押印 page: the period input method of the lists 長期目標, 短期目標 and サービス種別 (Set2 of the
// Setting rows 8, 9 and 12, line k = 0, 1, 2) and the confirmation stamp's sentence (MST.stamp and
// MST.stampcont of the first MST row).

// Fills the page. An empty Setting table leaves the three lines as they stood; a missing row 8, 9 or 12,
// or an MST without rows, is a run-time error.
void ShowPeriodStampSettings(DatabaseState& database, MaintenanceWindow& window);

// The page's save button 期間設定変更, connected when the object is made; it lives as long as the window.
class PeriodStampActions : public QObject
{
    Q_OBJECT

public:
    PeriodStampActions(DatabaseState& database, MaintenanceWindow& window);

    // Writes Set2 of rows 8, 9 and 12, then stamp and, with あり chosen, stampcont as typed (null for an
    // empty box); with なし the stored sentence stays. Neither table's 更新日 is written. An empty Setting
    // table writes nothing at all and is a run-time error (no current row), as a missing row is.
    void on期間設定変更Clicked();

private:
    DatabaseState& m_database;
    MaintenanceWindow& m_window;
};
