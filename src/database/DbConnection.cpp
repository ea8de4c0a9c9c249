// SPDX-License-Identifier: MIT
#include "database/DbConnection.h"

#include "RuntimeError.h"
#include "database/EngineFailure.h"
#include "database/SqlText.h"
#include "platform/FileSystem.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

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

} // namespace

DbConnection::DbConnection() : m_name(uniqueConnectionName()) {}

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
}

namespace {

// A value as the engine is to bind it: whole numbers of every width as 64-bit numbers (Qt's SQLite driver
// would bind a 16-bit number as text), nulls as nulls, everything else as it is.
QVariant bindable(const QVariant& value)
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
    case QMetaType::ULongLong:
        return value.toLongLong();
    default:
        return value;
    }
}

void bindValues(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, bindable(values.at(i)));
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
    bindValues(query, values);
    if (!query.exec())
        fail(query.lastError(), engineText);
    const QSqlRecord record = query.record();
    const int width = record.count();
    QStringList names;
    names.reserve(width);
    for (int i = 0; i < width; ++i)
        names.append(record.fieldName(i));
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

DbConnection::WriteResult DbConnection::write(const QString& engineText, const QVariantList& values)
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
    bindValues(query, values);
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        fail(error, engineText);
    }
    WriteResult result{query.numRowsAffected(), query.lastInsertId().toLongLong()};
    query.finish();
    return result;
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
    if (!m_db.commit())
        fail(m_db.lastError());
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
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    QString engineText = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    if (!context.isEmpty())
        engineText += QStringLiteral(" (%1)").arg(context);
    throw RuntimeError(ok && code != 0 ? code : ErrorNumber::ProviderError,
                       DescribeEngineFailure(ok ? code : 0, engineText, databaseFile()));
}
