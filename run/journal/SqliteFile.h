#pragma once

#include "JournalWriter.h"

#include <QString>

#include <memory>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace valdora::journal {

/// One statement, prepared for one use: binds, steps, reads columns, finalizes when it goes.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, const QString& value);
    /// True while a row is there, false when done; a failure throws.
    bool step();
    /// Ready for new bindings and another step.
    void reset();
    qint64 integer(int column) const;
    QString text(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

/// One SQLite connection: WAL journal, a busy timeout long enough to wait out another run's commit.
/// An existing file the user cannot write is opened read-only (readOnly()), so that it can be read.
class SqliteFile {
public:
    explicit SqliteFile(const QString& path);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    /// Runs statements that return no rows.
    void exec(const char* sql);
    /// Drops an open transaction, if any; never fails.
    void rollback() noexcept;
    SqliteStatement prepare(const char* sql) { return SqliteStatement(m_db.get(), sql); }
    qint64 lastInsertId() const;
    sqlite3* handle() const { return m_db.get(); }
    const QString& path() const { return m_path; }
    bool readOnly() const { return m_readOnly; }

private:
    /// Opens the file (or `name`, a URI naming it) with those flags.
    void open(int flags, const QString& name = QString());

    struct Closer {
        void operator()(sqlite3* db) const;
    };
    QString m_path;
    std::unique_ptr<sqlite3, Closer> m_db;
    bool m_readOnly = false;
};

} // namespace valdora::journal
