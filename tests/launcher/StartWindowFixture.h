// SPDX-License-Identifier: MIT
#pragma once

#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "launcher/StartWindow.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

#include <functional>

// A shell that opens nothing: it notes what it was asked to open, answers with a preset result and runs
// an action as "the spreadsheet" while the program waits for it.
struct ScriptedShell : platform::Shell
{
    int open(const QString& file) override { return opened.append(file), result; }
    void waitForOpenedProgram() override { spreadsheet(); }
    int result = Opened;
    std::function<void()> spreadsheet = [] {};
    QStringList opened;
};

// The installed database with creators 7 (password "pw"), 8 (deleted) and 9 (no password) and the IDs 3
// and 4 in temp, and the plan workbook. showStart() opens the program on it with a message recorder and the
// scripted shell, the start window shown and the maintenance window loaded beside it.
struct StartWindowFixture : ProgramFixture
{
    StartWindowFixture()
        : ProgramFixture("installed",
                         {"INSERT INTO 作成者 (ID, 名前, ふりがな, password, 削除日) VALUES "
                          "(7, '山田花子', 'ヤマダハナコ', 'pw', NULL), (8, '削除済', 'サクジョズミ', "
                          "'pw', '2026-01-01 00:00:00'), (9, '鍵なし', 'カギナシ', NULL, NULL)",
                          "INSERT INTO temp (ID) VALUES (3), (4)"})
    {
        writeFile(workbook(), "<Workbook/>", 0);
    }
    ~StartWindowFixture() { delete mente.data(); }

    MessageRecorder messages;
    ScriptedShell shell;
    std::unique_ptr<StartWindow> start;
    QPointer<MaintenanceWindow> mente;

    QString workbook() const { return install.programFolder() + "/Hanaplan.xls"; }
    QString workingCopy() const { return install.allUsersProfile() + "/作業シート.xls"; }

    // A file with its attributes; 7 (read-only, hidden and system) for one an earlier run left behind.
    static void writeFile(const QString& path, const QByteArray& content, int attributes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        platform::setFileAttributes(path, attributes);
    }

    void showStart()
    {
        open();
        program->services.messageBoxes = &messages;
        program->services.shell = &shell;
        start = std::make_unique<StartWindow>(*program);
        mente = &start->loadMaintenanceWindow();
        start->show();
        QVERIFY(QTest::qWaitForWindowExposed(start.get()));
    }

    // 作成者ID, 作成者パスワード, マスターID, マスターパスワード: typed, or as they stand.
    void type(const QStringList& texts)
    {
        for (int i = 0; i < 4; ++i)
            edit(*start, kBoxes[i])->setText(texts.value(i));
    }
    QStringList boxes() const
    {
        QStringList texts;
        for (const char* name : kBoxes)
            texts.append(edit(*start, name)->text());
        return texts;
    }
    static constexpr const char* kBoxes[] = {"作成者ID", "作成者パスワード", "マスターID",
                                             "マスターパスワード"};
};
