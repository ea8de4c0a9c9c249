// SPDX-License-Identifier: MIT
#include "maintenance/SearchSettingsPage.h"

#include "maintenance/ControlArray.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The lookup lists of the Setting rows in ID order, and which of the 検索設定 choices each one offers.
struct LookupList
{
    const char16_t* name;
    bool rowShown;
    bool filterShown;  // 作成者 and 全員
    bool usageShown;   // 使用頻度
    bool nameShown;    // 氏名 or 名前
    bool readingShown; // フリガナ
};

constexpr LookupList LookupLists[Ui::SearchSettingsPage::Rows] = {
    {u"作成者", true, false, false, true, true},     {u"利用者", true, false, false, true, true},
    {u"事業者", true, false, false, true, true},     {u"意向", true, true, true, false, false},
    {u"種類", true, true, true, false, false},       {u"方針", true, true, true, false, false},
    {u"課題", true, true, true, false, false},       {u"長期目標", true, true, true, false, false},
    {u"短期目標", true, true, true, false, false},   {u"期間", true, true, true, false, false},
    {u"内容", true, true, true, false, false},       {u"種別", true, true, true, false, false},
    {u"提供事業所", true, true, true, false, false}, {u"頻度", true, true, true, false, false},
    {u"計画書", true, false, false, true, false},    {u"所属", false, true, true, true, true},
};

// The name sort (code 4) reads 氏名 in the lists of people and plans, 名前 elsewhere.
bool sortsByPersonName(int row)
{
    return row == 0 || row == 1 || row == 14 || row == 15;
}

QLabel* arrayLabel(const QString& name, int index, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setProperty("index", index);
    return label;
}

QGroupBox* arrayFrame(const QString& name, int index)
{
    auto* frame = new QGroupBox;
    frame->setObjectName(name);
    frame->setProperty("index", index);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(8, 1, 8, 1);
    layout->setSpacing(14);
    return frame;
}

// An option button of a frame on the 検索設定 page. A choice the row does not offer still exists and
// carries the row's value, but is not shown; it keeps its place so that the columns stay aligned.
QRadioButton* arrayOption(QGroupBox* frame, const QString& name, int index, const QString& text,
                          bool shown = true)
{
    auto* option = new QRadioButton(text, frame);
    option->setObjectName(name);
    option->setProperty("index", index);
    QSizePolicy policy = option->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    option->setSizePolicy(policy);
    if (!shown)
        option->hide();
    frame->layout()->addWidget(option);
    return option;
}

QPushButton* pageButton(const QString& name, const QString& text)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setMinimumSize(100, 30);
    return button;
}

QLabel* headingLabel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

} // namespace

namespace Ui {

void SearchSettingsPage::setupUi(QWidget* page)
{
    page->setObjectName(QStringLiteral("SearchSettingsPage"));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(16, 12, 16, 12);
    pageLayout->setSpacing(10);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    pageLayout->addLayout(grid);

    Label13 = headingLabel(QStringLiteral("Label13"), QStringLiteral("項目名"));
    Label14 = headingLabel(QStringLiteral("Label14"), QStringLiteral("抽出条件"));
    Label15 = headingLabel(QStringLiteral("Label15"), QStringLiteral("並べ替え(Sorting)項目"));
    Label16 = headingLabel(QStringLiteral("Label16"), QStringLiteral("表示順"));
    grid->addWidget(Label13, 0, 0);
    grid->addWidget(Label14, 0, 1, Qt::AlignHCenter);
    grid->addWidget(Label15, 0, 2, Qt::AlignHCenter);
    grid->addWidget(Label16, 0, 3, Qt::AlignHCenter);

    for (int i = 0; i < Rows; ++i) {
        const LookupList& list = LookupLists[i];
        Row& row = rows[size_t(i)];

        row.Label12 = arrayLabel(QStringLiteral("Label12"), i, QString::fromUtf16(list.name));

        row.検索Filter = arrayFrame(QStringLiteral("検索Filter"), i);
        row.検索設定作成者 = arrayOption(row.検索Filter, QStringLiteral("検索設定作成者"), i,
                                         QStringLiteral("作成者"), list.filterShown);
        row.検索設定全員 = arrayOption(row.検索Filter, QStringLiteral("検索設定全員"), i,
                                       QStringLiteral("全員"), list.filterShown);

        row.検索Sort = arrayFrame(QStringLiteral("検索Sort"), i);
        row.検索設定なし =
            arrayOption(row.検索Sort, QStringLiteral("検索設定なし"), i, QStringLiteral("なし"));
        row.検索設定使用頻度 = arrayOption(row.検索Sort, QStringLiteral("検索設定使用頻度"), i,
                                           QStringLiteral("使用頻度"), list.usageShown);
        row.検索設定更新日 =
            arrayOption(row.検索Sort, QStringLiteral("検索設定更新日"), i, QStringLiteral("更新日"));
        row.検索設定作成日 =
            arrayOption(row.検索Sort, QStringLiteral("検索設定作成日"), i, QStringLiteral("作成日"));
        row.検索設定名前 = arrayOption(row.検索Sort, QStringLiteral("検索設定名前"), i,
                                       sortsByPersonName(i) ? QStringLiteral("氏名") : QStringLiteral("名前"),
                                       list.nameShown);
        row.検索設定フリガナ = arrayOption(row.検索Sort, QStringLiteral("検索設定フリガナ"), i,
                                           QStringLiteral("フリガナ"), list.readingShown);

        row.検索順 = arrayFrame(QStringLiteral("検索順"), i);
        row.検索設定昇順 = arrayOption(row.検索順, QStringLiteral("検索設定昇順"), i, QStringLiteral("昇順"));
        row.検索設定降順 = arrayOption(row.検索順, QStringLiteral("検索設定降順"), i, QStringLiteral("降順"));

        // Before the first fill every row reads 作成者, 使用頻度 and 昇順.
        row.検索設定作成者->setChecked(true);
        row.検索設定使用頻度->setChecked(true);
        row.検索設定昇順->setChecked(true);

        grid->addWidget(row.Label12, i + 1, 0);
        grid->addWidget(row.検索Filter, i + 1, 1);
        grid->addWidget(row.検索Sort, i + 1, 2);
        grid->addWidget(row.検索順, i + 1, 3);
        if (!list.rowShown) {
            row.Label12->hide();
            row.検索Filter->hide();
            row.検索Sort->hide();
            row.検索順->hide();
        }
    }
    grid->setColumnStretch(4, 1);

    pageLayout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    設定変更 = pageButton(QStringLiteral("設定変更"), QStringLiteral("設定変更"));
    設定終了 = pageButton(QStringLiteral("設定終了"), QStringLiteral("終了"));
    buttons->addWidget(設定変更);
    buttons->addWidget(設定終了);
    pageLayout->addLayout(buttons);
}

const SearchSettingsPage::Row& SearchSettingsPage::row(int i) const
{
    return controlarray::element(rows, i);
}

} // namespace Ui
