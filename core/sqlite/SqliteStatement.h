#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace valdora::sqlite {

/// One use of a prepared statement: binds, steps, reads columns. When it goes, a statement its
/// connection keeps prepared is reset for the next use, one prepared for this use alone is finalized.
class Statement {
public:
    /// A use of a statement that the connection keeps (Database::cached).
    Statement(sqlite3* db, sqlite3_stmt* kept);
    /// A statement prepared for this use alone; throws Error when the SQL does not prepare.
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, qint64 value);
    Statement& bind(int index, const QString& value);
    /// Binds bytes as a BLOB (compared byte by byte, as SQLite orders BLOBs).
    Statement& bindBlob(int index, QByteArrayView bytes);
    /// Steps once: true while a row is there, false when done; a failure throws Error.
    bool step();
    /// Ready for new bindings and another step.
    void reset();
    qint64 integer(int column) const;
    /// The column's text, every byte kept (invalid UTF-8 included).
    QString text(int column) const;
    /// The column's bytes as stored, valid until the next step: for reading many rows without a
    /// QString each.
    QByteArrayView utf8(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    bool m_owned;
};

} // namespace valdora::sqlite
