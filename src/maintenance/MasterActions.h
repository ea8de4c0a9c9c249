// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class MaintenanceWindow;
struct DatabaseState;
namespace platform {
class MessageBoxes;
}

// The マスター page: replaces the master account, masterID and password of the live master row, with
// the pair typed into マスターID and マスターパスワード.
class MasterActions : public QObject
{
    Q_OBJECT

public:
    // Connects マスター変更; the object lives as long as the window.
    MasterActions(DatabaseState& database, platform::MessageBoxes& messages, MaintenanceWindow& window);

    // How many characters the start window's sign-in boxes take, and so the master page's too.
    static constexpr int kSignInTextLimit = 32;

    // With either box empty: the message "マスターID、マスターパスワードを正しく設定して下さい", nothing
    // written, the boxes and masks as they were. A pair the start window could never match (see
    // canSignInWith) is refused the same way with unusablePairText(). Otherwise the pair is stored exactly
    // as typed with a new 更新日, all or nothing, the boxes are emptied, both passwords masked, and the
    // window returns to the start window without moving the focus. The creator page is locked meanwhile.
    void onマスター変更Clicked();

    // Whether the maintenance sign-in of the start window can ever match this master pair.
    static bool canSignInWith(const QString& masterId, const QString& password);
    // The refusal of a pair that could never sign in.
    static QString unusablePairText();

private:
    DatabaseState& m_database;
    platform::MessageBoxes& m_messages;
    MaintenanceWindow& m_window;
};
