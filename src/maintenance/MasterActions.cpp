// SPDX-License-Identifier: MIT
#include "maintenance/MasterActions.h"

#include "maintenance/CreatorPageLock.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/StoredValues.h"
#include "platform/MessageBoxes.h"

#include "ui_MasterPage.h"

#include <QLineEdit>
#include <QPushButton>

MasterActions::MasterActions(DatabaseState& database, platform::MessageBoxes& messages,
                             MaintenanceWindow& window)
    : QObject(&window), m_database(database), m_messages(messages), m_window(window)
{
    connect(window.masterPage().マスター変更, &QPushButton::clicked, this,
            &MasterActions::onマスター変更Clicked);
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
    const Ui::MasterPage& page = m_window.masterPage();
    page.マスター終了->setFocus();
    CreatorPageLock lock(m_window);

    const QString masterId = page.マスターID->text();
    const QString password = page.マスターパスワード->text();
    // A text of blanks only counts as filled.
    if (masterId.isEmpty() || password.isEmpty()) {
        m_messages.critical(QStringLiteral("マスター"),
                            QStringLiteral("マスターID、マスターパスワードを正しく設定して下さい"));
        return;
    }

    // The old pair is replaced, so a pair the start window could never match would lock the maintenance
    // window out for good.
    if (!canSignInWith(masterId, password)) {
        m_messages.critical(QStringLiteral("マスター"), unusablePairText());
        return;
    }

    storedvalues::writeMasterRow(
        m_database, {{QStringLiteral("masterID"), masterId}, {QStringLiteral("password"), password}});

    m_window.clearMasterFields();
    m_window.maskPasswords();
    lock.unlock();
    m_window.returnToStart(false);
}
