// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class MaintenanceWindow;
struct DatabaseState;

// The 検索設定 page: row i of the page shows the Setting row with ID i + 1 — who its list shows (Filter),
// by which column it is sorted (Sort) and in which direction (Set1).

// Fills the page from every row of Setting, deleted rows included. A row whose Sort is not a sort code
// leaves its sort choice as it stood; a row ID outside 1 to 16 is a run-time error.
void ShowSearchSettings(DatabaseState& database, MaintenanceWindow& window);

// The text that selects Setting row `id` for the save: "ID = " and the number with a sign position, a
// blank for a positive number ("ID =  1").
QString SearchSettingRowFilter(int id);

// The page's save button 設定変更, connected when the object is made; it lives as long as the window.
class SearchSettingsActions : public QObject
{
    Q_OBJECT

public:
    SearchSettingsActions(DatabaseState& database, MaintenanceWindow& window);

    // Writes Filter, Sort and Set1 of all sixteen rows, hidden choices included; each row's change is
    // saved when the filter moves on to the next row. 更新日 is not written. An empty Setting table writes
    // nothing and is a run-time error (no current row), as a missing row is.
    void on設定変更Clicked();

private:
    DatabaseState& m_database;
    MaintenanceWindow& m_window;
};
