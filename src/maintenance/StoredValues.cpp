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
    bool ok = false;
    const double stored =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok)
        throw RuntimeError(ErrorNumber::TypeMismatch,
                           QStringLiteral("型が一致しません。(%1)").arg(value.toString()));
    return stored == double(number);
}

QVariant whole16(qint16 value)
{
    return QVariant(int(value));
}

void noRowToSave(const QString& table)
{
    throw RuntimeError(
        ErrorNumber::NoCurrentRecord,
        QStringLiteral("BOF と EOF のいずれかが True になっているか、または現在のレコードが削除されています。"
                       "要求された操作には、現在のレコードが必要です。(%1)")
            .arg(table));
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
