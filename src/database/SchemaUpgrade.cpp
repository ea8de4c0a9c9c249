// SPDX-License-Identifier: MIT
#include "database/SchemaUpgrade.h"

#include "RuntimeError.h"
#include "database/DatabaseState.h"
#include "database/Transaction.h"
#include "database/Values.h"

#include <QStringList>

#include <cmath>

namespace {

const QString kStampSentence = QStringLiteral("説明を受け、同意し、交付を受けました。");

// Columns that the oldest form of 利用者 lacks, in the order they are added.
const char* const kRecipientColumns[][2] = {
    {"郵便番号保険証", "VARCHAR(8)"},
    {"住所保険証", "VARCHAR(255)"},
    {"名前請求先", "VARCHAR(100)"},
    {"フリガナ請求先", "VARCHAR(100)"},
    {"郵便番号請求先", "VARCHAR(8)"},
    {"住所請求先", "VARCHAR(255)"},
    {"電話請求先", "VARCHAR(20)"},
    {"携帯電話請求先", "VARCHAR(20)"},
    {"fax請求先", "VARCHAR(20)"},
    {"保険者名", "VARCHAR(50)"},
    {"届出日", "Datetime"},
    {"開始日", "Datetime"},
    {"中止日", "Datetime"},
    {"中止理由", "Text"},
    {"給付率", "Double"},
    {"利用上限額", "Integer"},
    {"自己負担上限額", "Integer"},
    {"email", "VARCHAR(255)"},
    {"健康保険保険者番号", "VARCHAR(20)"},
    {"健康保険保険証記号", "VARCHAR(20)"},
    {"健康保険保険証番号", "VARCHAR(20)"},
    {"健康保険負担割合", "Double"},
    {"健康保険本人支払額", "VARCHAR(20)"},
    {"老人保険市町村番号", "VARCHAR(20)"},
    {"老人保険受給者番号", "VARCHAR(20)"},
    {"生活保護負担者番号", "VARCHAR(20)"},
    {"生活保護受給者番号", "VARCHAR(20)"},
    {"生活保護本人支払額", "VARCHAR(20)"},
    {"公費負担名称1", "VARCHAR(20)"},
    {"負担者番号1", "VARCHAR(20)"},
    {"受給者番号1", "VARCHAR(20)"},
    {"本人支払額1", "VARCHAR(20)"},
    {"公費負担名称2", "VARCHAR(20)"},
    {"負担者番号2", "VARCHAR(20)"},
    {"受給者番号2", "VARCHAR(20)"},
    {"本人支払額2", "VARCHAR(20)"},
    {"公費負担名称3", "VARCHAR(20)"},
    {"負担者番号3", "VARCHAR(20)"},
    {"受給者番号3", "VARCHAR(20)"},
    {"本人支払額3", "VARCHAR(20)"},
    {"公費負担名称4", "VARCHAR(20)"},
    {"負担者番号4", "VARCHAR(20)"},
    {"受給者番号4", "VARCHAR(20)"},
    {"本人支払額4", "VARCHAR(20)"},
    {"備考", "Text"},
};

QString rightChars(const QString& text, int count)
{
    return text.size() <= count ? text : text.right(count);
}

void executeAll(DbConnection& db, const QStringList& statements)
{
    for (const QString& statement : statements)
        db.execute(statement);
}

// Step for 1040: only the version and the update time change.
void upgradeFrom1040(DatabaseState& database)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("MST"), *database.DbConnection);
    rs.setField(QStringLiteral("dbver"), kCurrentSchemaVersion);
    rs.setField(QStringLiteral("更新日"), values::now());
    rs.update();
    rs.release();
}

void upgradeFrom1030(DatabaseState& database)
{
    executeAll(*database.DbConnection, {
                                           QStringLiteral("ALTER TABLE MST ADD compellation Integer"),
                                           QStringLiteral("ALTER TABLE MST ADD ruling Integer"),
                                       });
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("MST"), *database.DbConnection);
    rs.setField(QStringLiteral("dbver"), kCurrentSchemaVersion);
    rs.setField(QStringLiteral("compellation"), 0);
    rs.setField(QStringLiteral("ruling"), 0);
    rs.setField(QStringLiteral("更新日"), values::now());
    rs.update();
    rs.release();
}

void upgradeFrom1020(DatabaseState& database)
{
    executeAll(*database.DbConnection, {
                                           QStringLiteral("ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)"),
                                           QStringLiteral("ALTER TABLE MST ADD stamp Integer"),
                                           QStringLiteral("ALTER TABLE MST ADD stampcont Memo"),
                                           QStringLiteral("ALTER TABLE MST ADD compellation Integer"),
                                           QStringLiteral("ALTER TABLE MST ADD ruling Integer"),
                                       });
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("MST"), *database.DbConnection);
    rs.setField(QStringLiteral("dbver"), kCurrentSchemaVersion);
    rs.setField(QStringLiteral("stamp"), 0);
    rs.setField(QStringLiteral("stampcont"), kStampSentence);
    rs.setField(QStringLiteral("compellation"), 0);
    rs.setField(QStringLiteral("ruling"), 0);
    rs.setField(QStringLiteral("更新日"), values::now());
    rs.update();
    rs.release();
}

void convertProviderNumbers(DatabaseState& database)
{
    SharedRecordset& rs = *database.SharedRecordset;
    const QString column = QStringLiteral("事業者番号");

    rs.open(QStringLiteral("事業者"), *database.DbConnection);
    QStringList numbers;
    numbers.reserve(rs.recordCount());
    for (int i = 0, n = rs.recordCount(); i < n; ++i) {
        numbers.append(upgrade::providerNumberText(rs.field(column)));
        rs.moveNext();
    }
    rs.release();

    executeAll(*database.DbConnection, {
                                           QStringLiteral("ALTER TABLE 事業者 DROP 事業者番号"),
                                           QStringLiteral("ALTER TABLE 事業者 ADD 事業者番号 VARCHAR(10)"),
                                       });

    // Rows are matched with the reading pass by their position in the table's natural order.
    rs.open(QStringLiteral("事業者"), *database.DbConnection);
    for (int i = 0, n = rs.recordCount(); i < n && i < numbers.size(); ++i) {
        const QString& number = numbers.at(i);
        rs.setField(column, number.size() < 2 ? QVariant() : QVariant(number));
        rs.moveNext();
    }
    rs.release();
}

void convertRecipientNumbers(DatabaseState& database)
{
    SharedRecordset& rs = *database.SharedRecordset;
    const QString insured = QStringLiteral("被保険者番号");
    const QString insurer = QStringLiteral("保険者番号");

    rs.open(QStringLiteral("利用者"), *database.DbConnection);
    QStringList insuredNumbers;
    QStringList insurerNumbers;
    insuredNumbers.reserve(rs.recordCount());
    insurerNumbers.reserve(rs.recordCount());
    for (int i = 0, n = rs.recordCount(); i < n; ++i) {
        insuredNumbers.append(upgrade::paddedNumberText(rs.field(insured), 10));
        insurerNumbers.append(upgrade::paddedNumberText(rs.field(insurer), 6));
        rs.moveNext();
    }
    rs.release();

    rs.open(QStringLiteral("利用者"), *database.DbConnection);
    for (int i = 0, n = rs.recordCount(); i < n && i < insuredNumbers.size(); ++i) {
        const QString& a = insuredNumbers.at(i);
        const QString& b = insurerNumbers.at(i);
        rs.setField(insured, a.isEmpty() ? QVariant() : QVariant(a));
        rs.setField(insurer, b.isEmpty() ? QVariant() : QVariant(b));
        rs.moveNext();
    }
    rs.release();
}

void upgradeUnversioned(DatabaseState& database)
{
    DbConnection& db = *database.DbConnection;
    executeAll(db, {
                       QStringLiteral("ALTER TABLE MST ADD dbver Integer"),
                       QStringLiteral("ALTER TABLE MST ADD stamp Integer"),
                       QStringLiteral("ALTER TABLE MST ADD stampcont Memo"),
                       QStringLiteral("ALTER TABLE MST ADD compellation Integer"),
                       QStringLiteral("ALTER TABLE MST ADD ruling Integer"),
                   });

    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("MST"), db);
    rs.setField(QStringLiteral("stamp"), 0);
    rs.setField(QStringLiteral("stampcont"), kStampSentence);
    rs.setField(QStringLiteral("compellation"), 0);
    rs.setField(QStringLiteral("ruling"), 0);
    rs.setField(QStringLiteral("dbver"), kCurrentSchemaVersion);
    rs.update();
    rs.release();

    for (const auto& column : kRecipientColumns)
        db.execute(QStringLiteral("ALTER TABLE 利用者 ADD ") + QString::fromUtf8(column[0]) +
                   QLatin1Char(' ') + QString::fromUtf8(column[1]));
    db.execute(QStringLiteral("ALTER TABLE 計画書 ADD 名前印 VARCHAR(100)"));

    convertProviderNumbers(database);
    convertRecipientNumbers(database);
}

// The probe: a database whose MST has no dbver column is the oldest form. This is the one failure the
// upgrade expects, so it is the one it catches, once the engine's catalogue confirms that MST is there
// without the column; any other failure (a damaged file, a lock) is what it is, not an older schema.
bool hasVersionColumn(DatabaseState& database)
{
    try {
        database.SharedRecordset->open(QStringLiteral("SELECT dbver from MST"), *database.DbConnection);
    } catch (const RuntimeError&) {
        const QStringList columns = database.DbConnection->columnsOf(QStringLiteral("MST"));
        if (!columns.isEmpty() && !columns.contains(QStringLiteral("dbver"), Qt::CaseInsensitive))
            return false;
        throw;
    }
    database.SharedRecordset->release();
    return true;
}

void upgradeToCurrent(DatabaseState& database)
{
    if (!hasVersionColumn(database)) {
        upgradeUnversioned(database);
        return;
    }
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("MST"), *database.DbConnection);
    const qint32 version = values::toInteger32(rs.field(QStringLiteral("dbver")));
    rs.release();

    switch (version) {
    case 1020:
        upgradeFrom1020(database);
        break;
    case 1030:
        upgradeFrom1030(database);
        break;
    case 1040:
        upgradeFrom1040(database);
        break;
    default:
        break; // current, or a version this program does not know: left as it is
    }
}

} // namespace

void UpgradeSchema(DatabaseState& database)
{
    // A failure undoes the part that ran and goes on to the run-time error report.
    Transaction upgrade(*database.DbConnection, *database.SharedRecordset);
    upgradeToCurrent(database);
    upgrade.commit();
}

namespace upgrade {

QString providerNumberText(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("0000000000");
    double number = 0;
    QString formatted;
    if (values::readNumber(value, number)) {
        if (number == 0)
            return QStringLiteral("0");
        // "000000000#": a whole number, rounded half away from zero, with at least ten digits.
        const double whole = std::round(number);
        formatted = QString::number(std::fabs(whole), 'f', 0).rightJustified(10, QLatin1Char('0'));
        if (whole < 0)
            formatted.prepend(QLatin1Char('-'));
    } else {
        formatted = value.toString(); // a text that is no number is formatted as it stands
    }
    return rightChars(QStringLiteral("0000000000") + values::trimBlanks(formatted), 10);
}

QString paddedNumberText(const QVariant& value, int width)
{
    if (value.isNull())
        return QString();
    const QString text = value.toString();
    if (text.isEmpty())
        return QString();
    return rightChars(QString(width, QLatin1Char('0')) + values::trimBlanks(text), width);
}

} // namespace upgrade
