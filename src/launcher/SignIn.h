// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

struct DatabaseState;

// The two sign-ins of the start window without its widgets: the look-up of the typed ID in the database
// and the exact, case-sensitive comparison. The start window shows the outcome's message and empties its
// boxes as the outcome asks. Both take non-empty texts; the result is released before they return.
enum class SignInOutcome { NotRegistered, WrongPassword, SignedIn };

struct CreatorSignIn
{
    SignInOutcome outcome = SignInOutcome::NotRegistered;
    qint64 creatorId = 0; // the signed-in creator's ID
};

// "SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=" and the ID as typed. An ID that is not a whole number
// in decimal digits is not registered, and no query is sent for it.
CreatorSignIn CheckCreator(DatabaseState& database, const QString& idText, const QString& password);

// "SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='" + QuoteSql(ID) + "'". The query finds the row
// without the blanks at the ends of the typed ID; the ID itself must then match exactly.
SignInOutcome CheckMaster(DatabaseState& database, const QString& masterId, const QString& password);

// Whether a typed creator ID is a whole number in decimal digits, blanks at its ends allowed.
bool IsCreatorIdText(const QString& text);

// Leaves the creator's ID as the one row of the hand-off table temp.
void HandOffCreator(DatabaseState& database, qint64 creatorId);
