// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

struct DatabaseState;
struct MaintenanceState;
class MaintenanceWindow;
namespace platform {
class MessageBoxes;
}

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

// Item 0 of the creator list; it holds no creator and stands for a new one.
inline const QString kChooseCreatorItem = QStringLiteral("選択して下さい");

// Rebuilds the creator list 作成者検索 and CreatorEntries from the live rows of 作成者: every live creator
// filtered by Setting row 1 (CreatorSearchMode 0), or those whose name (1) or reading (2) contains the
// text of 検索氏名 or 検索フリガナ as it stands now; sorted by Setting row 1. A search that finds no one
// says so; the list then holds item 0 only and CreatorEntries keep their previous contents.
//
// It only changes the box's items and text, which never counts as the user's pick of an item.
void FillCreatorList(DatabaseState& database, MaintenanceState& state, platform::MessageBoxes& messages,
                     MaintenanceWindow& window);

// The line of the creator list that shows a creator: the ID right-aligned in ten characters, an
// ideographic space, then 名前、ふりがな、住所 (an empty field adds nothing; its separator stays).
QString CreatorLine(const CreatorEntry& entry);

// The record-set filter of a name (mode 1) or reading (mode 2) search for the given text: a LIKE with a
// wildcard at both ends, the text quoted with QuoteSql between them.
QString CreatorSearchFilter(qint16 mode, const QString& text);
