// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

struct DatabaseState;
namespace platform {
class Environment;
}

// What the plan workbook reads from the database when it opens, each value in the words the maintenance
// window uses for it. The stand-in spreadsheet shows these, so that a person (or a test) can see what the
// launcher handed over.

// The period input method of one list (Setting.Set2 of rows 8, 9 and 12).
struct PeriodSetting
{
    int id = 0;     // the Setting row
    QString item;   // 長期目標の期間, 短期目標の期間, サービス種別の期間
    QString method; // 期間と範囲, 期間のみ, 範囲のみ
};

// The filter and sort of one lookup list (Setting rows 1 to 16).
struct ListSetting
{
    int id = 0;
    QString list;   // 作成者, 利用者, ... 所属
    QString filter; // Filter: 作成者 (the creator's own records) or 全員
    QString sort; // Sort: なし or the column sorted on (使用頻度, 更新日, 作成日, 名前, フリガナ)
    QString order;        // Set1: 昇順 or 降順
    bool deleted = false; // the row carries 削除日, so the workbook does not find it
};

struct WorkbookData
{
    // The creator handed over in temp: the ID, and 名前 and ふりがな from 作成者. Without a row in temp the
    // ID is empty and the name says so; a row of 作成者 that is missing or deleted is noted in creatorNote.
    QString creatorId;
    QString creatorName;
    QString creatorReading;
    QString creatorNote;

    // The live master row of MST.
    QString honorific;     // compellation: 様 or 殿
    QString ruledLines;    // ruling: なし or あり
    QString stamp;         // stamp: あり (1) or なし (any other value)
    QString stampSentence; // stampcont, or "(なし)" when there is none

    QList<PeriodSetting> periods; // rows 8, 9, 12
    QList<ListSetting> lists;     // rows 1 to 16
};

// Texts for what is not there.
inline const QString kNoCreator = QStringLiteral("(サインインした作成者はいません)");
inline const QString kNone = QStringLiteral("(なし)");
inline const QString kNotSet = QStringLiteral("(未設定)");
inline const QString kNoMasterRow = QStringLiteral("(MST に有効な行がありません)");
inline const QString kNoSettingRow = QStringLiteral("(行がありません)");

// Reads through the open database (SharedRecordset), releasing every result. A missing table or column
// throws RuntimeError; a missing row, a null or an unknown value is shown as such.
WorkbookData ReadWorkbookData(DatabaseState& database);

// Locates and opens the database exactly as the launcher does (IdentifyWindowsVersion,
// ResolveVirtualStorePath, OpenDatabase), reads it and closes it again, also after a failure, so that the
// database is not held while the viewer's window is up.
WorkbookData LoadWorkbookData(DatabaseState& database, const platform::Environment& environment);

// The launcher's folder, which the viewer takes as its program folder: the environment variable
// HANAPLAN_PROGRAM_FOLDER when it is set, else ProgramFiles + "/Hanaplan" when ProgramFiles is set, else
// the viewer's own folder.
QString ViewerProgramFolder(const QString& applicationFolder);
