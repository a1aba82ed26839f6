#pragma once

#include "JournalWriter.h"
#include "core/sqlite/SqliteDatabase.h"

#include <QString>

namespace valdora::journal {

/// One statement of the journal, prepared for one use: SQLite's failures come out as JournalError,
/// naming the file.
class SqliteStatement {
public:
    SqliteStatement(sqlite::Statement statement, const QString& path);

    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, const QString& value);
    /// True while a row is there, false when done; a failure throws.
    bool step();
    /// Ready for new bindings and another step.
    void reset() { m_statement.reset(); }
    qint64 integer(int column) const { return m_statement.integer(column); }
    QString text(int column) const { return m_statement.text(column); }

private:
    sqlite::Statement m_statement;
    const QString& m_path;
};

/// One SQLite connection: WAL journal, a busy timeout long enough to wait out another run's commit.
/// An existing file the user cannot write is opened read-only (readOnly()), so that it can be read.
class SqliteFile {
public:
    explicit SqliteFile(const QString& path);
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    /// Runs statements that return no rows.
    void exec(const char* sql);
    /// Drops an open transaction, if any; never fails.
    void rollback() noexcept { m_db.rollback(); }
    SqliteStatement prepare(const char* sql);
    qint64 lastInsertId() const { return m_db.lastInsertId(); }
    const QString& path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }

private:
    QString m_path;
    bool m_readOnly = false;
    sqlite::Database m_db;
};

} // namespace valdora::journal
