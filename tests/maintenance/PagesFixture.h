// SPDX-License-Identifier: MIT
#pragma once

#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "maintenance/CreatorList.h"
#include "maintenance/FieldLabel.h"
#include "maintenance/MaintenanceVisit.h"
#include "maintenance/MaintenanceWindow.h"

#include <QTabWidget>
#include <QTest>

// A maintenance window of its own, and its controls by name.
struct WindowFixture
{
    QTabWidget* tabs() const { return control<QTabWidget>(*window, "SSTab1"); }
    QComboBox* creatorList() const { return control<QComboBox>(*window, "作成者検索"); }
    FieldLabel* numberField() const { return control<FieldLabel>(*window, "登録番号"); }
    // Shows the window with `page` in front, as the active window.
    void showPage(int page)
    {
        tabs()->setCurrentIndex(page);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    QLineEdit* box(const char* name) const { return edit(*window, name); }
    QRadioButton* choice(const char* name, int index = -1) const { return option(*window, name, index); }
    bool masked(const char* name) const { return box(name)->echoMode() == QLineEdit::Password; }
    bool masked() const { return masked("パスワード") && masked("マスターパスワード"); }
    // Shows both passwords in clear, so that what masks them again shows.
    void reveal() const
    {
        box("パスワード")->setEchoMode(QLineEdit::Normal);
        box("マスターパスワード")->setEchoMode(QLineEdit::Normal);
    }

    std::unique_ptr<MaintenanceWindow> window = std::make_unique<MaintenanceWindow>();
};

// The program on the installed database changed by a few statements, with a real maintenance window and
// its actions; as its message boxes, records each message and whether the creator page was then locked.
struct PagesFixture : ProgramFixture, MessageRecorder, WindowFixture
{
    explicit PagesFixture(const QStringList& changes = {})
        : ProgramFixture(QStringLiteral("installed"), changes)
    {
        open();
        program->services.messageBoxes = this;
        ConnectMaintenanceActions(program->database, program->maintenance, *this, *window);
    }
    Answer show(const Message& message) override
    {
        lockedWhileShown.append(!button(*window, "作成者終了")->isEnabled());
        return MessageRecorder::show(message);
    }

    void fillCreatorList() { FillCreatorList(program->database, program->maintenance, *this, *window); }

    QList<bool> lockedWhileShown;
};
