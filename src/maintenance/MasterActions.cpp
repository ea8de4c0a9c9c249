// SPDX-License-Identifier: MIT
#include "maintenance/MasterActions.h"

#include "database/Transaction.h"
#include "database/Values.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"

#include <QLineEdit>
#include <QPushButton>

MasterActions::MasterActions(MaintenanceProgram& main, MaintenanceWindow& window)
    : QObject(&window), m_main(main), m_window(window)
{
    connect(window.マスター変更(), &QPushButton::clicked, this, &MasterActions::onマスター変更Clicked);
}

QString MasterActions::unusablePairText()
{
    return QStringLiteral("マスターIDは前後に空白を付けず、マスターID、マスターパスワードとも%1文字以内で"
                          "設定して下さい。")
        .arg(kSignInTextLimit);
}

bool MasterActions::canSignInWith(const QString& masterId, const QString& password)
{
    // The sign-in finds the row by the ID without the blanks at its ends and then compares the ID as
    // typed, so an ID with a blank at either end never matches; its boxes take kSignInTextLimit
    // characters. A blank inside the ID, and any blank in the password, can be typed and matched.
    const auto blank = QLatin1Char(' ');
    return masterId.size() <= kSignInTextLimit && password.size() <= kSignInTextLimit &&
           !masterId.startsWith(blank) && !masterId.endsWith(blank);
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

    // The old pair is replaced, so a pair the start window could never match would lock the maintenance
    // window out for good.
    if (!canSignInWith(masterId, password)) {
        m_main.messageBoxes->critical(QStringLiteral("マスター"), unusablePairText());
        m_window.EnableCreatorControls();
        return;
    }

    SharedRecordset& rs = *m_main.SharedRecordset;
    Transaction change(*m_main.DbConnection, rs);
    rs.open(QStringLiteral("MST WHERE 削除日 IS NULL AND ID = 1"), *m_main.DbConnection);
    rs.setField(QStringLiteral("masterID"), masterId);
    rs.setField(QStringLiteral("password"), password);
    rs.setField(QStringLiteral("更新日"), values::now());
    rs.update();
    rs.release();
    change.commit();

    m_window.マスターID()->clear();
    m_window.マスターパスワード()->clear();
    m_window.maskPasswords();
    m_window.EnableCreatorControls();
    m_window.returnToStart(false);
}
