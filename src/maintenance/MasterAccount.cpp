// SPDX-License-Identifier: MIT
#include "maintenance/MasterAccount.h"

#include "Main.h"
#include "database/Values.h"
#include "maintenance/MaintenanceWindow.h"

#include <QLineEdit>
#include <QPushButton>

MasterActions::MasterActions(Main& main, MaintenanceWindow& window)
    : QObject(&window), m_main(main), m_window(window)
{
    connect(window.マスター変更(), &QPushButton::clicked, this, &MasterActions::onマスター変更Clicked);
}

void MasterActions::onマスター変更Clicked()
{
    m_window.マスター終了()->setFocus();
    m_window.DisableCreatorControls();

    const QString masterId = m_window.マスターID()->text();
    const QString password = m_window.マスターパスワード()->text();
    // A text of blanks only counts as filled.
    if (masterId.isEmpty() || password.isEmpty()) {
        m_main.messageBoxes->critical(QStringLiteral("マスター"),
                                      QStringLiteral("マスターID、マスターパスワードを正しく設定して下さい"));
        m_window.EnableCreatorControls();
        return;
    }

    SharedRecordset& rs = *m_main.SharedRecordset;
    rs.open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"), *m_main.DbConnection);
    rs.setField(QStringLiteral("masterID"), masterId);
    rs.setField(QStringLiteral("password"), password);
    rs.setField(QStringLiteral("更新日"), values::now());
    rs.update();
    rs.release();

    m_window.マスターID()->clear();
    m_window.マスターパスワード()->clear();
    m_window.maskPasswords();
    m_window.EnableCreatorControls();
    m_window.returnToStart(false);
}
