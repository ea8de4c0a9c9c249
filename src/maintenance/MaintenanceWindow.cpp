// SPDX-License-Identifier: MIT
#include "maintenance/MaintenanceWindow.h"

#include "RuntimeError.h"
#include "maintenance/CreatorSearchBox.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/PeriodPanelPicture.h"
#include "maintenance/WholeCharacters.h"
#include "platform/widgets/Centre.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/InputMode.h"
#include "platform/widgets/PasswordMask.h"

#include "ui_CreatorPage.h"
#include "ui_HonorificPage.h"
#include "ui_MasterPage.h"
#include "ui_PeriodStampPage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <initializer_list>

struct MaintenanceWindow::SearchSettingRow
{
    QLabel* label = nullptr;
    QGroupBox* filter = nullptr;
    QGroupBox* sort = nullptr;
    QGroupBox* order = nullptr;
    QRadioButton* 作成者 = nullptr;
    QRadioButton* 全員 = nullptr;
    QRadioButton* なし = nullptr;
    QRadioButton* 使用頻度 = nullptr;
    QRadioButton* 更新日 = nullptr;
    QRadioButton* 作成日 = nullptr;
    QRadioButton* 名前 = nullptr;
    QRadioButton* フリガナ = nullptr;
    QRadioButton* 昇順 = nullptr;
    QRadioButton* 降順 = nullptr;
};

namespace {

// Addressing a control array element that does not exist.

[[noreturn]] void missingElement(int index)
{
    throw RuntimeError(ErrorNumber::NoControlArrayElement,
                       QStringLiteral("コントロール配列の要素 '%1' は存在しません。").arg(index));
}

template <typename T> T* element(std::initializer_list<T*> elements, int index)
{
    if (index < 0 || index >= int(elements.size()))
        missingElement(index);
    return elements.begin()[index];
}

// Gives a member of a control array its shared name; its "index" comes from the form.
void joinArray(QWidget* member, const QString& name)
{
    member->setObjectName(name);
}

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

constexpr LookupList LookupLists[MaintenanceWindow::SearchSettingRows] = {
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

void setMasked(QLineEdit* box, bool masked)
{
    box->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

} // namespace

MaintenanceWindow::MaintenanceWindow(MaintenanceProgram& program)
    : QWidget(nullptr), m_program(program), m_creator(std::make_unique<Ui::CreatorPage>()),
      m_master(std::make_unique<Ui::MasterPage>()), m_period(std::make_unique<Ui::PeriodStampPage>()),
      m_honorific(std::make_unique<Ui::HonorificPage>()),
      m_searchRows(std::make_unique<std::array<SearchSettingRow, SearchSettingRows>>())
{
    setObjectName(QStringLiteral("Mente"));
    setWindowTitle(QStringLiteral("メンテナンス"));
    setFont(fonts::font(fonts::Face::Gothic, 9));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setElideMode(Qt::ElideNone);

    auto* creatorPage = new QWidget;
    m_creator->setupUi(creatorPage);
    auto* masterPage = new QWidget;
    m_master->setupUi(masterPage);
    auto* searchPage = new QWidget;
    searchPage->setObjectName(QStringLiteral("SearchSettingsPage"));
    buildSearchSettingsPage(searchPage);
    auto* periodPage = new QWidget;
    m_period->setupUi(periodPage);
    auto* honorificPage = new QWidget;
    m_honorific->setupUi(honorificPage);

    m_tabs->addTab(creatorPage, QStringLiteral("作成者"));
    m_tabs->addTab(masterPage, QStringLiteral("マスター"));
    m_tabs->addTab(searchPage, QStringLiteral("検索設定"));
    m_tabs->addTab(periodPage, QStringLiteral("期間・押印"));
    m_tabs->addTab(honorificPage, QStringLiteral("敬称・罫線"));
    m_tabs->setCurrentIndex(CreatorPage);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(m_tabs);

    adoptControlArrays();
    setInputModes();
    passwordmask::useAsterisk(m_creator->パスワード);
    passwordmask::useAsterisk(m_master->マスターパスワード);
    keepCharactersWhole();

    // The creator list keeps its items in the order they are added and never completes or inserts what
    // is typed into it.
    m_creator->作成者検索->setCompleter(nullptr);
    m_creator->作成者検索->setInsertPolicy(QComboBox::NoInsert);
    // 登録番号 stands among the text boxes as one of them.
    m_creator->登録番号->setMinimumHeight(m_creator->氏名->sizeHint().height());

    m_period->Picture1->setMethod(PeriodPanelPicture::Method::PeriodAndRange);
    m_period->Picture2->setMethod(PeriodPanelPicture::Method::PeriodOnly);
    m_period->Picture3->setMethod(PeriodPanelPicture::Method::RangeOnly);

    connect(m_creator->作成者終了, &QPushButton::clicked, this, &MaintenanceWindow::closeFromCreatorPage);
    connect(m_master->マスター終了, &QPushButton::clicked, this, &MaintenanceWindow::closeFromMasterPage);
    connect(m_設定終了, &QPushButton::clicked, this, &MaintenanceWindow::closeFromSettingsPage);
    connect(m_period->期間設定終了, &QPushButton::clicked, this, &MaintenanceWindow::closeFromSettingsPage);
    connect(m_honorific->敬称設定終了, &QPushButton::clicked, this,
            &MaintenanceWindow::closeFromSettingsPage);

    // Enter presses the focused button, as Space does. No button is the window's default, so Enter in a
    // text box does nothing.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);

    // The window sees every key press before the control that has the focus (Shift+F9).
    qApp->installEventFilter(this);

    setFixedSize(sizeHint());
    centre::onScreen(*this);
}

MaintenanceWindow::~MaintenanceWindow() = default;

void MaintenanceWindow::buildSearchSettingsPage(QWidget* page)
{
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(16, 12, 16, 12);
    pageLayout->setSpacing(10);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(3);
    pageLayout->addLayout(grid);

    m_label13 = new QLabel(QStringLiteral("項目名"));
    m_label13->setObjectName(QStringLiteral("Label13"));
    m_label14 = new QLabel(QStringLiteral("抽出条件"));
    m_label14->setObjectName(QStringLiteral("Label14"));
    m_label15 = new QLabel(QStringLiteral("並べ替え(Sorting)項目"));
    m_label15->setObjectName(QStringLiteral("Label15"));
    m_label16 = new QLabel(QStringLiteral("表示順"));
    m_label16->setObjectName(QStringLiteral("Label16"));
    grid->addWidget(m_label13, 0, 0);
    grid->addWidget(m_label14, 0, 1, Qt::AlignHCenter);
    grid->addWidget(m_label15, 0, 2, Qt::AlignHCenter);
    grid->addWidget(m_label16, 0, 3, Qt::AlignHCenter);

    for (int i = 0; i < SearchSettingRows; ++i) {
        const LookupList& list = LookupLists[i];
        SearchSettingRow& row = (*m_searchRows)[i];

        row.label = arrayLabel(QStringLiteral("Label12"), i, QString::fromUtf16(list.name));

        row.filter = arrayFrame(QStringLiteral("検索Filter"), i);
        row.作成者 = arrayOption(row.filter, QStringLiteral("検索設定作成者"), i, QStringLiteral("作成者"),
                                 list.filterShown);
        row.全員 = arrayOption(row.filter, QStringLiteral("検索設定全員"), i, QStringLiteral("全員"),
                               list.filterShown);

        row.sort = arrayFrame(QStringLiteral("検索Sort"), i);
        row.なし = arrayOption(row.sort, QStringLiteral("検索設定なし"), i, QStringLiteral("なし"));
        row.使用頻度 = arrayOption(row.sort, QStringLiteral("検索設定使用頻度"), i,
                                   QStringLiteral("使用頻度"), list.usageShown);
        row.更新日 = arrayOption(row.sort, QStringLiteral("検索設定更新日"), i, QStringLiteral("更新日"));
        row.作成日 = arrayOption(row.sort, QStringLiteral("検索設定作成日"), i, QStringLiteral("作成日"));
        row.名前 = arrayOption(row.sort, QStringLiteral("検索設定名前"), i,
                               sortsByPersonName(i) ? QStringLiteral("氏名") : QStringLiteral("名前"),
                               list.nameShown);
        row.フリガナ = arrayOption(row.sort, QStringLiteral("検索設定フリガナ"), i,
                                   QStringLiteral("フリガナ"), list.readingShown);

        row.order = arrayFrame(QStringLiteral("検索順"), i);
        row.昇順 = arrayOption(row.order, QStringLiteral("検索設定昇順"), i, QStringLiteral("昇順"));
        row.降順 = arrayOption(row.order, QStringLiteral("検索設定降順"), i, QStringLiteral("降順"));

        // Before the first fill every row reads 作成者, 使用頻度 and 昇順.
        row.作成者->setChecked(true);
        row.使用頻度->setChecked(true);
        row.昇順->setChecked(true);

        grid->addWidget(row.label, i + 1, 0);
        grid->addWidget(row.filter, i + 1, 1);
        grid->addWidget(row.sort, i + 1, 2);
        grid->addWidget(row.order, i + 1, 3);
        if (!list.rowShown) {
            row.label->hide();
            row.filter->hide();
            row.sort->hide();
            row.order->hide();
        }
    }
    grid->setColumnStretch(4, 1);

    pageLayout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    m_設定変更 = pageButton(QStringLiteral("設定変更"), QStringLiteral("設定変更"));
    m_設定終了 = pageButton(QStringLiteral("設定終了"), QStringLiteral("終了"));
    buttons->addWidget(m_設定変更);
    buttons->addWidget(m_設定終了);
    pageLayout->addLayout(buttons);
}

void MaintenanceWindow::adoptControlArrays()
{
    for (QWidget* frame : {m_period->Frame2_0, m_period->Frame2_1, m_period->Frame2_2})
        joinArray(frame, QStringLiteral("Frame2"));
    for (QWidget* option : {m_period->期間と範囲_0, m_period->期間と範囲_1, m_period->期間と範囲_2})
        joinArray(option, QStringLiteral("期間と範囲"));
    for (QWidget* option : {m_period->期間のみ_0, m_period->期間のみ_1, m_period->期間のみ_2})
        joinArray(option, QStringLiteral("期間のみ"));
    for (QWidget* option : {m_period->範囲のみ_0, m_period->範囲のみ_1, m_period->範囲のみ_2})
        joinArray(option, QStringLiteral("範囲のみ"));
    for (QWidget* option : {m_honorific->Option敬称_0, m_honorific->Option敬称_1})
        joinArray(option, QStringLiteral("Option敬称"));
    for (QWidget* option : {m_honorific->Option罫線_0, m_honorific->Option罫線_1})
        joinArray(option, QStringLiteral("Option罫線"));
}

void MaintenanceWindow::setInputModes()
{
    using inputmode::Mode;
    inputmode::set(m_creator->検索氏名, Mode::Hiragana);
    inputmode::set(m_creator->検索フリガナ, Mode::FullWidthKatakana);
    inputmode::set(m_creator->氏名, Mode::Hiragana);
    inputmode::set(m_creator->ふりがな, Mode::FullWidthKatakana);
    inputmode::set(m_creator->郵便番号, Mode::Disabled);
    inputmode::set(m_creator->住所, Mode::Hiragana);
    inputmode::set(m_creator->自宅電話, Mode::Disabled);
    inputmode::set(m_creator->携帯電話, Mode::Disabled);
    inputmode::set(m_creator->fax番号, Mode::Disabled);
    inputmode::set(m_creator->パスワード, Mode::Disabled);
    inputmode::set(m_master->マスターID, Mode::Disabled);
    inputmode::set(m_master->マスターパスワード, Mode::Disabled);
    inputmode::set(m_period->表示文, Mode::Hiragana);
}

void MaintenanceWindow::keepCharactersWhole()
{
    auto* validator = new WholeCharacters(this);
    for (QLineEdit* box :
         {m_creator->検索氏名, m_creator->検索フリガナ, m_creator->氏名, m_creator->ふりがな,
          m_creator->郵便番号, m_creator->住所, m_creator->自宅電話, m_creator->携帯電話, m_creator->fax番号,
          m_creator->パスワード, m_master->マスターID, m_master->マスターパスワード, m_period->表示文})
        box->setValidator(validator);
}

void MaintenanceWindow::DisableCreatorControls()
{
    m_creator->作成者検索->setEnabled(false);
    m_creator->検索開始->setEnabled(false);
    m_creator->作成者登録->setEnabled(false);
    m_creator->作成者終了->setEnabled(false);
}

void MaintenanceWindow::EnableCreatorControls()
{
    m_creator->作成者検索->setEnabled(true);
    m_creator->検索開始->setEnabled(true);
    m_creator->作成者登録->setEnabled(true);
    m_creator->作成者終了->setEnabled(true);
}

void MaintenanceWindow::maskPasswords()
{
    setMasked(m_creator->パスワード, true);
    setMasked(m_master->マスターパスワード, true);
}

void MaintenanceWindow::clearCreatorFields()
{
    m_creator->登録番号->clear();
    for (QLineEdit* box :
         {m_creator->氏名, m_creator->ふりがな, m_creator->郵便番号, m_creator->住所, m_creator->自宅電話,
          m_creator->携帯電話, m_creator->fax番号, m_creator->パスワード})
        box->clear();
}

void MaintenanceWindow::returnToStart(bool focusCreatorId)
{
    hide();
    Q_EMIT returnedToStart(focusCreatorId);
}

void MaintenanceWindow::revealPassword()
{
    switch (m_tabs->currentIndex()) {
    case CreatorPage:
        setMasked(m_creator->パスワード, false);
        break;
    case MasterPage:
        setMasked(m_master->マスターパスワード, false);
        break;
    default:
        break;
    }
}

bool MaintenanceWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Shift+F9, with exactly Shift held, shows the password of the page in front in clear. The key press
    // goes on to the focused control all the same.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F9 && key->modifiers() == Qt::ShiftModifier &&
            receivesKeysOf(static_cast<QWidget*>(watched)))
            revealPassword();
    }
    return false;
}

bool MaintenanceWindow::receivesKeysOf(const QWidget* target) const
{
    // The open list of a drop-down box is a window of its own, but belongs to the box.
    const QWidget* window = target->window();
    while (window != this && window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    return window == this;
}

void MaintenanceWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the program itself (at its end): just go.
    if (!event->spontaneous()) {
        QWidget::closeEvent(event);
        return;
    }
    // The title bar's close acts as the close button of the page in front, which hides the window and
    // returns to the start window. While that button is disabled (an action is running) nothing happens.
    event->ignore();
    if (QPushButton* button = closeButton(m_tabs->currentIndex()); button && button->isEnabled())
        button->click();
}

QPushButton* MaintenanceWindow::closeButton(int page) const
{
    switch (page) {
    case CreatorPage:
        return m_creator->作成者終了;
    case MasterPage:
        return m_master->マスター終了;
    case SearchSettingsPage:
        return m_設定終了;
    case PeriodStampPage:
        return m_period->期間設定終了;
    case HonorificPage:
        return m_honorific->敬称設定終了;
    default:
        return nullptr;
    }
}

void MaintenanceWindow::closeFromCreatorPage()
{
    m_creator->作成者検索->setCurrentIndex(-1);
    m_creator->作成者検索->setEditText(QString());
    clearCreatorFields();
    maskPasswords();
    hide();
    Q_EMIT returnedToStart(true);
}

void MaintenanceWindow::closeFromMasterPage()
{
    m_master->マスターID->clear();
    m_master->マスターパスワード->clear();
    maskPasswords();
    hide();
    Q_EMIT returnedToStart(false);
}

void MaintenanceWindow::closeFromSettingsPage()
{
    maskPasswords();
    hide();
    Q_EMIT returnedToStart(true);
}

const MaintenanceWindow::SearchSettingRow& MaintenanceWindow::searchRow(int i) const
{
    if (i < 0 || i >= SearchSettingRows)
        missingElement(i);
    return (*m_searchRows)[i];
}

// Controls by their names.

QTabWidget* MaintenanceWindow::SSTab1() const
{
    return m_tabs;
}

CreatorSearchBox* MaintenanceWindow::作成者検索() const
{
    return m_creator->作成者検索;
}
QGroupBox* MaintenanceWindow::Frame1() const
{
    return m_creator->Frame1;
}
QRadioButton* MaintenanceWindow::検索条件すべて() const
{
    return m_creator->検索条件すべて;
}
QRadioButton* MaintenanceWindow::検索条件氏名() const
{
    return m_creator->検索条件氏名;
}
QRadioButton* MaintenanceWindow::検索条件フリガナ() const
{
    return m_creator->検索条件フリガナ;
}
QLineEdit* MaintenanceWindow::検索氏名() const
{
    return m_creator->検索氏名;
}
QLineEdit* MaintenanceWindow::検索フリガナ() const
{
    return m_creator->検索フリガナ;
}
QPushButton* MaintenanceWindow::検索開始() const
{
    return m_creator->検索開始;
}
FieldLabel* MaintenanceWindow::登録番号() const
{
    return m_creator->登録番号;
}
QLineEdit* MaintenanceWindow::氏名() const
{
    return m_creator->氏名;
}
QLineEdit* MaintenanceWindow::ふりがな() const
{
    return m_creator->ふりがな;
}
QLineEdit* MaintenanceWindow::郵便番号() const
{
    return m_creator->郵便番号;
}
QLineEdit* MaintenanceWindow::住所() const
{
    return m_creator->住所;
}
QLineEdit* MaintenanceWindow::自宅電話() const
{
    return m_creator->自宅電話;
}
QLineEdit* MaintenanceWindow::携帯電話() const
{
    return m_creator->携帯電話;
}
QLineEdit* MaintenanceWindow::fax番号() const
{
    return m_creator->fax番号;
}
QLineEdit* MaintenanceWindow::パスワード() const
{
    return m_creator->パスワード;
}
QPushButton* MaintenanceWindow::作成者登録() const
{
    return m_creator->作成者登録;
}
QPushButton* MaintenanceWindow::作成者終了() const
{
    return m_creator->作成者終了;
}

QLineEdit* MaintenanceWindow::マスターID() const
{
    return m_master->マスターID;
}
QLineEdit* MaintenanceWindow::マスターパスワード() const
{
    return m_master->マスターパスワード;
}
QPushButton* MaintenanceWindow::マスター変更() const
{
    return m_master->マスター変更;
}
QPushButton* MaintenanceWindow::マスター終了() const
{
    return m_master->マスター終了;
}

QLabel* MaintenanceWindow::Label12(int i) const
{
    return searchRow(i).label;
}
QLabel* MaintenanceWindow::Label13() const
{
    return m_label13;
}
QLabel* MaintenanceWindow::Label14() const
{
    return m_label14;
}
QLabel* MaintenanceWindow::Label15() const
{
    return m_label15;
}
QLabel* MaintenanceWindow::Label16() const
{
    return m_label16;
}
QGroupBox* MaintenanceWindow::検索Filter(int i) const
{
    return searchRow(i).filter;
}
QGroupBox* MaintenanceWindow::検索Sort(int i) const
{
    return searchRow(i).sort;
}
QGroupBox* MaintenanceWindow::検索順(int i) const
{
    return searchRow(i).order;
}
QRadioButton* MaintenanceWindow::検索設定作成者(int i) const
{
    return searchRow(i).作成者;
}
QRadioButton* MaintenanceWindow::検索設定全員(int i) const
{
    return searchRow(i).全員;
}
QRadioButton* MaintenanceWindow::検索設定なし(int i) const
{
    return searchRow(i).なし;
}
QRadioButton* MaintenanceWindow::検索設定使用頻度(int i) const
{
    return searchRow(i).使用頻度;
}
QRadioButton* MaintenanceWindow::検索設定更新日(int i) const
{
    return searchRow(i).更新日;
}
QRadioButton* MaintenanceWindow::検索設定作成日(int i) const
{
    return searchRow(i).作成日;
}
QRadioButton* MaintenanceWindow::検索設定名前(int i) const
{
    return searchRow(i).名前;
}
QRadioButton* MaintenanceWindow::検索設定フリガナ(int i) const
{
    return searchRow(i).フリガナ;
}
QRadioButton* MaintenanceWindow::検索設定昇順(int i) const
{
    return searchRow(i).昇順;
}
QRadioButton* MaintenanceWindow::検索設定降順(int i) const
{
    return searchRow(i).降順;
}
QPushButton* MaintenanceWindow::設定変更() const
{
    return m_設定変更;
}
QPushButton* MaintenanceWindow::設定終了() const
{
    return m_設定終了;
}

QLabel* MaintenanceWindow::Label17() const
{
    return m_period->Label17;
}
QLabel* MaintenanceWindow::Label19() const
{
    return m_period->Label19;
}
QLabel* MaintenanceWindow::Label20() const
{
    return m_period->Label20;
}
QLabel* MaintenanceWindow::Label21() const
{
    return m_period->Label21;
}
QLabel* MaintenanceWindow::Label22() const
{
    return m_period->Label22;
}
QLabel* MaintenanceWindow::Label23() const
{
    return m_period->Label23;
}
QLabel* MaintenanceWindow::Label24() const
{
    return m_period->Label24;
}
QLabel* MaintenanceWindow::Label25() const
{
    return m_period->Label25;
}
QLabel* MaintenanceWindow::Label26() const
{
    return m_period->Label26;
}
QLabel* MaintenanceWindow::Label27() const
{
    return m_period->Label27;
}
PeriodPanelPicture* MaintenanceWindow::Picture1() const
{
    return m_period->Picture1;
}
PeriodPanelPicture* MaintenanceWindow::Picture2() const
{
    return m_period->Picture2;
}
PeriodPanelPicture* MaintenanceWindow::Picture3() const
{
    return m_period->Picture3;
}
QGroupBox* MaintenanceWindow::Frame2(int k) const
{
    return element({m_period->Frame2_0, m_period->Frame2_1, m_period->Frame2_2}, k);
}
QRadioButton* MaintenanceWindow::期間と範囲(int k) const
{
    return element({m_period->期間と範囲_0, m_period->期間と範囲_1, m_period->期間と範囲_2}, k);
}
QRadioButton* MaintenanceWindow::期間のみ(int k) const
{
    return element({m_period->期間のみ_0, m_period->期間のみ_1, m_period->期間のみ_2}, k);
}
QRadioButton* MaintenanceWindow::範囲のみ(int k) const
{
    return element({m_period->範囲のみ_0, m_period->範囲のみ_1, m_period->範囲のみ_2}, k);
}
QGroupBox* MaintenanceWindow::Frame3() const
{
    return m_period->Frame3;
}
QRadioButton* MaintenanceWindow::説明文表示あり() const
{
    return m_period->説明文表示あり;
}
QRadioButton* MaintenanceWindow::説明文表示なし() const
{
    return m_period->説明文表示なし;
}
QLineEdit* MaintenanceWindow::表示文() const
{
    return m_period->表示文;
}
QPushButton* MaintenanceWindow::期間設定変更() const
{
    return m_period->期間設定変更;
}
QPushButton* MaintenanceWindow::期間設定終了() const
{
    return m_period->期間設定終了;
}

QLabel* MaintenanceWindow::Label28() const
{
    return m_honorific->Label28;
}
QLabel* MaintenanceWindow::Label29() const
{
    return m_honorific->Label29;
}
QGroupBox* MaintenanceWindow::敬称() const
{
    return m_honorific->敬称;
}
QGroupBox* MaintenanceWindow::罫線() const
{
    return m_honorific->罫線;
}
QRadioButton* MaintenanceWindow::Option敬称(int i) const
{
    return element({m_honorific->Option敬称_0, m_honorific->Option敬称_1}, i);
}
QRadioButton* MaintenanceWindow::Option罫線(int i) const
{
    return element({m_honorific->Option罫線_0, m_honorific->Option罫線_1}, i);
}
QPushButton* MaintenanceWindow::敬称設定変更() const
{
    return m_honorific->敬称設定変更;
}
QPushButton* MaintenanceWindow::敬称設定終了() const
{
    return m_honorific->敬称設定終了;
}
