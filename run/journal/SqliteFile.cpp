#include "SqliteFile.h"

#include <QFileInfo>
#include <QUrl>

#include <optional>

namespace valdora::journal {

namespace {

constexpr int BusyTimeoutMs = 15000;

/// SQLite's failure as the journal reports it; `path` names the file where SQLite has no name for it
/// (a connection that never opened its file).
[[noreturn]] void fail(const sqlite::Error& error, const char* doing, const QString& path)
{
    const QString file = error.file().isEmpty() ? path : error.file();
    throw JournalError(QStringLiteral("The run journal %1 cannot be %2: %3")
                           .arg(file, QString::fromLatin1(doing), error.reason()),
                       error.damaged(), error.busy());
}

/// Opens the file (or `name`, a URI naming it) and runs `setup` on it.
sqlite::Database open(const QString& path, sqlite::Access access, const char* setup, const QString& name = {})
{
    std::optional<sqlite::Database> db;
    try {
        db.emplace(name.isEmpty() ? path : name, access, BusyTimeoutMs);
    } catch (const sqlite::Error& error) {
        fail(error, "opened", path);
    }
    try {
        // Programs that open a new journal at once all switch it to WAL together, and SQLite refuses
        // all but one of them as busy without waiting.
        db->execRetryingBusy(setup);
    } catch (const sqlite::Error& error) {
        fail(error, "written", path);
    }
    return std::move(*db);
}

/// The journal, to read and write; or, in a folder or file the user cannot write, to read: it still
/// lists its runs then. Where not even the WAL's index can be made beside it, the file is read as it
/// is on the disk (what a run left in its WAL that was not written back yet is not seen then).
sqlite::Database openJournal(const QString& path, bool& readOnly)
{
    try {
        // WAL: a commit survives the process being killed the moment after, and readers do not wait.
        sqlite::Database db =
            open(path, sqlite::Access::ReadWriteCreate,
                 "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
        // A file the user may read but not write opens read-only without a word: say so here.
        readOnly = db.readOnly();
        return db;
    } catch (const JournalError& error) {
        // Only a file the user cannot write is opened to read: one that another program holds is
        // writable, and a run that found it so must say why it did not start.
        if (error.damaged() || error.busy() || !QFileInfo(path).isFile())
            throw;
    }
    readOnly = true;
    try {
        return open(path, sqlite::Access::ReadOnly, "SELECT count(*) FROM sqlite_master;");
    } catch (const JournalError&) {
        QUrl uri = QUrl::fromLocalFile(path);
        uri.setQuery(QStringLiteral("immutable=1"));
        return open(path, sqlite::Access::ReadOnlyUri, "SELECT count(*) FROM sqlite_master;",
                    uri.toString(QUrl::FullyEncoded));
    }
}

} // namespace

SqliteStatement::SqliteStatement(sqlite::Statement statement, const QString& path)
    : m_statement(std::move(statement)), m_path(path)
{}

SqliteStatement& SqliteStatement::bind(int index, qint64 value)
{
    m_statement.bind(index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value)
{
    m_statement.bind(index, value);
    return *this;
}

bool SqliteStatement::step()
{
    try {
        return m_statement.step();
    } catch (const sqlite::Error& error) {
        fail(error, "written", m_path);
    }
}

SqliteFile::SqliteFile(const QString& path) : m_path(path), m_db(openJournal(path, m_readOnly)) {}

void SqliteFile::exec(const char* sql)
{
    try {
        m_db.exec(sql);
    } catch (const sqlite::Error& error) {
        fail(error, "written", m_path);
    }
}

SqliteStatement SqliteFile::prepare(const char* sql)
{
    try {
        return SqliteStatement(m_db.prepare(sql), m_path);
    } catch (const sqlite::Error& error) {
        fail(error, "read", m_path);
    }
}

} // namespace valdora::journal
