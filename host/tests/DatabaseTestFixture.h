#pragma once

#include "TestServer.h"

#include "core/testsupport/TestEnvironment.h"
#include "host/Database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>

namespace valdora::host::test {

/// The two databases behind the host interface: a file (SQLite) and a database on a server.
enum class DatabaseKind { File, Server };

std::string kindName(DatabaseKind kind);

/// A sample database of 40 contacts of one kind, opened through the interface; further databases of
/// the same kind on demand. The tests of the interface run once per kind.
class DatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override;
    virtual DatabaseKind kind() const = 0;

    ContactTable& table() { return m_database->Contact(); }
    /// The first contact of the default sort.
    QString firstId();
    /// A location for another database of this kind (not made yet).
    QString newLocation(const QString& name);
    /// Runs SQL in the open database as another program would.
    void executeElsewhere(const QString& sql);

    valdora::test::TemporaryUserSettings m_settings;
    valdora::test::PinnedLocale m_locale{QStringLiteral("en_US")};
    QTemporaryDir m_dir;
    /// The location of the sample database: a file path or a server location.
    QString m_path;
    std::list<ServerTestDatabase> m_serverDatabases;
    std::unique_ptr<Database> m_database;
};

class DatabaseTest : public DatabaseFixture, public ::testing::WithParamInterface<DatabaseKind> {
protected:
    DatabaseKind kind() const override { return GetParam(); }
};

/// What only a database file does (or only it can be asked).
class FileDatabaseTest : public DatabaseFixture {
protected:
    DatabaseKind kind() const override { return DatabaseKind::File; }
};

/// What only a database on a server does.
class ServerDatabaseTest : public DatabaseFixture {
protected:
    DatabaseKind kind() const override { return DatabaseKind::Server; }
};

} // namespace valdora::host::test
