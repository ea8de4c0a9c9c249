// SPDX-License-Identifier: MIT
#include "database/DbConnection.h"

#include "RuntimeError.h"
#include "database/EngineFailure.h"
#include "database/SqlText.h"
#include "platform/FileSystem.h"

#include <QAtomicInt>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlRecord>

#include <limits>
#include <vector>

namespace {

const QString kDriver = QStringLiteral("Microsoft Access Driver (*.mdb)");

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("hanaplan-%1").arg(counter.fetchAndAddRelaxed(1));
}

// The value of one key of an ODBC connection string. DBQ runs up to the ";" after its ".mdb", so that a
// folder whose name holds a ";" is still found.
QString connectionValue(const QString& text, const QString& key)
{
    const QString pattern =
        key.compare(QLatin1String("DBQ"), Qt::CaseInsensitive) == 0
            ? QStringLiteral("(?:^|;)\\s*DBQ=(.*?\\.mdb)\\s*(?:;|$)")
            : QStringLiteral("(?:^|;)\\s*%1=([^;]*)").arg(QRegularExpression::escape(key));
    const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

// What a database file is, told by its first bytes: "SQLite format 3" and a NUL at the start, or
// "Standard Jet DB" (Access 97 to 2003) or "Standard ACE DB" (Access 2007 and later) and a NUL at offset 4.
// Unreadable: the file cannot be opened for reading at all.
enum class FileKind { Sqlite, Access, Other, Unreadable };

FileKind kindOfFile(const QString& file)
{
    QFile data(file);
    if (!data.open(QIODevice::ReadOnly))
        return FileKind::Unreadable;
    const QByteArray head = data.read(20);
    if (head.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return FileKind::Sqlite;
    const QByteArray accessMark = head.mid(4, 16);
    if (accessMark == QByteArrayView("Standard Jet DB\0", 16) ||
        accessMark == QByteArrayView("Standard ACE DB\0", 16))
        return FileKind::Access;
    return FileKind::Other;
}

// A column's name as the engine tells it. A driver that reports the length of a name in bytes rather than
// in characters leaves NULs and what follows them after the name; no name holds a NUL, so it ends there.
QString columnName(const QSqlRecord& record, int i)
{
    QString name = record.fieldName(i);
    const qsizetype end = name.indexOf(QChar(0));
    if (end >= 0)
        name.truncate(end);
    return name;
}

} // namespace

DbConnection::Dialect DbConnection::Dialect::embedded()
{
    return {QLatin1Char('"'), QLatin1Char('"'), QStringLiteral("rowid"), QString(), true};
}

DbConnection::Dialect DbConnection::Dialect::access()
{
    // Access quotes names in brackets, gives no row a key of its own, tells the AutoNumber it gave last
    // through @@IDENTITY and has no 64-bit whole numbers in the file format the driver writes.
    return {QLatin1Char('['), QLatin1Char(']'), QString(), QStringLiteral("SELECT @@IDENTITY"), false};
}

DbConnection::Dialect DbConnection::Dialect::of(Engine engine)
{
    return engine == Engine::AccessOdbc ? access() : embedded();
}

DbConnection::DbConnection() : m_name(uniqueConnectionName()) {}

void DbConnection::setEngine(Engine engine)
{
    m_engine = engine;
    m_engineFixed = true;
    m_dialect = Dialect::of(engine);
}

void DbConnection::chooseEngine(const QString& file)
{
    switch (kindOfFile(file)) {
    case FileKind::Sqlite:
    // A file that cannot be read is left to the engine, which tells why it cannot open it.
    case FileKind::Unreadable:
        m_engine = Engine::Embedded;
        break;
    case FileKind::Access:
#ifdef Q_OS_WIN
        m_engine = Engine::AccessOdbc;
        break;
#else
        throw RuntimeError(ErrorNumber::ProviderError, DescribeAccessFileRefusal(file));
#endif
    case FileKind::Other:
        // The embedded engine would take a file of no bytes for an empty database of its own.
        throw RuntimeError(
            kNotADatabaseCode,
            DescribeEngineFailure(kNotADatabaseCode, QStringLiteral("file is not a database"), file));
    }
    m_dialect = Dialect::of(m_engine);
}

QString DbConnection::quoteName(const QString& name) const
{
    QString quoted = name;
    if (m_dialect.quoteOpen == m_dialect.quoteClose)
        quoted.replace(m_dialect.quoteClose, QString(2, m_dialect.quoteClose));
    return m_dialect.quoteOpen + quoted + m_dialect.quoteClose;
}

DbConnection::RowKey DbConnection::rowKey(const QString& table)
{
    requireOpen();
    if (!m_dialect.rowIdName.isEmpty())
        return {m_dialect.rowIdName, QString()};
    const auto known = m_rowKeys.constFind(table);
    if (known != m_rowKeys.cend())
        return known.value();
    // A one-column primary key is unique; the program's own tables have none and are keyed by their ID.
    RowKey key;
    const QSqlIndex primary = m_db.primaryIndex(table);
    if (primary.count() == 1) {
        key.column = primary.fieldName(0);
    } else {
        const QSqlRecord columns = m_db.record(table);
        const int id = columns.indexOf(QStringLiteral("ID"));
        if (id >= 0)
            key.column = columns.fieldName(id);
    }
    if (!key.column.isEmpty())
        key.expression = quoteName(key.column);
    m_rowKeys.insert(table, key);
    return key;
}

QStringList DbConnection::columnsOf(const QString& table)
{
    requireOpen();
    const QSqlRecord record = m_db.record(table);
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(columnName(record, i));
    return names;
}

QVariant DbConnection::lastAddedRowKey()
{
    if (m_dialect.lastAddedKeyQuery.isEmpty())
        return m_lastInsertId;
    QVariant key;
    readEngineRows(
        m_dialect.lastAddedKeyQuery, {}, [](const QStringList&) {},
        [&key](const QVariant* values) { key = values[0]; });
    return key;
}

DbConnection::~DbConnection()
{
    close();
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_name))
        QSqlDatabase::removeDatabase(m_name);
}

QString DbConnection::databaseFile() const
{
    return platform::nativePath(connectionValue(m_connectionString, QStringLiteral("DBQ")));
}

void DbConnection::open(const QString& user, const QString& password)
{
    if (isOpen())
        throw RuntimeError(ErrorNumber::ObjectOpen,
                           QStringLiteral("オブジェクトが開いている場合は、操作は許可されません。"));
    const QString driver = connectionValue(m_connectionString, QStringLiteral("Driver"));
    if (driver != kDriver)
        throw RuntimeError(
            ErrorNumber::ProviderError,
            QStringLiteral(
                "[ODBC Driver Manager] データ ソース名および指定された既定のドライバが見つかりません。(%1)")
                .arg(driver));
    const QString file = databaseFile();
    // The engine would create a missing file; the Access driver refuses to open one.
    if (file.isEmpty() || !platform::fileExists(file))
        throw RuntimeError(
            ErrorNumber::ProviderError,
            QStringLiteral("[ODBC Microsoft Access Driver] ファイル '%1' が見つかりません。").arg(file));
    if (!m_engineFixed)
        chooseEngine(file);
    if (m_engine == Engine::AccessOdbc) {
        openThroughOdbc(user, password);
        return;
    }

    if (!QSqlDatabase::contains(m_name))
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(file);
    QString connectOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeout);
    // A read-only file stays read-only for every user, as the read-only attribute does on Windows.
    if (platform::fileAttributes(file) & platform::FileAttribute::ReadOnly)
        connectOptions += QStringLiteral(";QSQLITE_OPEN_READONLY");
    m_db.setConnectOptions(connectOptions);
    if (!m_db.open(user, password))
        fail(m_db.lastError());
    // The engine opens lazily; reading the schema shows at once a file that is no database, a damaged
    // one, or one that another process holds locked.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QSqlError error = probe.lastError();
        probe = QSqlQuery();
        m_db.close();
        fail(error);
    }
}

void DbConnection::openThroughOdbc(const QString& user, const QString& password)
{
    if (!QSqlDatabase::contains(m_name))
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    if (!m_db.isValid())
        throw RuntimeError(ErrorNumber::ProviderError,
                           QStringLiteral("[ODBC Driver Manager] ODBC を使えません。"));
    // A database name holding "=" is taken by the ODBC driver as a whole connection string.
    m_db.setDatabaseName(m_connectionString);
    const QString filePassword =
        password.isEmpty() ? connectionValue(m_connectionString, QStringLiteral("Password")) : password;
    if (!m_db.open(user, filePassword))
        fail(m_db.lastError());
}

sqltext::EngineStatement DbConnection::engineStatement(const QString& statement) const
{
    if (m_engine == Engine::AccessOdbc)
        return {statement, {}};
    return sqltext::forEngine(statement);
}

void DbConnection::close()
{
    m_statements.clear();
    m_rowKeys.clear();
    m_lastInsertId.clear();
    if (m_db.isOpen()) {
        if (m_inTransaction)
            m_db.rollback(); // a transaction left open by a failure is not kept
        m_inTransaction = false;
        m_db.close();
    }
}

void DbConnection::requireOpen() const
{
    if (!m_db.isOpen())
        throw RuntimeError(ErrorNumber::ObjectClosed,
                           QStringLiteral("オブジェクトが閉じている場合は、操作は許可されません。"));
}

void DbConnection::execute(const QString& statement)
{
    requireOpen();
    if (m_observer)
        m_observer(statement);
    const sqltext::EngineStatement engine = engineStatement(statement);
    QSqlQuery query(m_db);
    if (!query.prepare(engine.text))
        fail(query.lastError(), statement);
    for (const QVariant& value : engine.values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query.lastError(), statement);
    m_rowKeys.clear(); // a table change may change how its rows are keyed
}

namespace {

// A value as the engine is to bind it: whole numbers of every width as 64-bit numbers (Qt's SQLite driver
// would bind a 16-bit number as text), or as 32-bit numbers where they fit on an engine without 64-bit
// ones; nulls as nulls, everything else as it is.
QVariant bindable(const QVariant& value, bool wideNumbers)
{
    if (value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong number = value.toLongLong();
        if (!wideNumbers && number >= std::numeric_limits<qint32>::min() &&
            number <= std::numeric_limits<qint32>::max())
            return qint32(number);
        return number;
    }
    default:
        return value;
    }
}

void bindValues(QSqlQuery& query, const QVariantList& values, bool wideNumbers)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, bindable(values.at(i), wideNumbers));
}

} // namespace

void DbConnection::readRows(const QString& statement, const QString& asWritten,
                            const std::function<void(const QStringList&)>& header,
                            const std::function<void(const QVariant*)>& row)
{
    requireOpen();
    if (m_observer)
        m_observer(asWritten.isEmpty() ? statement : asWritten);
    const sqltext::EngineStatement text = engineStatement(statement);
    readEngineRows(text.text, text.values, header, row);
}

void DbConnection::readEngineRows(const QString& engineText, const QVariantList& values,
                                  const std::function<void(const QStringList&)>& header,
                                  const std::function<void(const QVariant*)>& row)
{
    requireOpen();
    // Forward-only: the rows are read once, straight into the record set, without a cache of them all.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(engineText))
        fail(query.lastError(), engineText);
    bindValues(query, values, m_dialect.bindsWideNumbers);
    if (!query.exec())
        fail(query.lastError(), engineText);
    const QSqlRecord record = query.record();
    const int width = record.count();
    QStringList names;
    names.reserve(width);
    for (int i = 0; i < width; ++i)
        names.append(columnName(record, i));
    header(names);
    std::vector<QVariant> cells(static_cast<size_t>(width));
    while (query.next()) {
        for (int i = 0; i < width; ++i)
            cells[size_t(i)] = query.isNull(i) ? QVariant() : query.value(i);
        row(cells.data());
    }
    if (query.lastError().isValid())
        fail(query.lastError(), engineText);
}

qint64 DbConnection::write(const QString& engineText, const QVariantList& values)
{
    requireOpen();
    // A row write's statement is prepared once and kept while the connection is open: the record set
    // writes many rows with the same statement.
    auto found = m_statements.find(engineText);
    if (found == m_statements.end()) {
        QSqlQuery query(m_db);
        if (!query.prepare(engineText))
            fail(query.lastError(), engineText);
        found = m_statements.insert(engineText, query);
    }
    QSqlQuery& query = found.value();
    bindValues(query, values, m_dialect.bindsWideNumbers);
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        fail(error, engineText);
    }
    const qint64 changes = query.numRowsAffected();
    if (m_dialect.lastAddedKeyQuery.isEmpty())
        m_lastInsertId = query.lastInsertId();
    query.finish();
    return changes;
}

qint64 DbConnection::writeOneRow(const QString& engineText, const QVariantList& values, const QString& table)
{
    const bool ownTransaction = !m_inTransaction;
    if (ownTransaction)
        beginTransaction();
    qint64 changes = 0;
    try {
        changes = write(engineText, values);
    } catch (const RuntimeError&) {
        if (ownTransaction)
            rollbackTransaction();
        throw;
    }
    if (changes > 1) {
        // An open transaction of the caller's is taken back by the caller, which the failure ends.
        if (ownTransaction)
            rollbackTransaction();
        throw RuntimeError(ErrorNumber::ProviderError,
                           QStringLiteral("キー列の情報が不足しているか正しくありません。"
                                          "更新によって影響を受ける行が多すぎます。(%1)")
                               .arg(table));
    }
    if (ownTransaction)
        commitTransaction();
    return changes;
}

void DbConnection::beginTransaction()
{
    requireOpen();
    if (!m_db.transaction())
        fail(m_db.lastError());
    m_inTransaction = true;
}

void DbConnection::commitTransaction()
{
    requireOpen();
    if (m_engine == Engine::Embedded) {
        // The driver's own commit drops the engine's code of a failure (a full disk, a lock another process
        // holds): the statement keeps it, so that a failed commit is described as a failed statement is.
        QSqlQuery commit(m_db);
        if (!commit.exec(QStringLiteral("COMMIT")))
            fail(commit.lastError());
    } else if (!m_db.commit()) {
        fail(m_db.lastError());
    }
    m_inTransaction = false;
}

void DbConnection::rollbackTransaction()
{
    if (m_db.isOpen() && m_inTransaction)
        m_db.rollback();
    m_inTransaction = false;
}

void DbConnection::fail(const QSqlError& error, const QString& context) const
{
    // The embedded engine's result codes say what went wrong; an ODBC driver's native numbers are its own
    // and are reported, as the provider reports them, under the provider's error number with their text.
    bool ok = false;
    const int code = m_engine == Engine::Embedded ? error.nativeErrorCode().toInt(&ok) : 0;
    QString engineText = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    if (!context.isEmpty())
        engineText += QStringLiteral(" (%1)").arg(context);
    throw RuntimeError(ok && code != 0 ? code : ErrorNumber::ProviderError,
                       DescribeEngineFailure(ok ? code : 0, engineText, databaseFile()));
}
