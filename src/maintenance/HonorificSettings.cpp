// SPDX-License-Identifier: MIT
#include "maintenance/HonorificSettings.h"

#include "RuntimeError.h"
#include "database/Values.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/StoredValues.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The option button of a stored choice; a value without one is reported with the column it came from.
QRadioButton* optionFor(QRadioButton* (MaintenanceWindow::*option)(int) const,
                        const MaintenanceWindow& window, qint16 value, const char* column)
{
    if (value != 0 && value != 1)
        throw RuntimeError(ErrorNumber::NoControlArrayElement,
                           QStringLiteral("コントロール配列の要素 '%1' は存在しません。(MST.%2)")
                               .arg(value)
                               .arg(QLatin1String(column)));
    return (window.*option)(value);
}

} // namespace

void ShowHonorificSettings(MaintenanceProgram& main, MaintenanceWindow& window)
{
    SharedRecordset& rs = *main.SharedRecordset;
    rs.open(storedvalues::kMasterRow, *main.DbConnection);
    main.HonorificSetting = values::toInteger16(rs.field(QStringLiteral("compellation")));
    main.RuledLineSetting = values::toInteger16(rs.field(QStringLiteral("ruling")));
    rs.release();
    optionFor(&MaintenanceWindow::Option敬称, window, main.HonorificSetting, "compellation")
        ->setChecked(true);
    optionFor(&MaintenanceWindow::Option罫線, window, main.RuledLineSetting, "ruling")->setChecked(true);
}

HonorificActions::HonorificActions(MaintenanceProgram& main, MaintenanceWindow& window)
    : QObject(&window), m_main(main), m_window(window)
{
    connect(window.敬称設定変更(), &QPushButton::clicked, this, &HonorificActions::on敬称設定変更Clicked);
}

void HonorificActions::on敬称設定変更Clicked()
{
    storedvalues::writeMasterRow(
        m_main,
        {{QStringLiteral("compellation"), storedvalues::whole16(m_window.Option敬称(0)->isChecked() ? 0 : 1)},
         {QStringLiteral("ruling"), storedvalues::whole16(m_window.Option罫線(0)->isChecked() ? 0 : 1)}});

    // The save also ends whatever was typed on the master page.
    m_window.マスターID()->clear();
    m_window.マスターパスワード()->clear();
    m_window.maskPasswords();
}
