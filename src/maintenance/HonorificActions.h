// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class MaintenanceWindow;
struct DatabaseState;
struct MaintenanceState;

// The 敬称・罫線 page: the honorific (MST.compellation, 0 様, 1 殿) and the ruled lines (MST.ruling, 0 なし,
// 1 あり) of the live master row; the stored value is the index of the option button.

// Reads both values of the live master row into HonorificSetting and RuledLineSetting and selects their
// option buttons. A missing row, a null, or a value with no option button (other than 0 and 1) is a
// run-time error; the last is error 340, the control array element that does not exist.
void ShowHonorificSettings(DatabaseState& database, MaintenanceState& state, MaintenanceWindow& window);

// The page's save button 敬称設定変更, connected when the object is made; it lives as long as the window.
class HonorificActions : public QObject
{
    Q_OBJECT

public:
    HonorificActions(DatabaseState& database, MaintenanceWindow& window);

    // Writes compellation, ruling and 更新日 of the live master row, then empties マスターID and
    // マスターパスワード and masks both password boxes. HonorificSetting and RuledLineSetting keep the
    // values of the last fill.
    void on敬称設定変更Clicked();

private:
    DatabaseState& m_database;
    MaintenanceWindow& m_window;
};
