#include "SqliteFile.h"

#include "core/Utf8Text.h"

#include <sqlite3.h>

namespace valdora::journal {

namespace {

[[noreturn]] void fail(sqlite3* db, const char* doing)
{
    const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    const QString file = db ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString();
    throw JournalError(
        QStringLiteral("The run journal %1 cannot be %2: %3").arg(file, QString::fromLatin1(doing), reason));
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) : m_db(db)
{
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        fail(db, "read");
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(m_db, "written");
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString SqliteStatement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? utf8Verbatim(QByteArrayView(data, sqlite3_column_bytes(m_statement, column))) : QString();
}

void SqliteFile::Closer::operator()(sqlite3* db) const
{
    sqlite3_close(db);
}

SqliteFile::SqliteFile(const QString& path) : m_path(path)
{
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &opened,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(opened);
    if (rc != SQLITE_OK)
        fail(m_db.get(), "opened");
    sqlite3_busy_timeout(m_db.get(), 15000);
    // WAL: a commit survives the process being killed the moment after, and readers do not wait.
    exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
}

SqliteFile::~SqliteFile() = default;

void SqliteFile::exec(const char* sql)
{
    if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(m_db.get(), "written");
}

qint64 SqliteFile::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db.get());
}

} // namespace valdora::journal
