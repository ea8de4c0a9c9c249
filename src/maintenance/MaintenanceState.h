// SPDX-License-Identifier: MIT
#pragma once

#include "maintenance/CreatorList.h"
#include "maintenance/SearchSetting.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// The state of the maintenance window that lives for the whole run: the two settings of the master row,
// the creator list's search mode, the creator list and the search settings.
struct MaintenanceState
{
    // MST.compellation and MST.ruling as read at start-up and at each fill of the 敬称・罫線 page.
    qint16 HonorificSetting = 0;
    qint16 RuledLineSetting = 0;
    // Which creator list the maintenance window shows: 0 all, 1 name search, 2 reading search.
    qint16 CreatorSearchMode = 0;

    // Entry k describes item k of the creator list; entry 0 belongs to "選択して下さい" and holds no creator.
    std::vector<CreatorEntry> CreatorEntries;
    SettingRecord CurrentSetting;
    QString SearchFilterText;
    QString SearchSortText;
    // The current creator, used in the filter text of lists limited to the creator's own records; nothing
    // in the launcher assigns it.
    qint32 CurrentCreatorId = 0;
};
