#include "Connection.h"

#include <QFileInfo>

namespace valdora::host::embedded {

namespace {

/// The file opened, checked as SQLite reads its header; nothing is written into it.
sqlite::Database openFile(const QString& path, bool create, Where where)
{
    if (!create && !QFileInfo(path).isFile())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The contact database %1 does not exist").arg(path), where);
    try {
        sqlite::Database db(path, create ? sqlite::Access::ReadWriteCreate : sqlite::Access::ReadWrite, 5000);
        // The read of the schema reads the file header: this is where a file that is not a database
        // shows itself. Nothing is written here: an existing file goes to WAL only once it is known
        // to be a contact database (useWal), so that opening another program's file changes nothing.
        db.exec("PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON; SELECT count(*) FROM sqlite_master;");
        return db;
    } catch (const sqlite::Error& error) {
        throw HostFailure(
            HostError::DatabaseFailure,
            QStringLiteral("The contact database %1 cannot be opened: %2").arg(path, error.reason()), where);
    }
}

} // namespace

Statement::Statement(sqlite::Statement statement, const Connection& connection)
    : m_statement(std::move(statement)), m_connection(connection)
{}

Statement& Statement::bind(int index, qint64 value)
{
    m_statement.bind(index, value);
    return *this;
}

Statement& Statement::bind(int index, const QString& value)
{
    m_statement.bind(index, value);
    return *this;
}

Statement& Statement::bindBlob(int index, QByteArrayView bytes)
{
    m_statement.bindBlob(index, bytes);
    return *this;
}

bool Statement::step(Where where)
{
    try {
        return m_statement.step();
    } catch (const sqlite::Error& error) {
        m_connection.failUse(error, where);
    }
}

Connection::Connection(const QString& path, bool create, Where where)
    : m_path(path), m_db(openFile(path, create, where))
{
    if (create)
        useWal(where);
}

void Connection::useWal(Where where)
{
    // Programs that open a database still in rollback mode together all switch it at once, and SQLite
    // refuses all but one of them as busy without waiting.
    try {
        m_db.execRetryingBusy("PRAGMA journal_mode=WAL;");
    } catch (const sqlite::Error& error) {
        fail(error, QStringLiteral("writing"), where);
    }
    if (!m_checkpointer)
        m_checkpointer = std::make_unique<sqlite::WalCheckpointer>(m_db, m_path);
}

Statement Connection::prepare(const char* sql, Where where)
{
    try {
        return Statement(m_db.cached(sql), *this);
    } catch (const sqlite::Error& error) {
        fail(error, QStringLiteral("reading"), where);
    }
}

void Connection::exec(const char* sql, Where where)
{
    try {
        m_db.exec(sql);
    } catch (const sqlite::Error& error) {
        fail(error, QStringLiteral("writing"), where);
    }
}

void Connection::refuseChanges(const QString& reason, Where where)
{
    // SQLite itself keeps the connection from changing the file, whatever statement is tried.
    try {
        m_db.exec(reason.isEmpty() ? "PRAGMA query_only=OFF" : "PRAGMA query_only=ON");
    } catch (const sqlite::Error& error) {
        fail(error, QStringLiteral("setting its access"), where);
    }
    m_refusal = reason;
}

void Connection::fail(const QString& doing, Where where) const
{
    fail(m_db.lastError(), doing, where);
}

void Connection::failUse(const sqlite::Error& error, Where where) const
{
    // A change that SQLite refused because the connection only reads: the host's refusal, in its words.
    if (error.readOnly() && !m_refusal.isEmpty())
        throw HostFailure(HostError::WriteRefused, m_refusal, where);
    throw HostFailure(
        error.busy() ? HostError::RecordLocked : HostError::DatabaseFailure,
        QStringLiteral("The contact database %1 cannot be used: %2").arg(m_path, error.reason()), where);
}

void Connection::fail(const sqlite::Error& error, const QString& doing, Where where) const
{
    if (error.readOnly() && !m_refusal.isEmpty())
        throw HostFailure(HostError::WriteRefused, m_refusal, where);
    throw HostFailure(
        error.busy() ? HostError::RecordLocked : HostError::DatabaseFailure,
        QStringLiteral("The contact database %1 failed while %2: %3").arg(m_path, doing, error.reason()),
        where);
}

Transaction::Transaction(Connection& connection, Where where) : m_connection(connection)
{
    try {
        m_transaction.emplace(m_connection.database());
    } catch (const sqlite::Error& error) {
        m_connection.failUse(error, where);
    }
}

void Transaction::commit(Where where)
{
    try {
        m_transaction->commit();
    } catch (const sqlite::Error& error) {
        m_connection.failUse(error, where);
    }
}

} // namespace valdora::host::embedded
