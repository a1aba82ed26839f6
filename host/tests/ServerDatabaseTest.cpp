#include "DatabaseTestFixture.h"
#include "HostProcess.h"

#include "core/testsupport/FailsWith.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/server/ServerConnection.h"
#include "host/server/ServerSchema.h"

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

QStringList allIds(ContactTable& table)
{
    QStringList ids;
    table.Query(QString());
    for (table.MoveFirst(); !table.isEOF(); table.MoveNext())
        ids.append(table.Data(FieldNumber::UniqueId));
    return ids;
}

/// The writes of a run: each contact of the selection in order, asked whether it is locked, then
/// edited, given a value and written. Returns the contacts written.
int writeAsARun(ContactTable& table, const QStringList& ids, const QString& value)
{
    int written = 0;
    for (const QString& id : ids) {
        table.Goto(id);
        if (table.isLocked())
            continue;
        table.Edit();
        table.SetDataEx({20}, {value});
        if (table.Update() == id)
            ++written;
    }
    return written;
}

// The speed of a run over a network is its waits for the server: asking whether the next contact
// is locked goes along with the write before it, so a contact costs what the host's own write costs.
TEST_F(ServerDatabaseTest, ARunWaitsForTheServerTwiceAContact)
{
    const QStringList ids = allIds(table());
    // The first run prepares the statements on the connection, once each.
    EXPECT_EQ(writeAsARun(table(), ids, QStringLiteral("prepared")), ids.size());
    const qint64 before = server::ServerConnection::roundTrips();
    EXPECT_EQ(writeAsARun(table(), ids, QStringLiteral("walked")), ids.size());
    EXPECT_EQ(server::ServerConnection::roundTrips() - before, 2 * ids.size() + 1)
        << "the first contact asks on its own whether it is locked, every later one with the write before";
    for (const QString& id : ids) {
        table().Goto(id);
        EXPECT_EQ(table().Data(20), QStringLiteral("walked")) << id.toStdString();
    }
}

struct ProbeCase {
    const char* name;
    /// Whether the other workstation takes the lock before this one writes the contact before it
    /// (the probe sent with that write finds it held) or after (the probe found it free).
    bool lockedBeforeTheProbe;
};

class ServerLockProbe : public DatabaseFixture, public ::testing::WithParamInterface<ProbeCase> {
protected:
    DatabaseKind kind() const override { return DatabaseKind::Server; }
};

// Another workstation that holds the next contact is never overwritten, whenever it took the lock:
// the answer of the probe sent ahead is checked by Edit, which takes the lock itself.
TEST_P(ServerLockProbe, AContactHeldElsewhereIsNotWritten)
{
    const QStringList ids = allIds(table());
    ASSERT_GE(ids.size(), 2);
    server::ServerConnection other(m_path);
    const auto holdSecond = [&] {
        other.exec("SELECT pg_advisory_lock($1::integer,"
                   " (SELECT record FROM contacts WHERE uid = $2)::integer)",
                   {QByteArray::number(server::RecordLockSpace), ids.at(1).toUtf8()});
    };
    if (GetParam().lockedBeforeTheProbe)
        holdSecond();
    EXPECT_EQ(writeAsARun(table(), {ids.at(0)}, QStringLiteral("first")), 1);
    if (!GetParam().lockedBeforeTheProbe)
        holdSecond();
    table().Goto(ids.at(1));
    const bool saidLocked = table().isLocked();
    if (GetParam().lockedBeforeTheProbe) {
        EXPECT_TRUE(saidLocked) << "a record found held by the probe is asked again";
    }
    table().Edit();
    EXPECT_EQ(table().LockLevel(), 0);
    table().SetDataEx({20}, {QStringLiteral("over another's edit")});
    EXPECT_EQ(table().Update(), QString());
    table().Goto(ids.at(1));
    EXPECT_EQ(table().Data(20), QString());
}

INSTANTIATE_TEST_SUITE_P(Probe, ServerLockProbe,
                         ::testing::Values(ProbeCase{"LockedBeforeTheProbe", true},
                                           ProbeCase{"LockedAfterTheProbe", false}),
                         [](const auto& info) { return std::string(info.param.name); });

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
