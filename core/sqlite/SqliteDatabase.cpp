#include "SqliteDatabase.h"

#include <QDeadlineTimer>
#include <QThread>

#include <sqlite3.h>

namespace valdora::sqlite {

namespace {

int openFlags(Access access)
{
    switch (access) {
    case Access::ReadWrite:
        return SQLITE_OPEN_READWRITE;
    case Access::ReadWriteCreate:
        return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    case Access::ReadOnly:
        return SQLITE_OPEN_READONLY;
    case Access::ReadOnlyUri:
        return SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
    }
    return SQLITE_OPEN_READONLY;
}

} // namespace

Error errorOf(sqlite3* db)
{
    if (!db)
        return Error(SQLITE_NOMEM, QStringLiteral("out of memory"), QString());
    const char* file = sqlite3_db_filename(db, "main");
    return Error(sqlite3_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)),
                 file ? QString::fromUtf8(file) : QString());
}

void Database::Closer::operator()(sqlite3* db) const
{
    // A statement still kept elsewhere closes the connection when it is finalized.
    sqlite3_close_v2(db);
}

void Database::Finalizer::operator()(sqlite3_stmt* statement) const
{
    sqlite3_finalize(statement);
}

Database::Database(const QString& name, Access access, int busyTimeoutMs)
{
    sqlite3* opened = nullptr;
    const int rc =
        sqlite3_open_v2(name.toUtf8().constData(), &opened, openFlags(access) | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(opened);
    if (rc != SQLITE_OK)
        throw errorOf(handle());
    sqlite3_busy_timeout(handle(), busyTimeoutMs);
    m_busyTimeoutMs = busyTimeoutMs;
}

Database::~Database()
{
    // The kept statements are finalized before the connection closes.
    m_statements.clear();
}

Database::Database(Database&& other) noexcept
    : m_db(std::move(other.m_db)), m_busyTimeoutMs(other.m_busyTimeoutMs),
      m_statements(std::move(other.m_statements))
{}

void Database::exec(const char* sql)
{
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw errorOf(handle());
}

void Database::execRetryingBusy(const char* sql)
{
    const QDeadlineTimer deadline(m_busyTimeoutMs);
    while (sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        Error error = errorOf(handle());
        if (!error.busy() || deadline.hasExpired())
            throw error;
        QThread::msleep(2);
    }
}

Statement Database::cached(const char* sql)
{
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v3(handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
            SQLITE_OK)
            throw errorOf(handle());
        found = m_statements.emplace(sql, std::unique_ptr<sqlite3_stmt, Finalizer>(statement)).first;
    }
    return Statement(handle(), found->second.get());
}

Error Database::lastError() const
{
    return errorOf(handle());
}

void Database::rollback() noexcept
{
    // A failed statement may have ended the transaction already (a full disk does).
    if (sqlite3_get_autocommit(handle()) == 0)
        sqlite3_exec(handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(handle());
}

bool Database::readOnly() const
{
    return sqlite3_db_readonly(handle(), "main") == 1;
}

Transaction::Transaction(Database& database) : m_database(database)
{
    m_database.cached("BEGIN IMMEDIATE").step();
}

Transaction::~Transaction()
{
    if (m_open)
        m_database.rollback();
}

void Transaction::commit()
{
    m_database.cached("COMMIT").step();
    m_open = false;
}

} // namespace valdora::sqlite
