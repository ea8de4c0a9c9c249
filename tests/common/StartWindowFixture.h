// SPDX-License-Identifier: MIT
#pragma once

#include "common/MessageRecorder.h"
#include "common/ScriptedShell.h"
#include "common/TestDatabase.h"

#include "launcher/StartWindow.h"
#include "maintenance/MaintenanceVisit.h"
#include "maintenance/MaintenanceWindow.h"

#include <QLineEdit>
#include <QPointer>
#include <QTest>

// A test's installation with the installed database, the program opened on it with a message recorder and
// a scripted shell, the start window shown and the maintenance window loaded beside it; every statement
// the program sends is collected. Made in a suite's init() after the database is prepared, and torn
// down in its cleanup().
struct StartWindowFixture
{
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    MessageRecorder messages;
    std::unique_ptr<ScriptedShell> shell;
    std::unique_ptr<StartWindow> start;
    QPointer<MaintenanceWindow> mente;
    QStringList statements;

    // The installation alone, so that a suite can prepare the database before the program opens it.
    void makeInstallation()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase(QStringLiteral("installed"));
        messages = MessageRecorder();
        statements.clear();
    }
    void open()
    {
        program = install->makeMain();
        shell = std::make_unique<ScriptedShell>(*program);
        program->messageBoxes = &messages;
        program->shell = shell.get();
        OpenDatabase(*program);
        program->DbConnection->setStatementObserver([this](const QString& s) { statements.append(s); });
        start = std::make_unique<StartWindow>(*program);
        mente = new MaintenanceWindow(*program);
        ConnectMaintenanceActions(*program, *mente);
        start->setMaintenanceWindow(mente);
        start->show();
        QVERIFY(QTest::qWaitForWindowExposed(start.get()));
    }
    void tearDown()
    {
        delete mente.data();
        start.reset();
        shell.reset();
        program.reset();
        install.reset();
    }

    void type(const QString& creatorId, const QString& creatorPassword, const QString& masterId,
              const QString& masterPassword)
    {
        start->作成者ID()->setText(creatorId);
        start->作成者パスワード()->setText(creatorPassword);
        start->マスターID()->setText(masterId);
        start->マスターパスワード()->setText(masterPassword);
    }
    QStringList boxes() const
    {
        return {start->作成者ID()->text(), start->作成者パスワード()->text(), start->マスターID()->text(),
                start->マスターパスワード()->text()};
    }
    // Exactly one message was shown, with the OK button only.
    void expectMessage(platform::MessageBoxes::Icon icon, const QString& title, const QString& text) const
    {
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(int(messages.shown[0].icon), int(icon));
        QCOMPARE(int(messages.shown[0].buttons), int(platform::MessageBoxes::Buttons::Ok));
        QCOMPARE(messages.shown[0].title, title);
        QCOMPARE(messages.shown[0].text, text);
    }
};
