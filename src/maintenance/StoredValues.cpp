// SPDX-License-Identifier: MIT
#include "maintenance/StoredValues.h"

#include "RuntimeError.h"
#include "database/Database.h"
#include "database/DatabaseState.h"
#include "database/Transaction.h"
#include "database/Values.h"

namespace storedvalues {

bool equals(const QVariant& value, int number)
{
    if (value.isNull())
        return false;
    double stored = 0;
    if (!values::readNumber(value, stored))
        throw runtimeerror::typeMismatch(value.toString());
    return stored == double(number);
}

QVariant whole16(qint16 value)
{
    return QVariant(int(value));
}

void openSettingsForSave(DatabaseState& database)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("Setting"), *database.DbConnection);
    if (rs.eof()) {
        rs.release();
        throw runtimeerror::noCurrentRecord(QStringLiteral("Setting"));
    }
}

void writeMasterRow(DatabaseState& database, std::initializer_list<std::pair<QString, QVariant>> columns)
{
    SharedRecordset& rs = *database.SharedRecordset;
    Transaction save(*database.DbConnection, rs);
    rs.open(kLiveMasterRow, *database.DbConnection);
    for (const auto& [column, value] : columns)
        rs.setField(column, value);
    rs.setField(QStringLiteral("更新日"), values::now());
    rs.update();
    rs.release();
    save.commit();
}

} // namespace storedvalues
