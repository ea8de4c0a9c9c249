// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <memory>

class QPushButton;
class QTabWidget;

namespace Ui {
class CreatorPage;
class MasterPage;
struct SearchSettingsPage;
class PeriodStampPage;
class HonorificPage;
} // namespace Ui

// The maintenance window `Mente`: five pages in the tab control `SSTab1` where the holder of the master
// account edits the creators, the master account and the settings the plan workbook reads.
//
// It is made once, hidden, at start-up and afterwards only shown and hidden, so texts, choices and the
// page in front survive between visits. Every way out of it hides it and then emits returnedToStart();
// the start window shows itself in answer. The window knows nothing of the start window.
//
// Each page's controls are reached through its Ui struct, by the names the forms give them. Controls that
// share a name (a control array) share one objectName and carry their position in the int property
// "index".
class MaintenanceWindow : public QWidget
{
    Q_OBJECT

public:
    enum Page { CreatorPage = 0, MasterPage, SearchSettingsPage, PeriodStampPage, HonorificPage };
    static constexpr int SearchSettingRows = 16; // one per Setting row, ID = row + 1
    static constexpr int PeriodLines = 3;        // 長期目標, 短期目標, サービス種別

    MaintenanceWindow();
    ~MaintenanceWindow() override;

    // Lock and unlock the creator page's actions: 作成者検索, 検索開始, 作成者登録 and 作成者終了, in that
    // order.
    void DisableCreatorControls();
    void EnableCreatorControls();
    // Puts the mask "*" back on both password boxes, パスワード and マスターパスワード.
    void maskPasswords();
    // Empties 登録番号 and the eight creator fields: the page then stands for a new creator.
    void clearCreatorFields();
    // Empties マスターID and マスターパスワード.
    void clearMasterFields();
    // Hides the window and emits returnedToStart: the way back to the start window of an action that
    // ends the visit, such as a completed master change.
    void returnToStart(bool focusCreatorId);

    // The controls of each page, for the page's actions.
    Ui::CreatorPage& creatorPage() const { return *m_creator; }
    Ui::MasterPage& masterPage() const { return *m_master; }
    Ui::SearchSettingsPage& searchSettingsPage() const { return *m_search; }
    Ui::PeriodStampPage& periodStampPage() const { return *m_period; }
    Ui::HonorificPage& honorificPage() const { return *m_honorific; }

Q_SIGNALS:
    // Emitted after the window has hidden itself on its way back to the start window, which then shows
    // itself and, when focusCreatorId is true, puts the focus in its 作成者ID.
    void returnedToStart(bool focusCreatorId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void adoptControlArrays();
    void setInputModes();
    void keepCharactersWhole();
    void revealPassword();
    bool receivesKeysOf(const QWidget* target) const;

    // The close buttons.
    void closeFromCreatorPage();
    void closeFromMasterPage();
    void closeFromSettingsPage();
    QPushButton* closeButton(int page) const;

    QTabWidget* m_tabs = nullptr;
    std::unique_ptr<Ui::CreatorPage> m_creator;
    std::unique_ptr<Ui::MasterPage> m_master;
    std::unique_ptr<Ui::PeriodStampPage> m_period;
    std::unique_ptr<Ui::HonorificPage> m_honorific;
    std::unique_ptr<Ui::SearchSettingsPage> m_search;
};
