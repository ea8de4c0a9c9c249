// SPDX-License-Identifier: MIT
#include "maintenance/CreatorList.h"

#include "database/Database.h"
#include "database/DatabaseState.h"
#include "database/Values.h"
#include "maintenance/MaintenanceState.h"
#include "maintenance/MaintenanceWindow.h"
#include "maintenance/SearchSetting.h"
#include "platform/MessageBoxes.h"

#include "ui_CreatorPage.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>

QString CreatorLine(const CreatorEntry& entry)
{
    static const QString blanks(9, QLatin1Char(' '));
    const QString id = QString(blanks + QString::number(entry.ID)).right(10);
    return id + QChar(0x3000) + entry.名前 + QStringLiteral("、") + entry.ふりがな + QStringLiteral("、") +
           entry.住所;
}

QString CreatorSearchFilter(qint16 mode, const QString& text)
{
    const QString column = mode == 1 ? QStringLiteral("名前") : QStringLiteral("フリガナ");
    return column + QStringLiteral(" Like '*") + QuoteSql(text) + QStringLiteral("*'");
}

void FillCreatorList(DatabaseState& database, MaintenanceState& state, platform::MessageBoxes& messages,
                     MaintenanceWindow& window)
{
    const Ui::CreatorPage& page = window.creatorPage();
    QComboBox* list = page.作成者検索;
    list->clear();
    list->addItem(kChooseCreatorItem);
    list->setCurrentIndex(0);
    list->setEditText(kChooseCreatorItem);

    LoadSearchSetting(database, state, 1);

    SharedRecordset& rs = *database.SharedRecordset;
    rs.setCursorLocation(SharedRecordset::ClientSideCursor);
    rs.open(QStringLiteral("作成者 WHERE 削除日 IS NULL"), *database.DbConnection);

    const qint16 mode = state.CreatorSearchMode;
    switch (mode) {
    case 1:
        rs.setFilter(CreatorSearchFilter(1, page.検索氏名->text()));
        break;
    case 2:
        rs.setFilter(CreatorSearchFilter(2, page.検索フリガナ->text()));
        break;
    default:
        rs.setFilter(state.SearchFilterText);
        break;
    }

    if (rs.recordCount() == 0) {
        rs.release();
        if (mode == 1)
            messages.information(QStringLiteral("作成者"), QStringLiteral("該当の氏名はありません。"));
        else if (mode == 2)
            messages.information(QStringLiteral("作成者"), QStringLiteral("該当のフリガナはありません。"));
        return;
    }

    if (!rs.eof()) {
        const int n = rs.recordCount();
        rs.setSort(state.SearchSortText);
        std::vector<CreatorEntry>& entries = state.CreatorEntries;
        entries.clear();
        entries.resize(size_t(n) + 1);
        QStringList lines;
        lines.reserve(n);
        const auto text = [&rs](const QString& column) { return values::textOrEmpty(rs.field(column)); };
        for (int k = 1; k <= n; ++k) {
            CreatorEntry& entry = entries[size_t(k)];
            entry.ID = values::toInteger32(rs.field(QStringLiteral("ID")));
            entry.password = text(QStringLiteral("password"));
            entry.名前 = text(QStringLiteral("名前"));
            entry.ふりがな = text(QStringLiteral("ふりがな"));
            entry.郵便番号 = text(QStringLiteral("郵便番号"));
            entry.住所 = text(QStringLiteral("住所"));
            entry.電話 = text(QStringLiteral("電話"));
            entry.携帯電話 = text(QStringLiteral("携帯電話"));
            entry.fax = text(QStringLiteral("fax"));
            lines.append(CreatorLine(entry));
            rs.moveNext();
        }
        // One insertion of all lines, in order; the box itself never sorts them.
        list->addItems(lines);
    }

    rs.release();
}
