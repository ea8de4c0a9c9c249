// SPDX-License-Identifier: MIT
#include "maintenance/MaintenanceWindow.h"

#include "maintenance/CreatorSearchBox.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/PeriodPanelPicture.h"
#include "maintenance/SearchSettingsPage.h"
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
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

static_assert(MaintenanceWindow::SearchSettingRows == Ui::SearchSettingsPage::Rows);

namespace {

// Gives a member of a control array its shared name; its "index" comes from the form.
void joinArray(QWidget* member, const QString& name)
{
    member->setObjectName(name);
}

void setMasked(QLineEdit* box, bool masked)
{
    box->setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
}

} // namespace

MaintenanceWindow::MaintenanceWindow()
    : QWidget(nullptr), m_creator(std::make_unique<Ui::CreatorPage>()),
      m_master(std::make_unique<Ui::MasterPage>()), m_period(std::make_unique<Ui::PeriodStampPage>()),
      m_honorific(std::make_unique<Ui::HonorificPage>()), m_search(std::make_unique<Ui::SearchSettingsPage>())
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
    m_search->setupUi(searchPage);
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
    connect(m_search->設定終了, &QPushButton::clicked, this, &MaintenanceWindow::closeFromSettingsPage);
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

void MaintenanceWindow::clearMasterFields()
{
    m_master->マスターID->clear();
    m_master->マスターパスワード->clear();
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
        return m_search->設定終了;
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
    clearMasterFields();
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
