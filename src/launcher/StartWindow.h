// SPDX-License-Identifier: MIT
#pragma once

#include "launcher/SignIn.h"
#include "maintenance/MaintenanceWindow.h"

#include <QMainWindow>
#include <QPointer>

struct Main;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The start window: creator sign-in and the run of the plan workbook, maintenance sign-in, exit and Help.
class StartWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit StartWindow(Main& main);
    ~StartWindow() override;

    // The maintenance window, loaded hidden and unloaded with this window. Its close buttons bring this
    // window back. loadMaintenanceWindow() loads it, with the page actions connected, unless it is loaded
    // already; maintenanceWindow() is null until then.
    void setMaintenanceWindow(MaintenanceWindow* window);
    MaintenanceWindow& loadMaintenanceWindow();
    MaintenanceWindow* maintenanceWindow() const { return m_mente; }
    // Loads the maintenance window as soon as this window has first been drawn on the screen: the start-up
    // shows the start window without waiting for the maintenance window's many controls.
    void loadMaintenanceWindowOnceShown();

    // Centres the window on its screen.
    void centre();

    // The user started the program again: the window that is shown, this one or the maintenance window,
    // comes to the front. While neither is shown (a workbook runs) nothing happens.
    void bringToFront();

    // Handlers. They are plain member functions connected by address: the meta-object compiler does not
    // take Japanese names in slot declarations.
    void on作成Clicked();
    void onメンテClicked();
    void on終了Clicked();
    void onHelpTriggered();
    // Shows the window again when the maintenance window sends the user back.
    void returnFromMaintenance(bool focusCreatorId);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void clearSignInBoxes();
    // After a sign-in check: false when it signed in; otherwise the refusal is shown (notRegisteredText for
    // an unknown ID), the boxes are emptied as the outcome asks, the window is shown again and true returned.
    bool refuseSignIn(SignInOutcome outcome, const QString& title, const QString& notRegisteredText,
                      QLineEdit* typedId);
    void unload();

    Main& m_main;
    QPointer<MaintenanceWindow> m_mente;
    bool m_unloaded = false;

    QLabel* m_topScreen = nullptr;
    QGroupBox* m_計画書作成 = nullptr;
    QGroupBox* m_メンテナンス = nullptr;
    QLineEdit* m_作成者ID = nullptr;
    QLineEdit* m_作成者パスワード = nullptr;
    QLineEdit* m_マスターID = nullptr;
    QLineEdit* m_マスターパスワード = nullptr;
    QPushButton* m_作成 = nullptr;
    QPushButton* m_メンテ = nullptr;
    QPushButton* m_終了 = nullptr;
    QAction* m_mnu_Help = nullptr;
};
