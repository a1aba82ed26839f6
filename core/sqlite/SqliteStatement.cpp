#include "SqliteStatement.h"

#include "SqliteDatabase.h"
#include "core/Utf8Text.h"

#include <sqlite3.h>

#include <utility>

namespace valdora::sqlite {

Statement::Statement(sqlite3* db, sqlite3_stmt* kept) : m_db(db), m_statement(kept), m_owned(false) {}

Statement::Statement(sqlite3* db, const char* sql) : m_db(db), m_owned(true)
{
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        throw errorOf(db);
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_statement(std::exchange(other.m_statement, nullptr)), m_owned(other.m_owned)
{}

Statement::~Statement()
{
    if (!m_statement)
        return; // moved away
    if (m_owned) {
        sqlite3_finalize(m_statement);
        return;
    }
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

Statement& Statement::bindBlob(int index, QByteArrayView bytes)
{
    sqlite3_bind_blob(m_statement, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The step's own code: the connection's last one may be set by a later call already.
    const Error error = errorOf(m_db);
    throw Error(rc, error.reason(), error.file());
}

void Statement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
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

QByteArrayView Statement::utf8(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_statement, column)) : QByteArrayView();
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

} // namespace valdora::sqlite
