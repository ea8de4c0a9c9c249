// SPDX-License-Identifier: MIT
#pragma once

#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "launcher/StartWindow.h"
#include "platform/Shell.h"

#include <QLineEdit>
#include <QPointer>

#include <functional>

// A shell that opens nothing: it notes what it was asked to open, answers with a preset result and runs
// an action as "the spreadsheet" while the program waits for it.
struct ScriptedShell : platform::Shell
{
    int open(const QString& file) override
    {
        opened.append(file);
        return result;
    }
    void waitForOpenedProgram() override { spreadsheet(); }
    int result = Opened;
    std::function<void()> spreadsheet = [] {};
    QStringList opened;
};

// A test's installation: the installed database with creators 7 (password "pw"), 8 (deleted) and 9 (no
// password) and the IDs 3 and 4 in temp, and the plan workbook. open() starts the program on it with a
// message recorder and a scripted shell, the start window shown and the maintenance window loaded beside
// it, and collects every statement the program sends.
struct StartWindowFixture
{
    std::unique_ptr<TestInstallation> install;
    std::unique_ptr<Main> program;
    MessageRecorder messages;
    std::unique_ptr<ScriptedShell> shell;
    std::unique_ptr<StartWindow> start;
    QPointer<MaintenanceWindow> mente;
    QStringList statements;

    QString workbook() const { return install->programFolder() + "/Hanaplan.xls"; }
    QString workingCopy() const { return install->allUsersProfile() + "/作業シート.xls"; }
    QVariant sql(const QString& statement) const
    {
        return DatabaseInspector(install->installedDatabase()).value(statement);
    }

    void makeInstallation()
    {
        install = std::make_unique<TestInstallation>();
        install->installDatabase("installed");
        sql("INSERT INTO 作成者 (ID, 名前, ふりがな, password, 削除日) VALUES (7, '山田花子', "
            "'ヤマダハナコ', 'pw', "
            "NULL), (8, '削除済', 'サクジョズミ', 'pw', '2026-01-01 00:00:00'), (9, '鍵なし', 'カギナシ', "
            "NULL, NULL)");
        sql("INSERT INTO temp (ID) VALUES (3), (4)");
        QFile book(workbook());
        QVERIFY(book.open(QIODevice::WriteOnly) && book.write("<Workbook/>") > 0);
        messages = MessageRecorder();
        statements.clear();
    }
    void open()
    {
        program = install->makeMain();
        shell = std::make_unique<ScriptedShell>();
        program->services.messageBoxes = &messages;
        program->services.shell = shell.get();
        OpenDatabase(program->database, program->services.environment);
        program->database.DbConnection->setStatementObserver(
            [this](const QString& s) { statements.append(s); });
        start = std::make_unique<StartWindow>(*program);
        mente = &start->loadMaintenanceWindow();
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

    // 作成者ID, 作成者パスワード, マスターID, マスターパスワード.
    QList<QLineEdit*> signInBoxes() const
    {
        return {edit(*start, "作成者ID"), edit(*start, "作成者パスワード"), edit(*start, "マスターID"),
                edit(*start, "マスターパスワード")};
    }
    void type(const QStringList& texts)
    {
        for (int i = 0; i < 4; ++i)
            signInBoxes()[i]->setText(texts.value(i));
    }
    QStringList boxes() const
    {
        QStringList texts;
        for (QLineEdit* box : signInBoxes())
            texts.append(box->text());
        return texts;
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
