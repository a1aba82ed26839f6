#pragma once

#include <QString>
#include <QTemporaryDir>

namespace valdora::host::test {

/// The location of the throwaway PostgreSQL server that the test command starts (its maintenance
/// database); a failure, never a skip, when it is not running.
QString testServerLocation();

/// How the test server is reached over TCP on the loopback interface, where it takes only TLS
/// connections with a password: the role valdora_login, whose password is in a libpq password file.
struct TestServerLogin {
    /// "host=127.0.0.1 port=N" (no database, no user).
    QString tcp;
    /// The password file (for PGPASSFILE) with valdora_login's password.
    QString passwordFile;
};
TestServerLogin testServerLogin();

/// A throwaway server of one test's own, for a test that stops the server: the test command's
/// server is shared by the other tests. Stopped and removed when the object goes.
class OwnTestServer {
public:
    OwnTestServer();
    ~OwnTestServer();
    OwnTestServer(const OwnTestServer&) = delete;
    OwnTestServer& operator=(const OwnTestServer&) = delete;

    /// The location of a new, empty database on it.
    QString newDatabase(const QString& name) const;
    /// Stops the server at once, as a crash or a power cut would; its data stays.
    void halt() const;
    /// Starts it again where it was.
    void resume() const;

private:
    QTemporaryDir m_folder;
    QString m_state;
    QString m_location;
};

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
