// Two workstations on one contact database on a PostgreSQL server: each its own headless
// ContactHost.exe, its own user and Valdora.exe runs, one shared program folder with its counter
// files. The server is the throwaway one that ctest starts.
#include "RunReliabilityFixture.h"

#include "host/DatabaseTools.h"
#include "host/client/RunningHost.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/server/ServerConnection.h"
#include "host/tests/HostProcess.h"
#include "host/tests/TestServer.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

namespace valdora::run::test {

namespace {

using valdora::test::readFile;

const QString User1 = QStringLiteral("User 1");
const QString User2 = QStringLiteral("User 2");
const QString User3 = QStringLiteral("User 3");
const QString User4 = QStringLiteral("User 4");

/// One workstation: the name its host answers under and its user's settings folder.
struct Workstation {
    QString hostServer;
    QString userSettings;
};

/// Sets environment variables for as long as it lives, then puts the previous values back.
class EnvironmentFor {
public:
    explicit EnvironmentFor(const Workstation& workstation)
    {
        set("VALDORA_HOST_SERVER", workstation.hostServer);
        set("VALDORA_USER_SETTINGS", workstation.userSettings);
    }
    ~EnvironmentFor()
    {
        for (const auto& [name, value] : m_previous)
            qputenv(name, value);
    }
    EnvironmentFor(const EnvironmentFor&) = delete;
    EnvironmentFor& operator=(const EnvironmentFor&) = delete;

private:
    void set(const char* name, const QString& value)
    {
        m_previous.append({name, qgetenv(name)});
        qputenv(name, value.toUtf8());
    }
    QList<QPair<const char*, QByteArray>> m_previous;
};

class TeamRunTest : public RunReliabilityTest {
protected:
    void SetUp() override
    {
        RunReliabilityTest::SetUp();
        m_first = {qEnvironmentVariable("VALDORA_HOST_SERVER"), m_settings->path()};
        m_second = {m_first.hostServer + QStringLiteral("-second"), m_secondUser.path()};
    }
    void TearDown() override
    {
        if (m_secondHost && m_secondHost->state() != QProcess::NotRunning) {
            m_secondHost->kill();
            m_secondHost->waitForFinished(5000);
        }
        RunReliabilityTest::TearDown();
    }

    /// The sample contacts in a database of the test server instead of the file.
    void onServer(int contacts)
    {
        m_database = m_server.location();
        host::createSampleDatabase(m_database, contacts);
    }
    /// Both hosts on the server database.
    void startBothHosts()
    {
        startHost();
        m_secondHost = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VALDORA_HOST_SERVER"), m_second.hostServer);
        environment.insert(QStringLiteral("VALDORA_PROGRAM_FOLDER"), m_hostProgramFolder);
        m_secondHost->setProcessEnvironment(environment);
        m_secondHost->start(host::test::contactHostProgram(), {QStringLiteral("--headless"), m_database});
        ASSERT_TRUE(m_secondHost->waitForStarted(5000)) << "the second host did not start";
        const EnvironmentFor second(m_second);
        const QDeadlineTimer deadline(20000);
        while (!host::runningHostDatabasePath() && !deadline.hasExpired()) {
            ASSERT_NE(m_secondHost->state(), QProcess::NotRunning)
                << m_secondHost->readAllStandardError().toStdString();
            QThread::msleep(20);
        }
        ASSERT_EQ(host::runningHostDatabasePath(), m_database) << "the second host did not come up";
    }
    std::unique_ptr<QProcess> startOn(const Workstation& workstation, const QStringList& arguments)
    {
        const EnvironmentFor environment(workstation);
        return startValdora(arguments);
    }
    valdora::test::CommandResult runOn(const Workstation& workstation, const QStringList& arguments)
    {
        const EnvironmentFor environment(workstation);
        return valdora(arguments);
    }
    void nowButton(const QString& name, const QString& target)
    {
        writeButton(
            name,
            {{"Type", "4"}, {"Target", target}, {"NowDays", "0"}, {"NowFormatDate0", "1"}, {"Over3", "1"}});
    }
    /// True when no workstation holds the lock of the contact any more (a server learns of a
    /// lost connection a moment after its program ended).
    bool unlockedWithin(const QString& id, int msecs)
    {
        const auto database = host::openToolDatabase(m_database);
        host::ContactTable& contacts = database->Contact();
        const QDeadlineTimer deadline(msecs);
        contacts.Goto(id);
        while (contacts.isLocked()) {
            if (deadline.hasExpired())
                return false;
        }
        return true;
    }

    /// How many contacts hold a value in "User 1" (field 27): one question to the server.
    int writtenToUser1() const
    {
        return m_server.value(QStringLiteral("SELECT count(*) FROM vals WHERE field = 27")).toInt();
    }

    host::test::ServerTestDatabase m_server;
    QTemporaryDir m_secondUser;
    Workstation m_first;
    Workstation m_second;
    std::unique_ptr<QProcess> m_secondHost;
};

QString finish(QProcess& process)
{
    EXPECT_TRUE(process.waitForFinished(180000)) << "a run did not end within three minutes";
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

TEST_F(TeamRunTest, TwoWorkstationsRunAutoNumberAndNowAtOnceWithOneCounter)
{
    constexpr int Contacts = 120;
    onServer(Contacts);
    const QString counter = m_program + QStringLiteral("/Shared.num");
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over3"));
    autoNumberButton(QStringLiteral("~102.ini"), counter, QStringLiteral("Over3"));
    writeButton(QStringLiteral("~102.ini"), {{"Target", User2}});
    nowButton(QStringLiteral("~103.ini"), User3);
    nowButton(QStringLiteral("~104.ini"), User4);
    startBothHosts();
    const QString everyContact =
        QStringLiteral("%1 contacts in scope, %1 written, 0 left unchanged, 0 failed").arg(Contacts);

    for (const auto& [first, second] : {std::pair{"~101", "~102"}, std::pair{"~103", "~104"}}) {
        const auto one = startOn(m_first, {"--run", first, "--scope", "all"});
        const auto other = startOn(m_second, {"--run", second, "--scope", "all"});
        EXPECT_EQ(finish(*one), QStringLiteral("%1.ini: ").arg(first) + everyContact);
        EXPECT_EQ(finish(*other), QStringLiteral("%1.ini: ").arg(second) + everyContact);
    }

    QSet<int> distinct;
    for (const QString& target : {User1, User2})
        for (const QString& number : column(target))
            distinct.insert(number.toInt());
    EXPECT_EQ(distinct.size(), 2 * Contacts) << "a number held twice";
    EXPECT_FALSE(distinct.contains(0));
    EXPECT_EQ(*std::max_element(distinct.begin(), distinct.end()), 2 * Contacts) << "a number lost";
    EXPECT_EQ(readFile(counter).trimmed(), QByteArray::number(2 * Contacts + 1));
    for (const QString& target : {User3, User4})
        EXPECT_EQ(column(target).count(QString()), 0) << target.toStdString();
}

TEST_F(TeamRunTest, ALockHeldOnOneWorkstationRefusesTheOthersWriteUntilItsRetry)
{
    onServer(5);
    autoNumberButton(QStringLiteral("~101.ini"), m_program + QStringLiteral("/Held.num"),
                     QStringLiteral("Over3"));
    startBothHosts();
    const QString held = contactIds().at(1);
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, held, 120));

    const valdora::test::CommandResult ran = runOn(m_second, {"--run", "~101", "--scope", "all"});
    EXPECT_EQ(ran.code, 1);
    EXPECT_EQ(ran.out,
              QStringLiteral("~101.ini: 5 contacts in scope, 4 written, 0 left unchanged, 1 failed"));
    EXPECT_TRUE(ran.err.contains(QStringLiteral("is locked (probably by another user)")))
        << ran.err.toStdString();
    EXPECT_EQ(column(User1).at(1), QString());

    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";
    ASSERT_TRUE(unlockedWithin(held, 10000)) << "the killed holder's lock outlived it";
    const valdora::test::CommandResult retried = runOn(m_second, {"--retry"});
    EXPECT_EQ(retried.code, 0) << retried.err.toStdString();
    EXPECT_TRUE(retried.out.startsWith(QStringLiteral(
        "retry of run 1: ~101.ini: 1 contacts in scope, 1 written, 0 left unchanged, 0 failed")))
        << retried.out.toStdString();
    EXPECT_NE(column(User1).at(1), QString());
}

TEST_F(TeamRunTest, AWorkstationKilledMidRunLeavesNoLockBehind)
{
    constexpr int Contacts = 1000;
    onServer(Contacts);
    autoNumberButton(QStringLiteral("~101.ini"), m_program + QStringLiteral("/Killed.num"),
                     QStringLiteral("Over3"));
    startBothHosts();
    const auto doomed = startOn(m_first, {"--run", "~101", "--scope", "all"});
    // Killed once it has written some contacts, and before it is done.
    const QDeadlineTimer deadline(60000);
    while (writtenToUser1() == 0 && !deadline.hasExpired())
        ASSERT_EQ(doomed->state(), QProcess::Running) << "the run ended before it could be killed";
    doomed->kill();
    m_host->kill();
    ASSERT_TRUE(doomed->waitForFinished(10000)) << "the killed run did not end";
    ASSERT_TRUE(m_host->waitForFinished(10000)) << "the killed host did not end";
    ASSERT_LT(writtenToUser1(), Contacts) << "the run was done before the kill";

    const valdora::test::CommandResult after = runOn(m_second, {"--run", "~101", "--scope", "all"});
    EXPECT_EQ(after.code, 0) << after.err.toStdString();
    EXPECT_EQ(after.out,
              QStringLiteral("~101.ini: %1 contacts in scope, %1 written, 0 left unchanged, 0 failed")
                  .arg(Contacts));
}

// The server stops in the middle of a run (a crash, a power cut): the run fails and says so rather
// than reporting success, and once the server is back the next run writes every contact. The server
// is one of this test's own: stopping the one that the other tests share would fail them.
TEST_F(TeamRunTest, AServerStoppedMidRunFailsTheRunAndTheNextRunAfterItsRestartWorks)
{
    constexpr int Contacts = 1000;
    const host::test::OwnTestServer server;
    m_database = server.newDatabase(QStringLiteral("contacts"));
    host::createSampleDatabase(m_database, Contacts);
    autoNumberButton(QStringLiteral("~101.ini"), m_program + QStringLiteral("/Lost.num"),
                     QStringLiteral("Over3"));
    startBothHosts();
    const auto written = [&] {
        host::server::ServerConnection connection(m_database);
        return connection.exec("SELECT count(*) FROM vals WHERE field = 27").integer(0, 0);
    };
    const auto cut = startOn(m_first, {"--run", "~101", "--scope", "all"});
    // Stopped once the run has written something, so that it stops in the middle.
    const QDeadlineTimer deadline(60000);
    while (written() == 0 && cut->state() != QProcess::NotRunning && !deadline.hasExpired())
        cut->waitForFinished(20);
    ASSERT_NE(cut->state(), QProcess::NotRunning)
        << "the run ended before the server could be stopped: " << cut->readAllStandardOutput().toStdString();
    server.halt();
    EXPECT_TRUE(cut->waitForFinished(60000)) << "the run did not end within a minute of the server stopping";
    const QString out = QString::fromLocal8Bit(cut->readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(cut->readAllStandardError());
    EXPECT_NE(cut->exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("connection"))) << err.toStdString();

    server.resume();
    const valdora::test::CommandResult after = runOn(m_second, {"--run", "~101", "--scope", "all"});
    EXPECT_EQ(after.code, 0) << after.err.toStdString();
    EXPECT_EQ(after.out,
              QStringLiteral("~101.ini: %1 contacts in scope, %1 written, 0 left unchanged, 0 failed")
                  .arg(Contacts));
    EXPECT_EQ(written(), Contacts);
}

} // namespace

} // namespace valdora::run::test
