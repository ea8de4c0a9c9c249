// SPDX-License-Identifier: MIT
#pragma once

#include "maintenance/CreatorSearchBox.h"

#include <QWidget>

#include <array>
#include <memory>

class FieldLabel;
class PeriodPanelPicture;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
struct MaintenanceProgram;

namespace Ui {
class CreatorPage;
class MasterPage;
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
// Controls that share a name (a control array) share one objectName and carry their position in the
// int property "index"; the typed accessors below take that index. An index outside the array is a
// run-time error (340), as addressing a missing control array element is.
class MaintenanceWindow : public QWidget
{
    Q_OBJECT

public:
    enum Page { CreatorPage = 0, MasterPage, SearchSettingsPage, PeriodStampPage, HonorificPage };
    static constexpr int SearchSettingRows = 16; // one per Setting row, ID = row + 1
    static constexpr int PeriodLines = 3;        // 長期目標, 短期目標, サービス種別

    explicit MaintenanceWindow(MaintenanceProgram& program);
    ~MaintenanceWindow() override;

    MaintenanceProgram& program() const { return m_program; }

    // Lock and unlock the creator page's actions: 作成者検索, 検索開始, 作成者登録 and 作成者終了, in that
    // order.
    void DisableCreatorControls();
    void EnableCreatorControls();
    // Puts the mask "*" back on both password boxes, パスワード and マスターパスワード.
    void maskPasswords();
    // Empties 登録番号 and the eight creator fields: the page then stands for a new creator.
    void clearCreatorFields();
    // Hides the window and emits returnedToStart: the way back to the start window of an action that
    // ends the visit, such as a completed master change.
    void returnToStart(bool focusCreatorId);

    QTabWidget* SSTab1() const;

    // Page 0, 作成者.
    CreatorSearchBox* 作成者検索() const;
    QGroupBox* Frame1() const;
    QRadioButton* 検索条件すべて() const;
    QRadioButton* 検索条件氏名() const;
    QRadioButton* 検索条件フリガナ() const;
    QLineEdit* 検索氏名() const;
    QLineEdit* 検索フリガナ() const;
    QPushButton* 検索開始() const;
    FieldLabel* 登録番号() const;
    QLineEdit* 氏名() const;
    QLineEdit* ふりがな() const;
    QLineEdit* 郵便番号() const;
    QLineEdit* 住所() const;
    QLineEdit* 自宅電話() const;
    QLineEdit* 携帯電話() const;
    QLineEdit* fax番号() const;
    QLineEdit* パスワード() const;
    QPushButton* 作成者登録() const;
    QPushButton* 作成者終了() const;

    // Page 1, マスター.
    QLineEdit* マスターID() const;
    QLineEdit* マスターパスワード() const;
    QPushButton* マスター変更() const;
    QPushButton* マスター終了() const;

    // Page 2, 検索設定: row i (0 to 15) shows Setting row i + 1.
    QLabel* Label12(int i) const;
    QLabel* Label13() const;
    QLabel* Label14() const;
    QLabel* Label15() const;
    QLabel* Label16() const;
    QGroupBox* 検索Filter(int i) const;
    QGroupBox* 検索Sort(int i) const;
    QGroupBox* 検索順(int i) const;
    QRadioButton* 検索設定作成者(int i) const;
    QRadioButton* 検索設定全員(int i) const;
    QRadioButton* 検索設定なし(int i) const;
    QRadioButton* 検索設定使用頻度(int i) const;
    QRadioButton* 検索設定更新日(int i) const;
    QRadioButton* 検索設定作成日(int i) const;
    QRadioButton* 検索設定名前(int i) const;
    QRadioButton* 検索設定フリガナ(int i) const;
    QRadioButton* 検索設定昇順(int i) const;
    QRadioButton* 検索設定降順(int i) const;
    QPushButton* 設定変更() const;
    QPushButton* 設定終了() const;

    // Page 3, 期間・押印: line k (0 to 2) is Setting row 8, 9 or 12.
    QLabel* Label17() const;
    QLabel* Label19() const;
    QLabel* Label20() const;
    QLabel* Label21() const;
    QLabel* Label22() const;
    QLabel* Label23() const;
    QLabel* Label24() const;
    QLabel* Label25() const;
    QLabel* Label26() const;
    QLabel* Label27() const;
    PeriodPanelPicture* Picture1() const;
    PeriodPanelPicture* Picture2() const;
    PeriodPanelPicture* Picture3() const;
    QGroupBox* Frame2(int k) const;
    QRadioButton* 期間と範囲(int k) const;
    QRadioButton* 期間のみ(int k) const;
    QRadioButton* 範囲のみ(int k) const;
    QGroupBox* Frame3() const;
    QRadioButton* 説明文表示あり() const;
    QRadioButton* 説明文表示なし() const;
    QLineEdit* 表示文() const;
    QPushButton* 期間設定変更() const;
    QPushButton* 期間設定終了() const;

    // Page 4, 敬称・罫線: index 0 is 様 and なし, index 1 殿 and あり.
    QLabel* Label28() const;
    QLabel* Label29() const;
    QGroupBox* 敬称() const;
    QGroupBox* 罫線() const;
    QRadioButton* Option敬称(int i) const;
    QRadioButton* Option罫線(int i) const;
    QPushButton* 敬称設定変更() const;
    QPushButton* 敬称設定終了() const;

Q_SIGNALS:
    // Emitted after the window has hidden itself on its way back to the start window, which then shows
    // itself and, when focusCreatorId is true, puts the focus in its 作成者ID.
    void returnedToStart(bool focusCreatorId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct SearchSettingRow;

    void buildSearchSettingsPage(QWidget* page);
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

    const SearchSettingRow& searchRow(int i) const;

    MaintenanceProgram& m_program;
    QTabWidget* m_tabs = nullptr;
    std::unique_ptr<Ui::CreatorPage> m_creator;
    std::unique_ptr<Ui::MasterPage> m_master;
    std::unique_ptr<Ui::PeriodStampPage> m_period;
    std::unique_ptr<Ui::HonorificPage> m_honorific;
    std::unique_ptr<std::array<SearchSettingRow, SearchSettingRows>> m_searchRows;
    QLabel* m_label13 = nullptr;
    QLabel* m_label14 = nullptr;
    QLabel* m_label15 = nullptr;
    QLabel* m_label16 = nullptr;
    QPushButton* m_設定変更 = nullptr;
    QPushButton* m_設定終了 = nullptr;
};

// Locks the creator page's actions (DisableCreatorControls) for the time of one action of the creator or
// master page, and unlocks them (EnableCreatorControls) on every way the action ends. unlock() ends the
// lock earlier, where the action then moves the focus to a control the lock holds disabled.
class CreatorPageLock
{
public:
    explicit CreatorPageLock(MaintenanceWindow& window) : m_window(window)
    {
        m_window.DisableCreatorControls();
    }
    ~CreatorPageLock() { unlock(); }
    CreatorPageLock(const CreatorPageLock&) = delete;
    CreatorPageLock& operator=(const CreatorPageLock&) = delete;

    void unlock()
    {
        if (m_locked) {
            m_locked = false;
            m_window.EnableCreatorControls();
        }
    }

private:
    MaintenanceWindow& m_window;
    bool m_locked = true;
};
