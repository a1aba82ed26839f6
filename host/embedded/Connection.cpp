#include "Connection.h"

#include "core/Utf8Text.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace valdora::host::embedded {

namespace {

// A change that SQLite refused because the connection only reads: the host's refusal, in its words.
bool refusedChange(int code, const QString& refusal)
{
    return (code & 0xff) == SQLITE_READONLY && !refusal.isEmpty();
}

} // namespace

Statement::Statement(sqlite3* db, sqlite3_stmt* statement, const QString& path, const QString& refusal)
    : m_db(db), m_statement(statement), m_path(path), m_refusal(refusal)
{}

Statement::~Statement()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

Statement& Statement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

Statement& Statement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step(Where where)
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    if (refusedChange(rc, m_refusal))
        throw HostFailure(HostError::WriteRefused, m_refusal, where);
    throw HostFailure(rc == SQLITE_BUSY ? HostError::RecordLocked : HostError::DatabaseFailure,
                      QStringLiteral("The contact database %1 cannot be used: %2")
                          .arg(m_path, QString::fromUtf8(sqlite3_errmsg(m_db))),
                      where);
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? utf8Verbatim(QByteArrayView(data, sqlite3_column_bytes(m_statement, column))) : QString();
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

void Connection::Closer::operator()(sqlite3* db) const
{
    sqlite3_close(db);
}

Connection::Connection(const QString& path, bool create, Where where) : m_path(path)
{
    if (!create && !QFileInfo(path).isFile())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The contact database %1 does not exist").arg(path), where);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &opened, flags, nullptr);
    m_db.reset(opened);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(handle(), 5000);
        // The read of the schema reads the file header: this is where a file that is not a database
        // shows itself. Nothing is written here: an existing file goes to WAL only once it is known
        // to be a contact database (useWal), so that opening another program's file changes nothing.
        if (sqlite3_exec(
                handle(),
                "PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON; SELECT count(*) FROM sqlite_master;",
                nullptr, nullptr, nullptr) == SQLITE_OK) {
            if (create)
                useWal(where);
            return;
        }
    }
    const QString reason =
        handle() ? QString::fromUtf8(sqlite3_errmsg(handle())) : QStringLiteral("out of memory");
    throw HostFailure(HostError::DatabaseFailure,
                      QStringLiteral("The contact database %1 cannot be opened: %2").arg(path, reason),
                      where);
}

void Connection::useWal(Where where)
{
    exec("PRAGMA journal_mode=WAL;", where);
}

Connection::~Connection()
{
    for (auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
}

Statement Connection::prepare(const char* sql, Where where)
{
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK)
            fail(QStringLiteral("reading"), where);
        found = m_statements.emplace(sql, statement).first;
    }
    return Statement(handle(), found->second, m_path, m_refusal);
}

void Connection::exec(const char* sql, Where where)
{
    char* message = nullptr;
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        sqlite3_free(message);
        fail(QStringLiteral("writing"), where);
    }
}

void Connection::refuseChanges(const QString& reason, Where where)
{
    // SQLite itself keeps the connection from changing the file, whatever statement is tried.
    const char* pragma = reason.isEmpty() ? "PRAGMA query_only=OFF" : "PRAGMA query_only=ON";
    if (sqlite3_exec(handle(), pragma, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("setting its access"), where);
    m_refusal = reason;
}

void Connection::fail(const QString& doing, Where where) const
{
    const int code = sqlite3_errcode(handle());
    if (refusedChange(code, m_refusal))
        throw HostFailure(HostError::WriteRefused, m_refusal, where);
    throw HostFailure(code == SQLITE_BUSY ? HostError::RecordLocked : HostError::DatabaseFailure,
                      QStringLiteral("The contact database %1 failed while %2: %3")
                          .arg(m_path, doing, QString::fromUtf8(sqlite3_errmsg(handle()))),
                      where);
}

Transaction::Transaction(Connection& connection, Where where) : m_connection(connection)
{
    Statement begin = m_connection.prepare("BEGIN IMMEDIATE", where);
    begin.step(where);
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            Statement rollback = m_connection.prepare("ROLLBACK");
            rollback.step();
        } catch (const HostFailure&) {
            // Nothing more to undo: SQLite already rolled back when it could not go on.
        }
    }
}

void Transaction::commit(Where where)
{
    Statement end = m_connection.prepare("COMMIT", where);
    end.step(where);
    m_open = false;
}

} // namespace valdora::host::embedded
