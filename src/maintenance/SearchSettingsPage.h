// SPDX-License-Identifier: MIT
#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace Ui {

// The controls of the 検索設定 page, built in code because its sixteen rows are one table: row i shows the
// Setting row with ID i + 1. Like the pages made from forms, it is a plain set of pointers into the page,
// which owns the widgets.
//
// The controls of a row form control arrays: they share one objectName per column and carry the row in
// the int property "index".
struct SearchSettingsPage
{
    static constexpr int Rows = 16;

    struct Row
    {
        QLabel* Label12 = nullptr;
        QGroupBox* 検索Filter = nullptr;
        QGroupBox* 検索Sort = nullptr;
        QGroupBox* 検索順 = nullptr;
        QRadioButton* 検索設定作成者 = nullptr;
        QRadioButton* 検索設定全員 = nullptr;
        QRadioButton* 検索設定なし = nullptr;
        QRadioButton* 検索設定使用頻度 = nullptr;
        QRadioButton* 検索設定更新日 = nullptr;
        QRadioButton* 検索設定作成日 = nullptr;
        QRadioButton* 検索設定名前 = nullptr;
        QRadioButton* 検索設定フリガナ = nullptr;
        QRadioButton* 検索設定昇順 = nullptr;
        QRadioButton* 検索設定降順 = nullptr;
    };

    void setupUi(QWidget* page);

    // Row i, 0 to 15. Any other index is a run-time error (340), as addressing a missing control array
    // element is.
    const Row& row(int i) const;

    std::array<Row, Rows> rows;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QPushButton* 設定変更 = nullptr;
    QPushButton* 設定終了 = nullptr;
};

} // namespace Ui
