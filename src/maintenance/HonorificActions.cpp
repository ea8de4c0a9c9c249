// SPDX-License-Identifier: MIT
#include "maintenance/HonorificActions.h"

#include "database/Database.h"
#include "database/DatabaseState.h"
#include "database/Values.h"
#include "maintenance/ControlArray.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/StoredValues.h"

#include "ui_HonorificPage.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The option button of a stored choice: index 0 or 1 of a pair; a value without one is reported with the
// column it came from.
QRadioButton* optionFor(QRadioButton* first, QRadioButton* second, qint16 value, const char* column)
{
    if (value != 0 && value != 1)
        controlarray::missingElement(value, QStringLiteral("(MST.%1)").arg(QLatin1String(column)));
    return value == 0 ? first : second;
}

} // namespace

void ShowHonorificSettings(DatabaseState& database, MaintenanceState& state, MaintenanceWindow& window)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(kLiveMasterRow, *database.DbConnection);
    state.HonorificSetting = values::toInteger16(rs.field(QStringLiteral("compellation")));
    state.RuledLineSetting = values::toInteger16(rs.field(QStringLiteral("ruling")));
    rs.release();
    const Ui::HonorificPage& page = window.honorificPage();
    optionFor(page.Option敬称_0, page.Option敬称_1, state.HonorificSetting, "compellation")->setChecked(true);
    optionFor(page.Option罫線_0, page.Option罫線_1, state.RuledLineSetting, "ruling")->setChecked(true);
}

HonorificActions::HonorificActions(DatabaseState& database, MaintenanceWindow& window)
    : QObject(&window), m_database(database), m_window(window)
{
    connect(window.honorificPage().敬称設定変更, &QPushButton::clicked, this,
            &HonorificActions::on敬称設定変更Clicked);
}

void HonorificActions::on敬称設定変更Clicked()
{
    const Ui::HonorificPage& page = m_window.honorificPage();
    storedvalues::writeMasterRow(
        m_database,
        {{QStringLiteral("compellation"), storedvalues::whole16(page.Option敬称_0->isChecked() ? 0 : 1)},
         {QStringLiteral("ruling"), storedvalues::whole16(page.Option罫線_0->isChecked() ? 0 : 1)}});

    // The save also ends whatever was typed on the master page.
    m_window.clearMasterFields();
    m_window.maskPasswords();
}
