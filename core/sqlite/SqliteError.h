#pragma once

#include <QString>

#include <stdexcept>

namespace valdora::sqlite {

/// A failure of SQLite, in its own words: each layer that uses SQLite turns it into its own failure.
class Error : public std::runtime_error {
public:
    Error(int code, QString reason, QString file);

    /// SQLite's primary result code (SQLITE_BUSY, SQLITE_READONLY ...).
    int code() const { return m_code; }
    /// SQLite's message ("database is locked" ...), or "out of memory" when it had no connection.
    const QString& reason() const { return m_reason; }
    /// The file of the connection as SQLite names it; "" when it never opened one.
    const QString& file() const { return m_file; }
    /// Another connection holds the lock longer than the busy timeout.
    bool busy() const;
    /// A change through a connection that may only read.
    bool readOnly() const;
    /// The file is not a database or is damaged.
    bool damaged() const;

private:
    int m_code;
    QString m_reason;
    QString m_file;
};

} // namespace valdora::sqlite
