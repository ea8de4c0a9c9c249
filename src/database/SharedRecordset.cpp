// SPDX-License-Identifier: MIT
#include "database/SharedRecordset.h"

#include "RuntimeError.h"
#include "database/DbConnection.h"
#include "database/SqlText.h"

#include <algorithm>

namespace {

const QString kRowKeyColumn = QStringLiteral("hanaplan_rowkey");

} // namespace

void SharedRecordset::open(const QString& source, DbConnection& connection)
{
    if (m_open)
        throw RuntimeError(ErrorNumber::ObjectOpen,
                           QStringLiteral("オブジェクトが開いている場合は、操作は許可されません。"));

    const sqltext::SourceKind kind = sqltext::classify(source);
    if (kind == sqltext::SourceKind::Statement) {
        connection.execute(source);
        return;
    }
    const QString query =
        kind == sqltext::SourceKind::Table ? QStringLiteral("SELECT * FROM ") + source : source;

    // Rows of one table are read with their key, so that a change can be written back to that row. A table
    // whose rows have no key is read as it is, and its rows cannot be changed.
    const sqltext::TableQuery plain = sqltext::parseTableQuery(query);
    const DbConnection::RowKey key = plain.valid ? connection.rowKey(plain.table) : DbConnection::RowKey();
    const bool keyed = key.isValid();
    QString engineQuery = query;
    if (keyed)
        engineQuery = QStringLiteral("SELECT %1 AS %2, %3 FROM %4%5")
                          .arg(key.expression, kRowKeyColumn, plain.columns,
                               connection.quoteName(plain.table), plain.rest);

    reset();
    const int first = keyed ? 1 : 0;
    int width = 0;
    connection.readRows(
        engineQuery, source,
        [&](const QStringList& names) {
            m_columns = names.mid(first);
            width = int(m_columns.size());
        },
        [&](const QVariant* values) {
            std::vector<QVariant>& chunk = chunkForNewRow();
            m_rowKeys.push_back(keyed ? values[0] : QVariant());
            chunk.insert(chunk.end(), values + first, values + first + width);
        });

    m_columnByName.assign(m_columns);

    m_connection = &connection;
    m_table = keyed ? plain.table : QString();
    m_key = key;
    m_selectColumns = plain.columns;
    m_view.resize(m_rowKeys.size());
    for (size_t i = 0; i < m_rowKeys.size(); ++i)
        m_view[i] = int(i);
    m_position = 0;
    m_open = true;
}

void SharedRecordset::reset()
{
    m_open = false;
    m_connection = nullptr;
    m_table.clear();
    m_key = DbConnection::RowKey();
    m_selectColumns.clear();
    m_columns.clear();
    m_columnByName.clear();
    m_chunks.clear();
    m_rowKeys.clear();
    m_view.clear();
    m_position = 0;
    m_pending.reset();
    m_filterText.clear();
    m_sortText.clear();
    m_filter = RecordFilter();
    m_sort = RecordSort();
    m_updateColumns.clear();
    m_updateStatement.clear();
}

void SharedRecordset::close()
{
    requireOpen();
    update();
    reset();
}

void SharedRecordset::discard()
{
    reset();
}

void SharedRecordset::release()
{
    setFilter(QString());
    setSort(QString());
    close();
}

void SharedRecordset::requireOpen() const
{
    if (!m_open)
        throw RuntimeError(ErrorNumber::ObjectClosed,
                           QStringLiteral("オブジェクトが閉じている場合は、操作は許可されません。"));
}

void SharedRecordset::requireCurrent() const
{
    requireOpen();
    if (!(m_pending && m_pending->isNew) && eof())
        throw runtimeerror::noCurrentRecord();
}

int SharedRecordset::columnIndex(const QString& name) const
{
    return m_columnByName.indexOf(name);
}

int SharedRecordset::requireColumn(const QString& name) const
{
    const int index = columnIndex(name);
    if (index < 0)
        throw RuntimeError(
            ErrorNumber::ItemNotFound,
            QStringLiteral("要求された名前、または序数に対応する項目がコレクションで見つかりません。(%1)")
                .arg(name));
    return index;
}

void SharedRecordset::requireWritable() const
{
    if (m_table.isEmpty())
        throw RuntimeError(
            ErrorNumber::NotSupported,
            QStringLiteral("要求された操作は、この結果セットではサポートされていません。(読み取り専用)"));
}

bool SharedRecordset::eof() const
{
    requireOpen();
    return m_position >= int(m_view.size());
}

int SharedRecordset::recordCount() const
{
    requireOpen();
    return int(m_view.size());
}

void SharedRecordset::moveNext()
{
    requireOpen();
    update();
    if (eof())
        throw runtimeerror::noCurrentRecord();
    ++m_position;
}

void SharedRecordset::moveFirst()
{
    requireOpen();
    update();
    if (m_view.empty())
        throw runtimeerror::noCurrentRecord();
    m_position = 0;
}

QVariant SharedRecordset::field(const QString& name) const
{
    requireCurrent();
    const int column = requireColumn(name);
    if (m_pending) {
        if (const QVariant* changed = m_pending->find(column))
            return *changed;
        if (m_pending->isNew)
            return QVariant();
    }
    return rowValues(currentRow())[column];
}

void SharedRecordset::setField(const QString& name, const QVariant& value)
{
    requireCurrent();
    const int column = requireColumn(name);
    requireWritable();
    if (!m_pending)
        m_pending = PendingChange{};
    for (auto& change : m_pending->changes) {
        if (change.first == column) {
            change.second = value;
            return;
        }
    }
    m_pending->changes.emplace_back(column, value);
}

void SharedRecordset::addNew()
{
    requireOpen();
    requireWritable();
    update();
    m_pending = PendingChange{};
    m_pending->isNew = true;
}

void SharedRecordset::update()
{
    requireOpen();
    if (!m_pending)
        return;
    if (m_pending->isNew)
        insertPending();
    else
        updatePending();
    m_pending.reset();
}

std::vector<QVariant>& SharedRecordset::chunkForNewRow()
{
    if (m_rowKeys.size() % kChunkRows == 0) {
        m_chunks.emplace_back();
        m_chunks.back().reserve(size_t(kChunkRows) * size_t(m_columns.size()));
    }
    return m_chunks.back();
}

const QVariant* SharedRecordset::PendingChange::find(int column) const
{
    for (const auto& change : changes)
        if (change.first == column)
            return &change.second;
    return nullptr;
}

void SharedRecordset::updatePending()
{
    if (m_pending->changes.empty())
        return;
    const int row = currentRow();
    std::vector<int> columns;
    QVariantList values;
    columns.reserve(m_pending->changes.size());
    values.reserve(qsizetype(m_pending->changes.size()) + 1);
    for (const auto& [column, value] : m_pending->changes) {
        columns.push_back(column);
        values.append(value);
    }
    values.append(m_rowKeys[size_t(row)]);
    // Rows saved one after another usually change the same columns: the statement is made once for them.
    if (columns != m_updateColumns || m_updateStatement.isEmpty()) {
        QStringList assignments;
        for (int column : columns)
            assignments.append(m_connection->quoteName(m_columns.at(column)) + QStringLiteral(" = ?"));
        m_updateStatement = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(m_connection->quoteName(m_table), assignments.join(QStringLiteral(", ")),
                                     m_key.expression);
        m_updateColumns = std::move(columns);
    }
    const QString& statement = m_updateStatement;
    if (m_connection->writeOneRow(statement, values, m_table) == 0) {
        m_pending.reset();
        throw RuntimeError(
            ErrorNumber::RowNotFoundForUpdate,
            QStringLiteral(
                "更新のための行が見つかりません。最後に読み込まれてから値が変更された可能性があります。(%1)")
                .arg(m_table));
    }
    QVariant* stored = rowValues(row);
    const int keyColumn = keyColumnIndex();
    for (auto& [column, value] : m_pending->changes) {
        if (column == keyColumn)
            m_rowKeys[size_t(row)] = value; // the row is found by its new key from now on
        stored[column] = std::move(value);
    }
}

int SharedRecordset::keyColumnIndex() const
{
    return m_key.column.isEmpty() ? -1 : columnIndex(m_key.column);
}

void SharedRecordset::insertPending()
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const auto& [column, value] : m_pending->changes) {
        names.append(m_connection->quoteName(m_columns.at(column)));
        marks.append(QStringLiteral("?"));
        values.append(value);
    }
    const QString table = m_connection->quoteName(m_table);
    const QString statement =
        names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                              .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    m_connection->write(statement, values);
    // The row's key: the value the row was given for its key column, or else the one the engine assigned.
    const QVariant* assignedKey = m_pending->find(keyColumnIndex());
    const QVariant rowKey = assignedKey ? *assignedKey : m_connection->lastAddedRowKey();

    // Read the row back: the database assigns its ID and defaults.
    const int width = int(m_columns.size());
    std::vector<QVariant> added;
    m_connection->readEngineRows(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(m_selectColumns, table, m_key.expression),
        {rowKey}, [](const QStringList&) {}, [&](const QVariant* row) { added.assign(row, row + width); });
    if (added.empty()) {
        for (int i = 0; i < width; ++i) {
            const QVariant* assigned = m_pending->find(i);
            added.push_back(assigned ? *assigned : QVariant());
        }
    }
    std::vector<QVariant>& chunk = chunkForNewRow();
    chunk.insert(chunk.end(), added.begin(), added.end());
    m_rowKeys.push_back(rowKey);
    m_view.push_back(int(m_rowKeys.size()) - 1);
    m_position = int(m_view.size()) - 1;
}

void SharedRecordset::setFilter(const QString& text)
{
    requireOpen();
    update();
    m_filter = RecordFilter::parse(text, [this](const QString& name) { return columnIndex(name); });
    m_filterText = text;
    rebuildView();
}

void SharedRecordset::setSort(const QString& text)
{
    requireOpen();
    update();
    m_sort = RecordSort::parse(text, [this](const QString& name) { return columnIndex(name); });
    m_sortText = text;
    rebuildView();
}

void SharedRecordset::rebuildView()
{
    m_view.clear();
    for (int i = 0, n = int(m_rowKeys.size()); i < n; ++i)
        if (m_filter.matches(rowValues(i)))
            m_view.push_back(i);
    if (!m_sort.isEmpty())
        std::stable_sort(m_view.begin(), m_view.end(),
                         [this](int a, int b) { return m_sort.less(rowValues(a), rowValues(b)); });
    m_position = 0;
}
