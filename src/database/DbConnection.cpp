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

#include <sqlite3.h>

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

void DbConnection::open(const QString& user, const QString& password, int options)
{
    Q_UNUSED(options);
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

void DbConnection::close()
{
    finalizeStatements();
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

void DbConnection::execute(const QString& statement, int options)
{
    Q_UNUSED(options);
    requireOpen();
    if (m_observer)
        m_observer(statement);
    const sqltext::EngineStatement engine = sqltext::forEngine(statement);
    QSqlQuery query(m_db);
    if (!query.prepare(engine.text))
        fail(query.lastError(), statement);
    for (const QVariant& value : engine.values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query.lastError(), statement);
}

namespace {

// Binds the values of a statement: whole numbers, real numbers, texts, bytes and nulls.
void bindValues(sqlite3_stmt* stmt, const QVariantList& values)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        const int n = i + 1;
        if (value.isNull()) {
            sqlite3_bind_null(stmt, n);
            continue;
        }
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            sqlite3_bind_int64(stmt, n, value.toLongLong());
            break;
        case QMetaType::Float:
        case QMetaType::Double:
            sqlite3_bind_double(stmt, n, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            sqlite3_bind_blob(stmt, n, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString text = value.toString();
            sqlite3_bind_text16(stmt, n, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
            break;
        }
        }
    }
}

QVariant columnValue(sqlite3_stmt* stmt, int i)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, i);
    case SQLITE_TEXT: {
        const auto* chars = static_cast<const QChar*>(sqlite3_column_text16(stmt, i));
        return QString(chars, sqlite3_column_bytes16(stmt, i) / 2);
    }
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                          sqlite3_column_bytes(stmt, i));
    default:
        return QVariant();
    }
}

} // namespace

sqlite3* DbConnection::engine() const
{
    requireOpen();
    const QVariant handle = m_db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw RuntimeError(ErrorNumber::ProviderError,
                           QStringLiteral("データベース エンジンが SQLite ではありません。"));
    return *static_cast<sqlite3* const*>(handle.constData());
}

void DbConnection::failEngine(const QString& context) const
{
    sqlite3* db = engine();
    const int code = sqlite3_errcode(db);
    throw RuntimeError(code, DescribeEngineFailure(code,
                                                   QString::fromUtf8(sqlite3_errmsg(db)) +
                                                       QStringLiteral(" (%1)").arg(context),
                                                   databaseFile()));
}

void DbConnection::finalizeStatements()
{
    for (sqlite3_stmt* stmt : std::as_const(m_statements))
        sqlite3_finalize(stmt);
    m_statements.clear();
}

void DbConnection::readRows(const QString& statement, const QString& asWritten,
                            const std::function<void(const QStringList&)>& header,
                            const std::function<void(const QVariant*)>& row)
{
    requireOpen();
    if (m_observer)
        m_observer(asWritten.isEmpty() ? statement : asWritten);
    const sqltext::EngineStatement text = sqltext::forEngine(statement);
    readEngineRows(text.text, text.values, header, row);
}

void DbConnection::readEngineRows(const QString& engineText, const QVariantList& values,
                                  const std::function<void(const QStringList&)>& header,
                                  const std::function<void(const QVariant*)>& row)
{
    sqlite3* db = engine();
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = engineText.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        failEngine(engineText);
    }
    // The statement is finalised on every way out, a failure of a row's receiver included.
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owner(stmt, sqlite3_finalize);
    bindValues(stmt, values);
    const int width = sqlite3_column_count(stmt);
    QStringList names;
    for (int i = 0; i < width; ++i)
        names.append(QString::fromUtf8(sqlite3_column_name(stmt, i)));
    header(names);
    std::vector<QVariant> cells(static_cast<size_t>(width));
    int status = SQLITE_ROW;
    while ((status = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < width; ++i)
            cells[size_t(i)] = columnValue(stmt, i);
        row(cells.data());
    }
    if (status != SQLITE_DONE)
        failEngine(engineText);
}

DbConnection::WriteResult DbConnection::write(const QString& engineText, const QVariantList& values)
{
    sqlite3* db = engine();
    sqlite3_stmt*& stmt = m_statements[engineText];
    if (!stmt) {
        const QByteArray utf8 = engineText.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt);
            m_statements.remove(engineText);
            failEngine(engineText);
        }
    }
    bindValues(stmt, values);
    const int status = sqlite3_step(stmt);
    if (status != SQLITE_DONE && status != SQLITE_ROW) {
        sqlite3_reset(stmt);
        failEngine(engineText);
    }
    WriteResult result{sqlite3_changes64(db), sqlite3_last_insert_rowid(db)};
    sqlite3_reset(stmt);
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
