// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class MaintenanceWindow;
struct Main;

// The マスター page: replaces the master account, masterID and password of the live master row, with
// the pair typed into マスターID and マスターパスワード.
class MasterActions : public QObject
{
    Q_OBJECT

public:
    // Connects マスター変更; the object lives as long as the window.
    MasterActions(Main& main, MaintenanceWindow& window);

    // With either box empty: the message "マスターID、マスターパスワードを正しく設定して下さい", nothing
    // written, the boxes and masks as they were. Otherwise the pair is stored exactly as typed with a new
    // 更新日, the boxes are emptied, both passwords masked, and the window returns to the start window
    // without moving the focus. The creator page is locked meanwhile.
    void onマスター変更Clicked();

private:
    Main& m_main;
    MaintenanceWindow& m_window;
};
