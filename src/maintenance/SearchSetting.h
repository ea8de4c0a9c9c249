// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

struct DatabaseState;
struct MaintenanceState;

// The Setting row last read by LoadSearchSetting.
struct SettingRecord
{
    qint32 ID = 0;
    qint32 Filter = 0;
    qint32 Sort = 0;
    qint32 Find = 0;
    qint32 Set1 = 0;
    qint32 Set2 = 0;
    qint32 Set3 = 0;
    qint32 Set4 = 0;
    qint32 Set5 = 0;
    QString Cset1;
    QString Cset2;
    QString Cset3;
    QString 作成日;
    QString 更新日;
    QString 削除日;
};

// Reads the live Setting row `id` into CurrentSetting and turns it into SearchFilterText and SearchSortText,
// the filter and sort texts of its list's record set. An id below 1 reads nothing and changes nothing.
// A missing row, or a whole-number column without a number, is a run-time error.
void LoadSearchSetting(DatabaseState& database, MaintenanceState& state, const qint16& id);

// The filter text of a list: the current creator's records for Filter 1, else none.
QString SearchFilterTextFor(qint32 filter, qint32 currentCreatorId);
// The sort text of a list: its sort column (0 or an unknown code: ID) and direction (Set1 0 ascending).
QString SearchSortTextFor(qint32 sort, qint32 set1);
