// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

// The record set's own filter and sort texts, parsed and applied to rows held in memory.
//
// Filter: clauses "field op value" with =, <>, <, >, <=, >= and LIKE, joined by AND and OR (AND binds
// closer), grouped with parentheses. Values are texts in single quotes ('' stands for one quote) or
// numbers. LIKE takes a text with the wildcard * or % at its start, its end or both; every other character
// of the pattern, wildcard characters inside it included, is matched as it stands. Texts compare without
// regard to letter case; a null field meets no clause.
//
// Sort: "field [ASC|DESC]" items separated by commas. Nulls sort first, then numbers, then texts; the sort
// is stable.
//
// A text that does not parse, or that names a column the rows do not have, throws RuntimeError.

// Resolves a column name to its position in a row, or -1.
using ColumnLookup = std::function<int(const QString&)>;

// The columns of a row by name, as the record set finds them: letter case is ignored, and katakana reach
// hiragana names (フリガナ reaches ふりがな); a name as it stands wins over a folded one.
class ColumnNames
{
public:
    void assign(const QStringList& columns);
    void clear() { m_byName.clear(); }
    int indexOf(const QString& name) const;

private:
    QHash<QString, int> m_byName;
};

class RecordFilter
{
public:
    RecordFilter() = default;
    static RecordFilter parse(const QString& text, const ColumnLookup& lookup);

    bool isEmpty() const { return !m_root; }
    bool matches(const QVariant* row) const;

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
};

class RecordSort
{
public:
    RecordSort() = default;
    static RecordSort parse(const QString& text, const ColumnLookup& lookup);

    bool isEmpty() const { return m_keys.empty(); }
    bool less(const QVariant* a, const QVariant* b) const;

private:
    struct Key
    {
        int column;
        bool descending;
    };
    std::vector<Key> m_keys;
};

// Orders two field values as the record set's sort does: nulls first, numbers by value, texts without
// regard to letter case. Negative, zero or positive.
int compareFieldValues(const QVariant& a, const QVariant& b);
