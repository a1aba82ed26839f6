#pragma once

#include "host/HostTypes.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

struct pg_conn;
struct pg_result;

namespace valdora::host::server {

/// The rows one statement returned (text format); owns libpq's result.
class ServerRows {
public:
    explicit ServerRows(pg_result* result);
    ~ServerRows();
    ServerRows(ServerRows&& other) noexcept;
    ServerRows(const ServerRows&) = delete;
    ServerRows& operator=(const ServerRows&) = delete;
    ServerRows& operator=(ServerRows&&) = delete;

    int count() const;
    QString text(int row, int column) const;
    qint64 integer(int row, int column) const;
    bool isNull(int row, int column) const;

private:
    pg_result* m_result;
};

/// The parameters of a statement, as text.
using ServerParameters = QList<QByteArray>;

/// One statement of several sent at once: a string literal (its pointer names its prepared form)
/// and its parameters.
struct ServerStatement {
    const char* sql;
    ServerParameters parameters;
};

/// What one statement of several sent at once gave: its rows, or its failure.
struct ServerOutcome {
    std::optional<ServerRows> rows;
    std::optional<HostFailure> failure;
};

/// A text array parameter ("{...}") of these values: every element quoted, so any text goes through.
QByteArray textArray(const QStringList& values);
/// An integer array parameter.
QByteArray integerArray(const QList<qint64>& values);

/// What a connection adds to a location where the location (or libpq's environment) says nothing:
/// the program's name, a time limit for connecting, UTF-8, and TLS required (sslmode=require) for a
/// server that is not on this machine.
QList<QPair<const char*, QByteArray>> addedConnectionOptions(const QString& location);

/// The one connection of a database object to the PostgreSQL server, with its statements prepared
/// once per connection. A connection that the server dropped is made again at the next statement;
/// generation() then changes, for the session-level locks of the old one went with it.
class ServerConnection {
public:
    /// Connects to the location (a URI or key=value text). A location that holds a password is
    /// refused: passwords come from libpq's password file or the environment. A server that is not
    /// on this machine needs TLS unless the location or PGSSLMODE says otherwise.
    explicit ServerConnection(const QString& location, Where where = Where::current());
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    /// Runs a statement (a string literal: the pointer names its prepared form) with parameters.
    ServerRows exec(const char* sql, const ServerParameters& parameters = {}, Where where = Where::current());
    /// Runs statements one after the other, sent together and answered together (one round trip to
    /// the server instead of one each), each in a transaction of its own: one that fails does not
    /// stop the next, nor undo the one before.
    std::vector<ServerOutcome> execTogether(const std::vector<ServerStatement>& statements,
                                            Where where = Where::current());
    /// Runs statements without parameters and without preparing them (schema, transactions).
    void run(const char* sql, Where where = Where::current());
    /// The location as given, for messages and the host's title.
    const QString& location() const { return m_location; }
    /// Counts the connections made: a change means that locks taken before are gone.
    int generation() const { return m_generation; }
    /// Makes the connection again when the server dropped it; a failure when it cannot.
    void ensureOpen(Where where = Where::current());
    /// From now on every change through this connection fails with HostError::WriteRefused and this
    /// text, while reading goes on; an empty text allows changes again.
    void refuseChanges(const QString& reason, Where where = Where::current());
    /// How many times this process waited for the server's answer, over all connections: what a
    /// workstation's speed depends on most, for the benchmarks.
    static qint64 roundTrips();
    /// True while a statement that failed left the connection broken.
    bool isBroken() const;
    /// The connection's socket, to wait on for what the server sends unasked; -1 when there is none.
    int socket() const;
    /// Reads what the server sent unasked and gives the payloads of its notifications (LISTEN), in
    /// the order sent. A failure when the connection is lost.
    QStringList takeNotifications(Where where = Where::current());

private:
    struct Closer {
        void operator()(pg_conn* connection) const;
    };
    void connect(Where where);
    void applyRefusal(Where where);
    void applySessionSettings(Where where);
    ServerRows checked(pg_result* result, Where where);
    [[noreturn]] void fail(pg_result* result, Where where);
    /// The failure a result (nullptr: the connection) tells; the result is freed.
    HostFailure failureOf(pg_result* result, Where where);
    /// The name of a statement's prepared form, prepared on first use.
    const QByteArray& prepared(const char* sql, Where where);

    QString m_location;
    std::unique_ptr<pg_conn, Closer> m_connection;
    std::unordered_map<const char*, QByteArray> m_prepared;
    QString m_refusal;
    int m_generation = 0;
};

/// A short transaction rolled back unless commit() is called.
class ServerTransaction {
public:
    explicit ServerTransaction(ServerConnection& connection, Where where = Where::current());
    ~ServerTransaction();
    ServerTransaction(const ServerTransaction&) = delete;
    ServerTransaction& operator=(const ServerTransaction&) = delete;
    void commit(Where where = Where::current());

private:
    ServerConnection& m_connection;
    bool m_open = true;
};

} // namespace valdora::host::server
