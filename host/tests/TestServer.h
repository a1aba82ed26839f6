#pragma once

#include <QString>

namespace valdora::host::test {

/// The location of the throwaway PostgreSQL server that the test command starts (its maintenance
/// database); a failure, never a skip, when it is not running.
QString testServerLocation();

/// A new, empty database on the test server for one test, dropped again when the object goes.
class ServerTestDatabase {
public:
    ServerTestDatabase();
    ~ServerTestDatabase();
    ServerTestDatabase(const ServerTestDatabase&) = delete;
    ServerTestDatabase& operator=(const ServerTestDatabase&) = delete;

    /// The database's location (key=value text).
    const QString& location() const { return m_location; }
    /// The name of the database on the server.
    const QString& name() const { return m_name; }
    /// Runs SQL in the database as another program would, on a connection of its own.
    void execute(const QString& sql) const;
    /// The first value that a query gives, on a connection of its own ("" when it gives no row).
    QString value(const QString& sql) const;

private:
    QString m_name;
    QString m_location;
};

} // namespace valdora::host::test
