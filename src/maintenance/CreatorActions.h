// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <optional>

struct DatabaseState;
struct MaintenanceState;
class MaintenanceWindow;
class QLineEdit;
namespace Ui {
class CreatorPage;
}
namespace platform {
class MessageBoxes;
}

// The actions of the creator page of the maintenance window: the search button 検索開始, the user's pick
// in the creator list 作成者検索, the save button 作成者登録 and the double-click on 登録番号 that deletes
// the loaded creator. Made once beside the window, as its child; the constructor connects the controls.
//
// Every action locks the page's four action controls while it runs and unlocks them on every way out
// (CreatorPageLock).
class CreatorActions : public QObject
{
    Q_OBJECT

public:
    CreatorActions(DatabaseState& database, MaintenanceState& state, platform::MessageBoxes& messages,
                   MaintenanceWindow& window);

    // Handlers. Plain member functions connected by address: the meta-object compiler does not take
    // Japanese names in slot declarations.
    void on検索開始Clicked();
    // `index` is the position of the item the user picked.
    void on作成者検索Activated(int index);
    void on作成者登録Clicked();
    void on登録番号DoubleClicked();

    // The message shown when the creator being changed is no longer a live row of 作成者.
    static QString creatorGoneOnChangeText();
    // The message shown when the creator to delete is no longer a live row of 作成者.
    static QString creatorGoneOnDeleteText();

private:
    // The ID in 登録番号; none when it holds no number.
    std::optional<qint32> loadedCreatorId() const;
    // Opens 作成者 on the row with this ID; true when it is there and live. When it is not, the record set
    // is released again.
    bool openLiveCreator(qint32 id);
    // After a save or a deletion: item 0 in the list, the save button 新規登録, 登録番号 and the fields
    // empty, both passwords masked.
    void resetPageForNewCreator();

    DatabaseState& m_database;
    MaintenanceState& m_state;
    platform::MessageBoxes& m_messages;
    MaintenanceWindow& m_window;
    Ui::CreatorPage& m_page;
};
