// SPDX-License-Identifier: MIT
#pragma once

#include "database/DatabaseState.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// One listed creator, as the creator list read it from 作成者. A null or empty text column is the empty text.
struct CreatorEntry
{
    qint32 ID = 0;
    QString password;
    QString 名前;
    QString ふりがな;
    QString 郵便番号;
    QString 住所;
    QString 電話;
    QString 携帯電話;
    QString fax;
};

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

// The state of the maintenance window that lives for the whole run.
struct MaintenanceState
{
    // Entry k describes item k of the creator list; entry 0 belongs to "選択して下さい" and holds no creator.
    std::vector<CreatorEntry> CreatorEntries;
    SettingRecord CurrentSetting;
    QString SearchFilterText;
    QString SearchSortText;
    // The current creator, used in the filter text of lists limited to the creator's own records; nothing
    // in the launcher assigns it.
    qint32 CurrentCreatorId = 0;
};

// The program-wide state the maintenance window's operations use: the database's, the two settings of
// the master row, the creator list's search mode and the window's own state.
struct MaintenanceProgram : DatabaseState
{
    using DatabaseState::DatabaseState;

    // MST.compellation and MST.ruling as read at start-up and at each fill of the 敬称・罫線 page.
    qint16 HonorificSetting = 0;
    qint16 RuledLineSetting = 0;
    // Which creator list the maintenance window shows: 0 all, 1 name search, 2 reading search.
    qint16 CreatorSearchMode = 0;

    // The creator list and the search settings of the maintenance window.
    MaintenanceState maintenance;
};
