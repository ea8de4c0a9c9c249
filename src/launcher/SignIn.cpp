// SPDX-License-Identifier: MIT
#include "launcher/SignIn.h"

#include "database/Database.h"
#include "database/DatabaseState.h"

#include <QRegularExpression>

namespace {

// The sign-in's exact, case-sensitive comparison. A stored null password lets nobody in: the comparison
// must not count a null as equal to whatever was typed.
bool passwordMatches(const QVariant& stored, const QString& typed)
{
    return !stored.isNull() && stored.toString() == typed;
}

} // namespace

bool IsCreatorIdText(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^ *[0-9]+ *$"));
    return digits.match(text).hasMatch();
}

CreatorSignIn CheckCreator(DatabaseState& database, const QString& idText, const QString& password)
{
    if (!IsCreatorIdText(idText))
        return {SignInOutcome::NotRegistered};
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("SELECT * FROM 作成者 WHERE 削除日 IS NULL AND ID=") + idText,
            *database.DbConnection);
    CreatorSignIn result;
    if (rs.eof())
        result.outcome = SignInOutcome::NotRegistered;
    else if (!passwordMatches(rs.field(QStringLiteral("password")), password))
        result.outcome = SignInOutcome::WrongPassword;
    else
        result = {SignInOutcome::SignedIn, rs.field(QStringLiteral("ID")).toLongLong()};
    rs.release();
    return result;
}

SignInOutcome CheckMaster(DatabaseState& database, const QString& masterId, const QString& password)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("SELECT * FROM MST WHERE 削除日 IS NULL AND masterID='") + QuoteSql(masterId) +
                QStringLiteral("'"),
            *database.DbConnection);
    SignInOutcome outcome = SignInOutcome::SignedIn;
    if (rs.eof() || rs.field(QStringLiteral("masterID")).toString() != masterId)
        outcome = SignInOutcome::NotRegistered;
    else if (!passwordMatches(rs.field(QStringLiteral("password")), password))
        outcome = SignInOutcome::WrongPassword;
    rs.release();
    return outcome;
}

void HandOffCreator(DatabaseState& database, qint64 creatorId)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("DELETE * FROM temp"), *database.DbConnection);
    rs.open(QStringLiteral("SELECT * FROM temp"), *database.DbConnection);
    rs.addNew();
    rs.setField(QStringLiteral("ID"), creatorId);
    rs.update();
    rs.release();
}
