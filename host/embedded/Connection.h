#pragma once

#include "host/HostTypes.h"

#include <QString>

#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace valdora::host::embedded {

/// One prepared statement in use: binds, steps, reads columns; resets itself when it goes out of scope
/// so that the cached statement is ready for the next use.
class Statement {
public:
    Statement(sqlite3* db, sqlite3_stmt* statement, const QString& path, const QString& refusal);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, qint64 value);
    Statement& bind(int index, const QString& value);
    /// Steps once: true while a row is there, false when done; a failure throws.
    bool step(Where where = Where::current());
    qint64 integer(int column) const;
    QString text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement;
    const QString& m_path;
    const QString& m_refusal;
};

/// The one SQLite connection of a database object, with its statements prepared once and kept.
class Connection {
public:
    /// Opens (or, when `create`, makes) the file: synchronous=NORMAL, a busy timeout; a file it makes
    /// gets the WAL journal at once. Opening writes nothing into an existing file.
    Connection(const QString& path, bool create, Where where = Where::current());
    /// Switches the file to the WAL journal (a write to its header when it is not in WAL yet): for an
    /// existing file, once it is known to be a contact database.
    void useWal(Where where = Where::current());
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// A cached statement for that SQL text (a string literal: the pointer is the cache key).
    Statement prepare(const char* sql, Where where = Where::current());
    /// Runs statements that return no rows.
    void exec(const char* sql, Where where = Where::current());
    const QString& path() const { return m_path; }
    /// From now on every change through this connection fails with HostError::WriteRefused and this
    /// text, while reading goes on; an empty text allows changes again.
    void refuseChanges(const QString& reason, Where where = Where::current());
    /// A failure naming this database file and SQLite's reason.
    [[noreturn]] void fail(const QString& doing, Where where = Where::current()) const;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    sqlite3* handle() const { return m_db.get(); }

    QString m_path;
    QString m_refusal;
    // Owned from the moment sqlite3_open_v2 hands it out, so a constructor that fails later
    // still closes it.
    std::unique_ptr<sqlite3, Closer> m_db;
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
};

/// A write transaction (BEGIN IMMEDIATE) rolled back unless commit() is called.
class Transaction {
public:
    explicit Transaction(Connection& connection, Where where = Where::current());
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit(Where where = Where::current());

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace valdora::host::embedded
