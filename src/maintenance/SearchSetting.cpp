// SPDX-License-Identifier: MIT
#include "maintenance/SearchSetting.h"

#include "database/DatabaseState.h"
#include "database/Values.h"
#include "maintenance/MaintenanceState.h"

namespace {

// A field as the row gives it: a null reads as the empty text.
QVariant orEmptyText(const QVariant& value)
{
    return value.isNull() ? QVariant(QString()) : value;
}

} // namespace

QString SearchFilterTextFor(qint32 filter, qint32 currentCreatorId)
{
    return filter == 1 ? QStringLiteral("作成者ID = ") + QString::number(currentCreatorId) : QString();
}

QString SearchSortTextFor(qint32 sort, qint32 set1)
{
    QString column;
    switch (sort) {
    case 1:
        column = QStringLiteral("使用頻度");
        break;
    case 2:
        column = QStringLiteral("更新日");
        break;
    case 3:
        column = QStringLiteral("作成日");
        break;
    case 4:
        column = QStringLiteral("名前");
        break;
    case 5:
        column = QStringLiteral("フリガナ");
        break;
    default:
        column = QStringLiteral("ID");
        break;
    }
    return column + (set1 == 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
}

void LoadSearchSetting(DatabaseState& database, MaintenanceState& state, const qint16& id)
{
    if (id < 1)
        return;
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("SELECT * FROM Setting WHERE 削除日 IS NULL AND ID =") + QString::number(id),
            *database.DbConnection);
    const auto whole = [&rs](const char* column) {
        return values::toInteger32(orEmptyText(rs.field(QString::fromUtf8(column))));
    };
    const auto text = [&rs](const char* column) {
        return values::textOrEmpty(rs.field(QString::fromUtf8(column)));
    };
    SettingRecord row;
    row.ID = whole("ID");
    row.Filter = whole("Filter");
    row.Sort = whole("Sort");
    row.Find = whole("Find");
    row.Set1 = whole("Set1");
    row.Set2 = whole("Set2");
    row.Set3 = whole("Set3");
    row.Set4 = whole("Set4");
    row.Set5 = whole("Set5");
    row.Cset1 = text("Cset1");
    row.Cset2 = text("Cset2");
    row.Cset3 = text("Cset3");
    row.作成日 = text("作成日");
    row.更新日 = text("更新日");
    row.削除日 = text("削除日");
    rs.release();

    state.CurrentSetting = row;
    state.SearchFilterText = SearchFilterTextFor(row.Filter, state.CurrentCreatorId);
    state.SearchSortText = SearchSortTextFor(row.Sort, row.Set1);
}
