// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct CreatorEntry;
struct MaintenanceProgram;
class MaintenanceWindow;

// Item 0 of the creator list; it holds no creator and stands for a new one.
inline const QString kChooseCreatorItem = QStringLiteral("選択して下さい");

// Rebuilds the creator list 作成者検索 and CreatorEntries from the live rows of 作成者: every live creator
// filtered by Setting row 1 (CreatorSearchMode 0), or those whose name (1) or reading (2) contains the
// text of 検索氏名 or 検索フリガナ as it stands now; sorted by Setting row 1. A search that finds no one
// says so; the list then holds item 0 only and CreatorEntries keep their previous contents.
//
// It only changes the box's items and text, which never counts as the user's pick of an item.
void FillCreatorList(MaintenanceProgram& main, MaintenanceWindow& window);

// The line of the creator list that shows a creator: the ID right-aligned in ten characters, an
// ideographic space, then 名前、ふりがな、住所 (an empty field adds nothing; its separator stays).
QString CreatorLine(const CreatorEntry& entry);

// The record-set filter of a name (mode 1) or reading (mode 2) search for the given text: a LIKE with a
// wildcard at both ends, the text quoted with QuoteSql between them.
QString CreatorSearchFilter(qint16 mode, const QString& text);
