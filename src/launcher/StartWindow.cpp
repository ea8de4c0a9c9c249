// SPDX-License-Identifier: MIT
#include "launcher/StartWindow.h"

#include "about/AboutWindow.h"
#include "database/Database.h"
#include "launcher/Main.h"
#include "launcher/WorkbookRun.h"
#include "maintenance/MaintenanceVisit.h"
#include "maintenance/MaintenanceWindow.h"
#include "platform/FileSystem.h"
#include "platform/widgets/Centre.h"
#include "platform/widgets/Fonts.h"
#include "platform/widgets/InputMode.h"
#include "platform/widgets/PasswordMask.h"
#include "platform/widgets/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QWindow>

namespace {

const QString kSignInTitle = QStringLiteral("計画書作成");
const QString kMaintenanceTitle = QStringLiteral("メンテナンス");

QLabel* caption(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(fonts::font(fonts::Face::Gothic, 11.25, true));
    label->setGeometry(geometry);
    return label;
}

QLineEdit* textBox(QWidget* parent, const QString& name, QRect geometry, bool password)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFont(fonts::font(fonts::Face::Gothic, 11.25));
    box->setGeometry(geometry);
    box->setMaxLength(32);
    if (password) {
        box->setEchoMode(QLineEdit::Password);
        passwordmask::useAsterisk(box);
    }
    inputmode::set(box, inputmode::Mode::Disabled);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, QRect geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setFont(fonts::font(fonts::Face::Gothic, 14.25, true));
    b->setGeometry(geometry);
    // Enter presses the focused button, as Space does. The window has no default button, so Enter in a
    // text box does nothing.
    b->setAutoDefault(true);
    return b;
}

QGroupBox* frame(QWidget* parent, const QString& name, QRect geometry)
{
    auto* f = new QGroupBox(name, parent);
    f->setObjectName(name);
    f->setFont(fonts::font(fonts::Face::Gothic, 14.25, true));
    f->setGeometry(geometry);
    return f;
}

} // namespace

StartWindow::StartWindow(Main& main) : m_main(main)
{
    setObjectName(QStringLiteral("Start"));
    setWindowTitle(QStringLiteral("Hanaplan"));
    buildControls();
}

StartWindow::~StartWindow() = default;

void StartWindow::buildControls()
{
    auto* client = new QWidget(this);
    client->setFixedSize(twips::toPixels(8745), twips::toPixels(5940));
    setCentralWidget(client);

    m_topScreen = new QLabel(QStringLiteral("Hanaplan　作成システム"), client);
    m_topScreen->setObjectName(QStringLiteral("TopScreen"));
    m_topScreen->setFont(fonts::font(fonts::Face::Gothic, 18, true));
    m_topScreen->setGeometry(twips::rect(960, 600, 6975, 375));

    m_計画書作成 = frame(client, QStringLiteral("計画書作成"), twips::rect(1200, 1440, 6615, 1455));
    caption(m_計画書作成, QStringLiteral("Label1"), QStringLiteral("作成者ＩＤ"),
            twips::rect(360, 480, 1095, 255));
    m_作成者ID = textBox(m_計画書作成, QStringLiteral("作成者ID"), twips::rect(2520, 480, 2175, 375), false);
    caption(m_計画書作成, QStringLiteral("Label2"), QStringLiteral("作成者パスワード"),
            twips::rect(360, 960, 2055, 255));
    m_作成者パスワード =
        textBox(m_計画書作成, QStringLiteral("作成者パスワード"), twips::rect(2520, 960, 2175, 375), true);
    m_作成 = button(m_計画書作成, QStringLiteral("作成"), QStringLiteral("作成"),
                    twips::rect(5280, 600, 975, 495));

    m_メンテナンス = frame(client, QStringLiteral("メンテナンス"), twips::rect(1200, 3240, 6615, 1575));
    caption(m_メンテナンス, QStringLiteral("Label3"), QStringLiteral("マスターＩＤ"),
            twips::rect(360, 600, 1455, 255));
    m_マスターID =
        textBox(m_メンテナンス, QStringLiteral("マスターID"), twips::rect(2520, 480, 2175, 375), false);
    caption(m_メンテナンス, QStringLiteral("Label4"), QStringLiteral("マスターパスワード"),
            twips::rect(360, 1080, 2055, 255));
    m_マスターパスワード = textBox(m_メンテナンス, QStringLiteral("マスターパスワード"),
                                   twips::rect(2520, 960, 2175, 375), true);
    m_メンテ = button(m_メンテナンス, QStringLiteral("メンテ"), QStringLiteral("NEXT"),
                      twips::rect(5280, 600, 975, 495));

    m_終了 =
        button(client, QStringLiteral("終了"), QStringLiteral("終了"), twips::rect(6960, 5160, 1215, 495));

    // Focus order 1 to 7.
    setTabOrder(m_作成者ID, m_作成者パスワード);
    setTabOrder(m_作成者パスワード, m_作成);
    setTabOrder(m_作成, m_マスターID);
    setTabOrder(m_マスターID, m_マスターパスワード);
    setTabOrder(m_マスターパスワード, m_メンテ);
    setTabOrder(m_メンテ, m_終了);
    m_作成者ID->setFocus();

    m_mnu_Help = menuBar()->addAction(QStringLiteral("Help"));
    m_mnu_Help->setObjectName(QStringLiteral("mnu_Help"));

    connect(m_作成, &QPushButton::clicked, this, &StartWindow::on作成Clicked);
    connect(m_メンテ, &QPushButton::clicked, this, &StartWindow::onメンテClicked);
    connect(m_終了, &QPushButton::clicked, this, &StartWindow::on終了Clicked);
    connect(m_mnu_Help, &QAction::triggered, this, &StartWindow::onHelpTriggered);
}

void StartWindow::centre()
{
    adjustSize();
    centre::onScreen(*this);
}

void StartWindow::bringToFront()
{
    QWidget* shown = nullptr;
    if (isVisible())
        shown = this;
    else if (m_mente && m_mente->isVisible())
        shown = m_mente;
    else
        return;
    shown->setWindowState(shown->windowState() & ~Qt::WindowMinimized);
    shown->raise();
    shown->activateWindow();
}

void StartWindow::clearSignInBoxes()
{
    m_作成者ID->clear();
    m_作成者パスワード->clear();
    m_マスターID->clear();
    m_マスターパスワード->clear();
}

bool StartWindow::refuseSignIn(SignInOutcome outcome, const QString& title, const QString& notRegisteredText,
                               QLineEdit* typedId)
{
    // The message is shown while the window is hidden. An unknown ID empties every box; a wrong password
    // all but the ID typed.
    switch (outcome) {
    case SignInOutcome::SignedIn:
        return false;
    case SignInOutcome::NotRegistered:
        m_main.services.messageBoxes->information(title, notRegisteredText);
        clearSignInBoxes();
        break;
    case SignInOutcome::WrongPassword:
        m_main.services.messageBoxes->critical(title, QStringLiteral("指定のパスワードが違っています。"));
        for (QLineEdit* box : {m_作成者ID, m_作成者パスワード, m_マスターID, m_マスターパスワード}) {
            if (box != typedId)
                box->clear();
        }
        break;
    }
    show();
    return true;
}

void StartWindow::on作成Clicked()
{
    const QString idText = m_作成者ID->text();
    const QString password = m_作成者パスワード->text();
    if (idText.isEmpty() || password.isEmpty())
        return;
    hide();

    const CreatorSignIn signIn = CheckCreator(m_main.database, idText, password);
    if (refuseSignIn(signIn.outcome, kSignInTitle, QStringLiteral("指定の作成者IDは登録されていません"),
                     m_作成者ID))
        return;

    HandOffCreator(m_main.database, signIn.creatorId);
    CloseDatabase(m_main.database);
    clearSignInBoxes();
    RunWorkbook(m_main);
    show();
    activateWindow();
    m_作成者ID->setFocus();
}

void StartWindow::setMaintenanceWindow(MaintenanceWindow* window)
{
    m_mente = window;
    if (window)
        connect(window, &MaintenanceWindow::returnedToStart, this, &StartWindow::returnFromMaintenance);
}

MaintenanceWindow& StartWindow::loadMaintenanceWindow()
{
    if (!m_mente) {
        auto* mente = new MaintenanceWindow;
        ConnectMaintenanceActions(m_main.database, m_main.maintenance, *m_main.services.messageBoxes, *mente);
        setMaintenanceWindow(mente);
    }
    return *m_mente;
}

void StartWindow::loadMaintenanceWindowOnceShown()
{
    // The first expose of the native window is when the window is on the screen; the load is queued behind
    // the drawing that the expose starts.
    winId();
    windowHandle()->installEventFilter(this);
}

bool StartWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_unloaded)
                    loadMaintenanceWindow();
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void StartWindow::onメンテClicked()
{
    const QString masterId = m_マスターID->text();
    const QString password = m_マスターパスワード->text();
    if (masterId.isEmpty() || password.isEmpty())
        return;
    hide();

    const SignInOutcome outcome = CheckMaster(m_main.database, masterId, password);
    if (refuseSignIn(outcome, kMaintenanceTitle, QStringLiteral("指定のマスターIDは登録されていません"),
                     m_マスターID))
        return;
    clearSignInBoxes();
    OpenMaintenance(m_main.database, m_main.maintenance, *m_main.services.messageBoxes,
                    loadMaintenanceWindow());
}

void StartWindow::on終了Clicked()
{
    CloseDatabase(m_main.database);
    close();
}

void StartWindow::onHelpTriggered()
{
    AboutWindow::showOnce(m_main.services.environment);
}

void StartWindow::returnFromMaintenance(bool focusCreatorId)
{
    show();
    if (focusCreatorId) {
        activateWindow();
        m_作成者ID->setFocus();
    }
}

void StartWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void StartWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!m_main.WorkbookCopyPath.isEmpty())
        platform::removeFileIfPresent(m_main.WorkbookCopyPath);
    if (m_mente) {
        m_mente->hide();
        m_mente->deleteLater();
    }
    // With no window of the program's own left, the program ends; an open About window keeps it until
    // the About window closes itself.
    if (!AboutWindow::endProgramWhenUnloaded())
        QCoreApplication::exit(0);
}
