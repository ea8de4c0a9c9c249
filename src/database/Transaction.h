// SPDX-License-Identifier: MIT
#pragma once

#include "database/DbConnection.h"
#include "database/SharedRecordset.h"

// Keeps the writes of one action together: all of them or none. Made before the first write; commit()
// keeps them once the last write is saved and the record set released. Any other way out, a run-time
// error part way included, takes back what was written so far and drops the record set's unsaved change,
// so that a failure, a crash or a power cut never leaves the action half done.
class Transaction
{
public:
    Transaction(DbConnection& connection, SharedRecordset& recordset)
        : m_connection(connection), m_recordset(recordset)
    {
        m_connection.beginTransaction();
    }
    ~Transaction()
    {
        if (m_open) {
            m_recordset.discard();
            m_connection.rollbackTransaction();
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit()
    {
        m_connection.commitTransaction();
        m_open = false;
    }

private:
    DbConnection& m_connection;
    SharedRecordset& m_recordset;
    bool m_open = true;
};
