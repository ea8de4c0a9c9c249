// SPDX-License-Identifier: MIT
#pragma once

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
