#pragma once

#include "core/sqlite/SqliteDatabase.h"
#include "core/sqlite/WalCheckpointer.h"
#include "host/HostTypes.h"

#include <QString>

#include <memory>
#include <optional>

namespace valdora::host::embedded {

class Connection;

/// One use of a prepared statement of the contact database: SQLite's failures come out as the
/// host's, naming the file.
class Statement {
public:
    Statement(sqlite::Statement statement, const Connection& connection);

    Statement& bind(int index, qint64 value);
    Statement& bind(int index, const QString& value);
    Statement& bindBlob(int index, QByteArrayView bytes);
    /// Steps once: true while a row is there, false when done; a failure throws.
    bool step(Where where = Where::current());
    qint64 integer(int column) const { return m_statement.integer(column); }
    QString text(int column) const { return m_statement.text(column); }
    QByteArrayView utf8(int column) const { return m_statement.utf8(column); }
    bool isNull(int column) const { return m_statement.isNull(column); }

private:
    sqlite::Statement m_statement;
    const Connection& m_connection;
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
    /// SQLite's failure as the host reports it, `doing` saying what failed.
    [[noreturn]] void fail(const sqlite::Error& error, const QString& doing, Where where) const;
    /// SQLite's failure of a statement (a busy file: a record held elsewhere).
    [[noreturn]] void failUse(const sqlite::Error& error, Where where) const;
    sqlite::Database& database() { return m_db; }

private:
    QString m_path;
    QString m_refusal;
    sqlite::Database m_db;
    /// The log's copies into the file, off the writer's thread (once the file is in WAL).
    std::unique_ptr<sqlite::WalCheckpointer> m_checkpointer;
};

/// A write transaction (BEGIN IMMEDIATE) rolled back unless commit() is called.
class Transaction {
public:
    explicit Transaction(Connection& connection, Where where = Where::current());
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit(Where where = Where::current());

private:
    Connection& m_connection;
    std::optional<sqlite::Transaction> m_transaction;
};

} // namespace valdora::host::embedded
