// SPDX-License-Identifier: MIT
#pragma once

#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "maintenance/MaintenanceVisit.h"
#include "maintenance/MaintenanceWindow.h"

#include <QTabWidget>
#include <QTest>

// An installed database changed by a few statements, the program opened on it and a real maintenance
// window with its actions. The fixture is the program's message boxes: it records each message and
// whether the creator page was locked while it was shown. The source texts the program opens are
// collected in `statements`.
struct PagesFixture : MessageRecorder
{
    explicit PagesFixture(const QStringList& changes = {})
    {
        install.installDatabase(QStringLiteral("installed"));
        for (const QString& change : changes)
            run(change);
        program = install.makeMain();
        program->services.messageBoxes = this;
        OpenDatabase(program->database, program->services.environment);
        program->database.DbConnection->setStatementObserver(
            [this](const QString& s) { statements.append(s); });
        window = std::make_unique<MaintenanceWindow>();
        ConnectMaintenanceActions(program->database, program->maintenance, *this, *window);
    }
    Answer show(const Message& message) override
    {
        lockedWhileShown.append(!button(*window, "作成者終了")->isEnabled());
        return MessageRecorder::show(message);
    }

    // Runs a statement on the file behind the program's back, as another program using it would; gives
    // the first value of its first row.
    QVariant run(const QString& sql) const
    {
        return DatabaseInspector(install.installedDatabase()).value(sql);
    }
    QList<QVariantList> rows(const QString& sql) const
    {
        return DatabaseInspector(install.installedDatabase()).rows(sql);
    }
    QString dump() const { return DatabaseInspector(install.installedDatabase()).dump(); }
    void showPage(int page)
    {
        control<QTabWidget>(*window, "SSTab1")->setCurrentIndex(page);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    bool masked(const char* box) const { return edit(*window, box)->echoMode() == QLineEdit::Password; }

    TestInstallation install;
    QList<bool> lockedWhileShown;
    QStringList statements;
    std::unique_ptr<Main> program;
    std::unique_ptr<MaintenanceWindow> window;
};
