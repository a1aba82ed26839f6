#pragma once

#include "SqliteError.h"
#include "SqliteStatement.h"

#include <QString>

#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace valdora::sqlite {

/// How a connection opens its file.
enum class Access {
    ReadWrite,       ///< an existing file, to read and write
    ReadWriteCreate, ///< made when missing
    ReadOnly,        ///< an existing file, to read
    ReadOnlyUri,     ///< a "file:" URI (immutable=1 ...), to read
};

/// One SQLite connection, closed when it goes, with the statements it keeps prepared.
class Database {
public:
    /// Opens `name` (a path, or a URI for Access::ReadOnlyUri) and sets a busy timeout: a write lock
    /// held by another connection is waited for that long before a statement fails as busy. Throws
    /// Error when the file cannot be opened.
    Database(const QString& name, Access access, int busyTimeoutMs);
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&&) = delete;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    /// Runs statements that return no rows; throws Error.
    void exec(const char* sql);
    /// exec() for statements outside a transaction that SQLite may refuse as busy at once, without its
    /// busy timeout: a change of journal mode while another connection changes it too (SQLite will not
    /// let two connections that each hold a read lock wait for each other). Retried until the busy
    /// timeout has passed; then throws the busy Error.
    void execRetryingBusy(const char* sql);
    /// A statement prepared for one use.
    Statement prepare(const char* sql) { return Statement(handle(), sql); }
    /// A statement prepared once and kept for the connection's life (`sql` is a string literal: its
    /// pointer is the key).
    Statement cached(const char* sql);
    /// The connection's last failure.
    Error lastError() const;
    /// Drops an open transaction, if any; never fails.
    void rollback() noexcept;
    qint64 lastInsertId() const;
    /// True when SQLite opened the file to read only (a file the user may not write).
    bool readOnly() const;
    sqlite3* handle() const { return m_db.get(); }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    // Owned from the moment sqlite3_open_v2 hands it out, so that a failure later still closes it;
    // the kept statements go before it.
    std::unique_ptr<sqlite3, Closer> m_db;
    int m_busyTimeoutMs = 0;
    std::unordered_map<const char*, std::unique_ptr<sqlite3_stmt, Finalizer>> m_statements;
};

/// The failure SQLite reports for a connection (nullptr: one it could not even allocate).
Error errorOf(sqlite3* db);

/// A write transaction (BEGIN IMMEDIATE) rolled back unless commit() is called.
class Transaction {
public:
    /// Throws Error when the write lock does not come within the busy timeout.
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& m_database;
    bool m_open = true;
};

} // namespace valdora::sqlite
