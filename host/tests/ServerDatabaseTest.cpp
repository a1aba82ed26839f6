#include "DatabaseTestFixture.h"
#include "HostProcess.h"

#include "core/testsupport/FailsWith.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/server/ServerConnection.h"

#include <gtest/gtest.h>

namespace valdora::host::test {

namespace {

/// Opens a location and returns what the failure said ("" when it opened).
QString openFailure(const QString& location, int expectedNumber = HostError::DatabaseFailure)
{
    auto database = createDatabase();
    try {
        database->OpenEx(location);
    } catch (const HostFailure& failure) {
        EXPECT_EQ(failure.number(), expectedNumber) << failure.description().toStdString();
        EXPECT_TRUE(database->Error());
        return failure.description();
    }
    return {};
}

TEST_F(ServerDatabaseTest, AServerThatCannotBeReachedIsNamed)
{
    const QString location =
        QStringLiteral("host=%1/nowhere dbname=contacts connect_timeout=2").arg(m_dir.path());
    const QString message = openFailure(location);
    EXPECT_TRUE(message.contains(QStringLiteral("cannot be reached"))) << message.toStdString();
    EXPECT_TRUE(message.contains(location)) << message.toStdString();
}

TEST_F(ServerDatabaseTest, ADatabaseWithoutTheContactTablesSaysHowToMakeThem)
{
    const ServerTestDatabase empty;
    const QString message = openFailure(empty.location());
    EXPECT_TRUE(message.contains(QStringLiteral("holds no contact database"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("ContactHost.exe create"))) << message.toStdString();
}

TEST_F(ServerDatabaseTest, ADatabaseOfAnotherLayoutVersionIsRefused)
{
    executeElsewhere(QStringLiteral("UPDATE meta SET value = '99' WHERE key = 'schema_version'"));
    const QString message = openFailure(m_path);
    EXPECT_TRUE(message.contains(QStringLiteral("layout version 99"))) << message.toStdString();
}

TEST_F(ServerDatabaseTest, ALocationWithAPasswordIsRefusedWithoutConnecting)
{
    const QString message = openFailure(m_path + QStringLiteral(" password=Secret42"));
    EXPECT_TRUE(message.contains(QStringLiteral(".pgpass"))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("Secret42"))) << "the password is not repeated";
}

TEST_F(ServerDatabaseTest, CreateNeedsAnEmptyDatabaseAndChangesNothingElse)
{
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        ErrorNumber::FileAlreadyOpen, valdora::test::containing(" is not empty; the contact tables are made"),
        [&] { createEmptyDatabase(m_path); }));
    int contacts = 0;
    table().Query(QString());
    for (table().MoveFirst(); !table().isEOF(); table().MoveNext())
        ++contacts;
    EXPECT_EQ(contacts, 40);
    const HostRun run = runHost({QStringLiteral("create"), m_path});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("is not empty"))) << run.err.toStdString();
}

// The server ends the connection (a restart, a network fault): the write under way fails and says
// so, nothing is half written, and the next one works on a new connection.
TEST_F(ServerDatabaseTest, ADroppedConnectionFailsTheWriteUnderWayAndTheNextOneWorks)
{
    const QString id = firstId();
    table().Goto(id);
    table().Edit();
    ASSERT_EQ(table().LockLevel(), 1);
    table().SetDataEx({20}, {QStringLiteral("lost")});
    executeElsewhere(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    EXPECT_EQ(table().Update(), QString());
    EXPECT_TRUE(table().lastWriteFailure().contains(QStringLiteral("connection")))
        << table().lastWriteFailure().toStdString();
    table().Goto(id);
    EXPECT_EQ(table().Data(20), QString());
    table().Edit();
    EXPECT_EQ(table().LockLevel(), 1);
    table().SetDataEx({20}, {QStringLiteral("kept")});
    EXPECT_EQ(table().Update(), id);
    EXPECT_EQ(table().lastWriteFailure(), QString());
    table().Goto(id);
    EXPECT_EQ(table().Data(20), QStringLiteral("kept"));
}

struct TlsCase {
    const char* name;
    const char* location;
    bool required;
};

class ServerTlsDefault : public ::testing::TestWithParam<TlsCase> {};

// Without a word about TLS in the location or the environment, a server reached over a network is
// reached encrypted; one on this machine (a Unix socket, the loopback interface) needs no TLS.
TEST_P(ServerTlsDefault, RequiredForAServerOnAnotherMachineUnlessTheLocationSaysOtherwise)
{
    const QByteArray previous = qgetenv("PGSSLMODE");
    const QByteArray previousHost = qgetenv("PGHOST");
    qunsetenv("PGSSLMODE");
    qunsetenv("PGHOST");
    bool required = false;
    for (const auto& [keyword, value] :
         server::addedConnectionOptions(QString::fromLatin1(GetParam().location)))
        required = required || (qstrcmp(keyword, "sslmode") == 0 && value == "require");
    EXPECT_EQ(required, GetParam().required);
    if (!previous.isNull())
        qputenv("PGSSLMODE", previous);
    if (!previousHost.isNull())
        qputenv("PGHOST", previousHost);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, ServerTlsDefault,
    ::testing::Values(
        TlsCase{"UnixSocket", "host=/run/postgresql dbname=contacts", false},
        TlsCase{"Localhost", "postgresql://anna@localhost/contacts", false},
        TlsCase{"Loopback", "host=127.0.0.1 dbname=contacts", false},
        TlsCase{"NoHostAtAll", "dbname=contacts", false},
        TlsCase{"OtherMachine", "postgresql://anna@db.example.com/contacts", true},
        TlsCase{"OtherMachineByAddress", "host=192.168.1.20 dbname=contacts", true},
        TlsCase{"OneOfSeveralElsewhere", "host=localhost,db.example.com dbname=contacts", true},
        TlsCase{"LocationSaysDisable", "postgresql://db.example.com/contacts?sslmode=disable", false},
        TlsCase{"LocationSaysVerifyFull", "host=db.example.com sslmode=verify-full dbname=c", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

} // namespace valdora::host::test
