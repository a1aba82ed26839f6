#include "SqliteFile.h"

#include "core/Utf8Text.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace valdora::journal {

namespace {

[[noreturn]] void fail(sqlite3* db, const char* doing, const QString& path = QString())
{
    const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    // A connection that never opened its file has no name for it: the path it was given says which.
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    const QString file = name && *name ? QString::fromUtf8(name) : path;
    const int code = db ? sqlite3_errcode(db) : SQLITE_NOMEM;
    throw JournalError(
        QStringLiteral("The run journal %1 cannot be %2: %3").arg(file, QString::fromLatin1(doing), reason),
        code == SQLITE_NOTADB || code == SQLITE_CORRUPT);
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
    try {
        open(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        // WAL: a commit survives the process being killed the moment after, and readers do not wait.
        exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
        // A file the user may read but not write opens read-only without a word: say so here.
        m_readOnly = sqlite3_db_readonly(m_db.get(), "main") == 1;
        return;
    } catch (const JournalError& error) {
        if (error.damaged() || !QFileInfo(path).isFile())
            throw;
    }
    // A journal in a folder or file the user cannot write still lists its runs. Where not even the WAL's
    // index can be made beside it, the file is read as it is on the disk (what a run left in its WAL
    // that was not written back yet is not seen then).
    m_readOnly = true;
    try {
        open(SQLITE_OPEN_READONLY);
        exec("SELECT count(*) FROM sqlite_master;");
    } catch (const JournalError&) {
        QUrl uri = QUrl::fromLocalFile(path);
        uri.setQuery(QStringLiteral("immutable=1"));
        open(SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, uri.toString(QUrl::FullyEncoded));
        exec("SELECT count(*) FROM sqlite_master;");
    }
}

void SqliteFile::open(int flags, const QString& name)
{
    sqlite3* opened = nullptr;
    const QByteArray file = (name.isEmpty() ? m_path : name).toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &opened, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(opened);
    if (rc != SQLITE_OK)
        fail(m_db.get(), "opened", m_path);
    sqlite3_busy_timeout(m_db.get(), 15000);
}

SqliteFile::~SqliteFile() = default;

void SqliteFile::exec(const char* sql)
{
    if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(m_db.get(), "written", m_path);
}

void SqliteFile::rollback() noexcept
{
    // A failed statement may have ended the transaction already (a full disk does).
    if (sqlite3_get_autocommit(m_db.get()) == 0)
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
}

qint64 SqliteFile::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db.get());
}

} // namespace valdora::journal
