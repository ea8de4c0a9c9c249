// SPDX-License-Identifier: MIT
#pragma once

#include "RuntimeError.h"
#include "database/RecordFilter.h"
#include "database/SqlText.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <exception>

// What must hold for any input of the fuzz targets of the filter, sort and statement texts. The targets and
// the test that replays saved inputs check the same rules. Each check returns an empty text when the input
// passes, otherwise what went wrong.
namespace fuzzchecks {

namespace detail {

inline constexpr int Width = 8;
inline constexpr int RowCount = 7;
using Row = std::array<QVariant, Width>;

// Columns of the creator and user tables that the maintenance window filters and sorts by.
inline const std::array<QString, Width>& columnNames()
{
    static const std::array<QString, Width> names = {
        QStringLiteral("ID"),       QStringLiteral("作成者ID"), QStringLiteral("名前"),
        QStringLiteral("ふりがな"), QStringLiteral("住所"),     QStringLiteral("使用頻度"),
        QStringLiteral("更新日"),   QStringLiteral("削除日"),
    };
    return names;
}

// Rows as the engine hands them to the record set: integers, reals, texts and nulls. 使用頻度 holds numbers
// and, in one row, a text, as the engine allows.
inline const std::array<Row, RowCount>& rows()
{
    const QVariant null;
    const auto t = [](const char* text) { return QVariant(QString::fromUtf8(text)); };
    static const std::array<Row, RowCount> all = {{
        {1LL, 0LL, t("山田花子"), t("ヤマダハナコ"), t("東京都*区"), 3LL, t("2005-04-01 09:00:00"), null},
        {2LL, 1LL, t("O'Neil"), t("おにーる"), t("100% 'quoted'"), 2.5, t("2024-12-31 23:59:59"), null},
        {8LL, null, t("yamada"), t("YAMADA"), t(""), 10LL, null, t("2020-01-01 00:00:00")},
        {9LL, 1LL, t("Yamada"), t("やまだ"), t("*"), -1LL, t("2005-04-01 09:00:00"), null},
        {12LL, 2LL, t(""), t("ﾔﾏﾀﾞ"), t("[x]"), 2.0, t("2005-04-01"), null},
        {13LL, 0LL, t("ＹＡＭＡＤＡ"), t("ヤマダ"), null, t("2"), t("2005-04-01 9:00"), null},
        {1000000LL, null, t("''"), null, t("%"), 2LL, null, null},
    }};
    return all;
}

// The record set's own lookup of the columns above.
inline int columnIndex(const QString& name)
{
    static const ColumnNames names = [] {
        ColumnNames n;
        n.assign(QStringList(columnNames().begin(), columnNames().end()));
        return n;
    }();
    return names.indexOf(name);
}

// The record set sorts with std::stable_sort, which needs a strict weak ordering.
inline QString checkOrdering(const RecordSort& sort)
{
    constexpr int n = RowCount;
    std::array<std::array<bool, n>, n> before{};
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b)
            before[a][b] = sort.less(rows()[a].data(), rows()[b].data());
    const auto same = [&](int a, int b) { return !before[a][b] && !before[b][a]; };
    for (int a = 0; a < n; ++a) {
        if (before[a][a])
            return QStringLiteral("row %1 sorts before itself").arg(a);
        for (int b = 0; b < n; ++b) {
            if (before[a][b] && before[b][a])
                return QStringLiteral("rows %1 and %2 each sort before the other").arg(a).arg(b);
            for (int c = 0; c < n; ++c) {
                if (before[a][b] && before[b][c] && !before[a][c])
                    return QStringLiteral("row %1 sorts before %2 and %2 before %3, but %1 not before %3")
                        .arg(a)
                        .arg(b)
                        .arg(c);
                if (same(a, b) && same(b, c) && !same(a, c))
                    return QStringLiteral("rows %1 and %2 sort as equal, %2 and %3 too, but %1 and %3 not")
                        .arg(a)
                        .arg(b)
                        .arg(c);
            }
        }
    }
    return QString();
}

// Values bound for a statement: the same in number, type and content.
inline bool sameValues(const QVariantList& bound, const QVariantList& written)
{
    if (bound.size() != written.size())
        return false;
    for (qsizetype i = 0; i < bound.size(); ++i)
        if (bound[i].typeId() != written[i].typeId() || bound[i] != written[i])
            return false;
    return true;
}

inline QString listed(const QVariantList& values)
{
    QStringList texts;
    for (const QVariant& v : values)
        texts.append(v.toString());
    return QLatin1Char('{') + texts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

template <typename Check> QString guarded(Check check)
{
    try {
        return check();
    } catch (const std::exception& e) {
        return QStringLiteral("threw %1").arg(QString::fromUtf8(e.what()));
    } catch (...) {
        return QStringLiteral("threw something other than an exception");
    }
}

} // namespace detail

// The input is a filter text and, after the first line break, a sort text. Each either parses or throws
// RuntimeError; what parses applies to the rows, and the sort orders them strictly.
inline QString checkRecordFilter(QByteArrayView input)
{
    return detail::guarded([input]() -> QString {
        const QString text = QString::fromUtf8(input);
        const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
        const QString filterText = lineBreak < 0 ? text : text.left(lineBreak);
        const QString sortText = lineBreak < 0 ? QString() : text.mid(lineBreak + 1);
        const ColumnLookup lookup = detail::columnIndex;

        RecordFilter filter;
        bool filterParsed = true;
        try {
            filter = RecordFilter::parse(filterText, lookup);
        } catch (const RuntimeError&) {
            filterParsed = false;
        }
        if (filterParsed) {
            for (const detail::Row& row : detail::rows())
                filter.matches(row.data());
        }

        RecordSort sort;
        try {
            sort = RecordSort::parse(sortText, lookup);
        } catch (const RuntimeError&) {
            return QString();
        }
        const QString disorder = detail::checkOrdering(sort);
        return disorder.isEmpty() ? QString() : QStringLiteral("sort %1: %2").arg(sortText, disorder);
    });
}

// The input is a whole statement, and a typed value as the program puts it into statements. Every literal
// reaches the engine as a bound value: the engine text keeps no literal, and the values give back the typed
// text exactly.
inline QString checkSqlBinder(QByteArrayView input)
{
    return detail::guarded([input]() -> QString {
        const QString text = QString::fromUtf8(input);

        // Binding what the binder gives back finds nothing more to bind.
        const sqltext::EngineStatement once = sqltext::forEngine(text);
        const sqltext::EngineStatement twice = sqltext::forEngine(once.text);
        if (twice.text != once.text || !twice.values.isEmpty())
            return QStringLiteral("engine text %1 still holds a literal").arg(once.text);

        const auto expect = [](const QString& statement, const QString& engineText,
                               const QVariantList& values) {
            const sqltext::EngineStatement bound = sqltext::forEngine(statement);
            if (bound.text != engineText || !detail::sameValues(bound.values, values))
                return QStringLiteral("%1 became %2 with %3, not %4 with %5")
                    .arg(statement, bound.text, detail::listed(bound.values), engineText,
                         detail::listed(values));
            return QString();
        };

        QString quoted = text;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        const QString master = QStringLiteral("SELECT * FROM MST WHERE 削除日 IS NULL AND masterID=");
        QString failure = expect(master + QLatin1Char('\'') + quoted + QLatin1Char('\''),
                                 master + QLatin1Char('?'), {text});
        if (!failure.isEmpty())
            return failure;

        // A record number made of the input's digits, as the program writes numbers into statements; and the
        // record set's form of a table query, with the table name quoted.
        QString digits;
        for (const QChar c : text)
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits.size() < 9)
                digits += c;
        const qlonglong id = digits.toLongLong();
        const QString creator = QStringLiteral("SELECT * FROM 作成者 WHERE ID=");
        failure = expect(creator + QString::number(id), creator + QLatin1Char('?'), {id});
        if (!failure.isEmpty())
            return failure;
        QString name = text;
        name.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        const QString table = QStringLiteral("SELECT rowid AS hanaplan_rowkey, * FROM \"") + name +
                              QStringLiteral("\" WHERE 削除日 IS NULL AND ID =");
        return expect(table + QString::number(id), table + QLatin1Char('?'), {id});
    });
}

} // namespace fuzzchecks
