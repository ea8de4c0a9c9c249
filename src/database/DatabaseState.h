// SPDX-License-Identifier: MIT
#pragma once

#include "database/DbConnection.h"
#include "database/SharedRecordset.h"

#include <QString>

#include <memory>

// The program-wide state of the database: where the file lies and the one connection and record set.
struct DatabaseState
{
    // Code of the running Windows; greater than 2100 means Vista or later, where the database is the
    // per-user copy.
    double WindowsVersionCode = 0;
    // The one use of WindowsVersionCode: Vista or later, where files a program writes below Program Files
    // are virtualised per user.
    bool isVistaOrLater() const { return WindowsVersionCode > 2100; }
    // Per-user virtualised sub-folder below LOCALAPPDATA, or empty.
    QString VirtualStorePath;

    // The one connection and the one record set, made anew by every OpenDatabase. The record set is
    // declared last so that it goes before the connection it reads through.
    QString ConnectionString;
    std::unique_ptr<::DbConnection> DbConnection;
    std::unique_ptr<::SharedRecordset> SharedRecordset;
    // How long a statement waits for a lock another process holds.
    int databaseBusyTimeout = 5000;
};
