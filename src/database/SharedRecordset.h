// SPDX-License-Identifier: MIT
#pragma once

#include "database/DbConnection.h"
#include "database/RecordFilter.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

// The program's one record set: a static, optimistic, client-side snapshot of the rows a source text
// gives, held in memory, with a current row, filter and sort texts applied in memory, and writes that go
// back to the table row by row with bound values.
//
// A source text is a full query, a table name with a condition, a bare table name (both read as
// "SELECT * FROM " + source) or a statement that returns no rows (run at once; the record set stays
// closed). Rows of a single table can be changed and added; the rows of other queries are read-only.
class SharedRecordset
{
public:
    // Cursor locations as the program sets them.
    static constexpr int ServerSideCursor = 2;
    static constexpr int ClientSideCursor = 3;

    SharedRecordset() = default;
    SharedRecordset(const SharedRecordset&) = delete;
    SharedRecordset& operator=(const SharedRecordset&) = delete;

    // A recorded setting: rows are always held on the client, whichever location is chosen.
    void setCursorLocation(int location) { m_cursorLocation = location; }
    int cursorLocation() const { return m_cursorLocation; }

    // Every open is static, optimistic and client-side: the rows are a snapshot held in memory.
    void open(const QString& source, DbConnection& connection);
    bool isOpen() const { return m_open; }
    // Saves a pending change first, as every move does; a pending change is never dropped silently.
    void close();
    // Releases the result as every handler does: empty filter, empty sort, close.
    void release();
    // Closes without saving a pending change: the work it belonged to is being rolled back.
    void discard();

    bool eof() const;
    int recordCount() const;
    void moveNext();
    void moveFirst();

    QVariant field(const QString& name) const;
    void setField(const QString& name, const QVariant& value);
    const QStringList& fieldNames() const { return m_columns; }

    void addNew();
    // Saves the pending change of the current row or the new row; nothing to save is not a failure.
    void update();

    void setFilter(const QString& text);
    const QString& filter() const { return m_filterText; }
    void setSort(const QString& text);
    const QString& sort() const { return m_sortText; }

    // The column a name reaches: letter case is ignored, and katakana reach hiragana names (フリガナ
    // reaches ふりがな). -1 for none.
    int columnIndex(const QString& name) const;

private:
    // A change not yet saved: the columns assigned and their values.
    struct PendingChange
    {
        bool isNew = false;
        std::vector<std::pair<int, QVariant>> changes;
        const QVariant* find(int column) const;
    };

    void requireOpen() const;
    void requireCurrent() const;
    int requireColumn(const QString& name) const;
    void requireWritable() const;
    void rebuildView();
    const QVariant* rowValues(int row) const
    {
        return m_chunks[size_t(row / kChunkRows)].data() +
               size_t(row % kChunkRows) * size_t(m_columns.size());
    }
    QVariant* rowValues(int row)
    {
        return m_chunks[size_t(row / kChunkRows)].data() +
               size_t(row % kChunkRows) * size_t(m_columns.size());
    }
    // Room for one more row at the end; its values are then appended with push_back.
    std::vector<QVariant>& chunkForNewRow();
    int currentRow() const { return m_view[size_t(m_position)]; }
    // The column that holds the rows' keys; -1 where the key is the engine's own.
    int keyColumnIndex() const;
    void insertPending();
    void updatePending();
    void reset();

    int m_cursorLocation = ServerSideCursor;
    bool m_open = false;
    DbConnection* m_connection = nullptr;
    QString m_table;            // the table rows are written to; empty when read-only
    DbConnection::RowKey m_key; // how the table's rows are addressed
    QString m_selectColumns;    // the column list of the source, to read back an added row
    QStringList m_columns;
    ColumnNames m_columnByName;
    // The rows, m_columns.size() values each, in chunks of kChunkRows rows, so that a large snapshot is
    // neither copied while it grows nor kept in one block. m_rowKeys holds their keys.
    static constexpr int kChunkRows = 512;
    std::vector<std::vector<QVariant>> m_chunks;
    std::vector<QVariant> m_rowKeys;
    std::vector<int> m_view; // rows in filter and sort order
    int m_position = 0;      // index into m_view; m_view.size() is end-of-file
    std::optional<PendingChange> m_pending;
    QString m_filterText;
    QString m_sortText;
    RecordFilter m_filter;
    RecordSort m_sort;
    // The last row update's columns and statement.
    std::vector<int> m_updateColumns;
    QString m_updateStatement;
};
