// SPDX-License-Identifier: MIT
#pragma once

#include "common/Controls.h"
#include "common/MessageRecorder.h"
#include "common/TestDatabase.h"

#include "RuntimeError.h"
#include "database/Database.h"
#include "database/Values.h"
#include "launcher/Main.h"
#include "maintenance/MaintenanceWindow.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <memory>

// An installed database changed by a few statements, the program opened on it with a message recorder,
// and a real maintenance window; the source texts the program opens are collected in `statements`.
struct SettingsPageFixture
{
    explicit SettingsPageFixture(const QStringList& changes = {})
    {
        install.installDatabase(QStringLiteral("installed"));
        for (const QString& change : changes)
            run(change);
        program = install.makeMain();
        program->messageBoxes = &messages;
        OpenDatabase(*program);
        program->DbConnection->setStatementObserver([this](const QString& s) { statements.append(s); });
        window = std::make_unique<MaintenanceWindow>(*program);
    }

    // Changes the file behind the program's back, as another program using it would.
    void run(const QString& sql) const { DatabaseInspector(install.installedDatabase()).value(sql); }
    QVariant value(const QString& sql) const
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
    static bool masked(const QLineEdit* box) { return box->echoMode() == QLineEdit::Password; }

    TestInstallation install;
    MessageRecorder messages;
    QStringList statements;
    std::unique_ptr<Main> program;
    std::unique_ptr<MaintenanceWindow> window;
};

// The seed's date stamps, which the settings saves must leave alone.
inline const QString SeedStamp = QStringLiteral("2026-12-01 09:00:00");
