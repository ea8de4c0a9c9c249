// SPDX-License-Identifier: MIT
#include "database/DbConnection.h"

#include "RuntimeError.h"
#include "database/SqlText.h"
#include "platform/FileSystem.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlError>

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
    const QString pattern = key.compare(QLatin1String("DBQ"), Qt::CaseInsensitive) == 0
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
        throw RuntimeError(ErrorNumber::ObjectOpen, QStringLiteral("オブジェクトが開いている場合は、操作は許可されません。"));
    const QString driver = connectionValue(m_connectionString, QStringLiteral("Driver"));
    if (driver != kDriver)
        throw RuntimeError(ErrorNumber::ProviderError,
                           QStringLiteral("[ODBC Driver Manager] データ ソース名および指定された既定のドライバが見つかりません。(%1)")
                               .arg(driver));
    const QString file = databaseFile();
    // The engine would create a missing file; the Access driver refuses to open one.
    if (file.isEmpty() || !platform::fileExists(file))
        throw RuntimeError(ErrorNumber::ProviderError,
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
        fail(m_db.lastError(), file);
    // The engine opens lazily; reading the schema shows at once a file that is no database, a damaged
    // one, or one that another process holds locked.
    QSqlQuery probe(m_db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        const QSqlError error = probe.lastError();
        probe = QSqlQuery();
        m_db.close();
        fail(error, file);
    }
}

void DbConnection::close()
{
    m_prepared.clear();
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
        throw RuntimeError(ErrorNumber::ObjectClosed, QStringLiteral("オブジェクトが閉じている場合は、操作は許可されません。"));
}

void DbConnection::execute(const QString& statement, int options)
{
    Q_UNUSED(options);
    run(statement);
}

QSqlQuery DbConnection::run(const QString& statement, const QString& asWritten)
{
    requireOpen();
    const QString& written = asWritten.isEmpty() ? statement : asWritten;
    if (m_observer)
        m_observer(written);
    const sqltext::EngineStatement engine = sqltext::forEngine(statement);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(engine.text))
        fail(query.lastError(), written);
    for (const QVariant& value : engine.values)
        query.addBindValue(value);
    if (!query.exec())
        fail(query.lastError(), written);
    return query;
}

QSqlQuery& DbConnection::runPrepared(const QString& engineText, const QVariantList& values)
{
    requireOpen();
    auto it = m_prepared.find(engineText);
    if (it == m_prepared.end()) {
        QSqlQuery query(m_db);
        if (!query.prepare(engineText))
            fail(query.lastError(), engineText);
        it = m_prepared.insert(engineText, query);
    }
    QSqlQuery& query = it.value();
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        fail(query.lastError(), engineText);
    return query;
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

void DbConnection::fail(const QSqlError& error, const QString& context)
{
    bool ok = false;
    int number = error.nativeErrorCode().toInt(&ok);
    if (!ok || number == 0)
        number = ErrorNumber::ProviderError;
    QString description = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    if (!context.isEmpty())
        description += QStringLiteral(" (%1)").arg(context);
    throw RuntimeError(number, description);
}
