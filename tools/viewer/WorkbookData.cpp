// SPDX-License-Identifier: MIT
#include "viewer/WorkbookData.h"

#include "database/Database.h"
#include "database/DatabaseState.h"
#include "database/Values.h"
#include "environment/WindowsIdentification.h"

#include <QDir>

#include <cmath>
#include <initializer_list>
#include <optional>

namespace {

// The lookup lists by Setting.ID.
const QString kListNames[] = {
    QStringLiteral("作成者"),     QStringLiteral("利用者"),   QStringLiteral("事業者"),
    QStringLiteral("意向"),       QStringLiteral("種類"),     QStringLiteral("方針"),
    QStringLiteral("課題"),       QStringLiteral("長期目標"), QStringLiteral("短期目標"),
    QStringLiteral("期間"),       QStringLiteral("内容"),     QStringLiteral("種別"),
    QStringLiteral("提供事業所"), QStringLiteral("頻度"),     QStringLiteral("計画書"),
    QStringLiteral("所属")};

struct Code
{
    qint64 value;
    QString text;
};

// A whole number as the database holds it (a number, or a text of digits); nothing for a null, a fraction
// or anything else.
std::optional<qint64> wholeNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double number =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number != std::floor(number) || std::fabs(number) > 9.0e15)
        return std::nullopt;
    return qint64(number);
}

QString unknown(const QVariant& value)
{
    return QStringLiteral("不明な値 (%1)").arg(value.toString());
}

// The word for a coded value; `otherwise`, when given, stands for every other number.
QString describe(const QVariant& value, std::initializer_list<Code> codes, const QString& otherwise = {})
{
    if (value.isNull())
        return kNotSet;
    const std::optional<qint64> number = wholeNumber(value);
    if (!number)
        return unknown(value);
    for (const Code& code : codes) {
        if (code.value == *number)
            return code.text;
    }
    return otherwise.isEmpty() ? unknown(value) : otherwise;
}

void readCreator(DatabaseState& database, WorkbookData& data)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("temp"), *database.DbConnection);
    const QVariant id = rs.eof() ? QVariant() : rs.field(QStringLiteral("ID"));
    rs.release();
    if (id.isNull()) {
        data.creatorName = kNoCreator;
        return;
    }
    data.creatorId = id.toString();
    const std::optional<qint64> number = wholeNumber(id);
    if (!number) {
        data.creatorNote = QStringLiteral("ID が数ではありません");
        return;
    }
    rs.open(QStringLiteral("SELECT * FROM 作成者 WHERE ID=") + QString::number(*number),
            *database.DbConnection);
    if (rs.eof()) {
        data.creatorNote = QStringLiteral("作成者に登録されていません");
    } else {
        data.creatorId = QString::number(*number);
        data.creatorName = values::textOrEmpty(rs.field(QStringLiteral("名前")));
        data.creatorReading = values::textOrEmpty(rs.field(QStringLiteral("ふりがな")));
        if (!rs.field(QStringLiteral("削除日")).isNull())
            data.creatorNote = QStringLiteral("削除済みの作成者です");
    }
    rs.release();
}

void readMaster(DatabaseState& database, WorkbookData& data)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(kLiveMasterRow, *database.DbConnection);
    if (rs.eof()) {
        data.honorific = data.ruledLines = data.stamp = data.stampSentence = kNoMasterRow;
    } else {
        data.honorific = describe(rs.field(QStringLiteral("compellation")),
                                  {{0, QStringLiteral("様")}, {1, QStringLiteral("殿")}});
        data.ruledLines = describe(rs.field(QStringLiteral("ruling")),
                                   {{0, QStringLiteral("なし")}, {1, QStringLiteral("あり")}});
        // Only 1 shows the sentence; any other value, null included, does not.
        const std::optional<qint64> stamp = wholeNumber(rs.field(QStringLiteral("stamp")));
        data.stamp = stamp == 1 ? QStringLiteral("あり") : QStringLiteral("なし");
        const QString sentence = values::textOrEmpty(rs.field(QStringLiteral("stampcont")));
        data.stampSentence = sentence.isEmpty() ? kNone : sentence;
    }
    rs.release();
}

void readSettings(DatabaseState& database, WorkbookData& data)
{
    SharedRecordset& rs = *database.SharedRecordset;
    rs.open(QStringLiteral("Setting"), *database.DbConnection);
    for (int id = 1; id <= 16; ++id) {
        rs.setFilter(QStringLiteral("ID = ") + QString::number(id));
        ListSetting list;
        list.id = id;
        list.list = kListNames[id - 1];
        if (rs.eof()) {
            list.filter = list.sort = list.order = kNoSettingRow;
        } else {
            list.filter = describe(rs.field(QStringLiteral("Filter")),
                                   {{0, QStringLiteral("全員")}, {1, QStringLiteral("作成者")}});
            list.sort = describe(rs.field(QStringLiteral("Sort")), {{0, QStringLiteral("なし")},
                                                                    {1, QStringLiteral("使用頻度")},
                                                                    {2, QStringLiteral("更新日")},
                                                                    {3, QStringLiteral("作成日")},
                                                                    {4, QStringLiteral("名前")},
                                                                    {5, QStringLiteral("フリガナ")}});
            list.order = describe(rs.field(QStringLiteral("Set1")), {{0, QStringLiteral("昇順")}},
                                  QStringLiteral("降順"));
            list.deleted = !rs.field(QStringLiteral("削除日")).isNull();
        }
        data.lists.append(list);

        const QString item = id == 8    ? QStringLiteral("長期目標の期間")
                             : id == 9  ? QStringLiteral("短期目標の期間")
                             : id == 12 ? QStringLiteral("サービス種別の期間")
                                        : QString();
        if (!item.isEmpty()) {
            const QString method =
                rs.eof() ? kNoSettingRow
                         : describe(rs.field(QStringLiteral("Set2")), {{0, QStringLiteral("期間と範囲")},
                                                                       {1, QStringLiteral("期間のみ")},
                                                                       {2, QStringLiteral("範囲のみ")}});
            data.periods.append({id, item, method});
        }
    }
    rs.release();
}

} // namespace

WorkbookData ReadWorkbookData(DatabaseState& database)
{
    WorkbookData data;
    readCreator(database, data);
    readMaster(database, data);
    readSettings(database, data);
    return data;
}

WorkbookData LoadWorkbookData(DatabaseState& database, const platform::Environment& environment)
{
    database.WindowsVersionCode = IdentifyWindowsVersion(environment);
    database.VirtualStorePath = ResolveVirtualStorePath(database, environment);
    try {
        OpenDatabase(database, environment);
        WorkbookData data = ReadWorkbookData(database);
        CloseDatabase(database);
        return data;
    } catch (...) {
        CloseDatabase(database);
        throw;
    }
}

QString ViewerProgramFolder(const QString& applicationFolder)
{
    const QString folder = qEnvironmentVariable("HANAPLAN_PROGRAM_FOLDER");
    if (!folder.isEmpty())
        return QDir::fromNativeSeparators(folder);
    const QString programFiles = qEnvironmentVariable("ProgramFiles");
    if (!programFiles.isEmpty())
        return QDir::fromNativeSeparators(programFiles) + QStringLiteral("/Hanaplan");
    return applicationFolder;
}
