#include "RunningHostFixture.h"

#include "HostProcess.h"

#include "core/UserSockets.h"
#include "host/client/RunningHost.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QThread>
#include <QUuid>

namespace valdora::test {

void RunningHostTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_settings = std::make_unique<TemporaryUserSettings>();
    m_previousServer = qgetenv("VALDORA_HOST_SERVER");
    qputenv("VALDORA_HOST_SERVER", ("valdora-test-" + QUuid::createUuid().toString(QUuid::Id128)).toUtf8());
    m_probeOutput = m_dir.filePath(QStringLiteral("probe.txt"));
    qputenv("VALDORA_PROBE_OUTPUT", m_probeOutput.toUtf8());
    m_database = m_dir.filePath(QStringLiteral("contacts.vdb"));
    host::createSampleDatabase(m_database, 5);
}

void RunningHostTest::TearDown()
{
    if (m_host && m_host->state() != QProcess::NotRunning) {
        m_host->kill();
        m_host->waitForFinished(5000);
    }
    // A killed host leaves its socket file behind; every test names a server of its own, so
    // without this each run would leave one more in the socket folder.
    QLocalServer::removeServer(userSocketPath(host::runningHostServerName()).path);
    qputenv("VALDORA_HOST_SERVER", m_previousServer);
    m_settings.reset();
}

void RunningHostTest::startHost(HostStart how)
{
    m_host = std::make_unique<QProcess>();
    m_host->setProcessChannelMode(QProcess::SeparateChannels);
    QStringList arguments{m_database};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!m_hostProgramFolder.isEmpty())
        environment.insert(QStringLiteral("VALDORA_PROGRAM_FOLDER"), m_hostProgramFolder);
    if (how == HostStart::Headless)
        arguments.prepend(QStringLiteral("--headless"));
    else // the window needs a display; the offscreen platform gives it one on any machine
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_host->setProcessEnvironment(environment);
    m_host->start(host::test::contactHostProgram(), arguments);
    ASSERT_TRUE(m_host->waitForStarted(5000)) << "m_host did not start within the wait";
    QElapsedTimer timer;
    timer.start();
    while (!host::runningHostDatabasePath() && timer.elapsed() < 10000) {
        ASSERT_NE(m_host->state(), QProcess::NotRunning) << m_host->readAllStandardError().toStdString();
        QThread::msleep(20);
    }
    ASSERT_TRUE(host::runningHostDatabasePath().has_value()) << "the host did not come up";
}

bool RunningHostTest::waitForHostEnd(int timeoutMs)
{
    // waitForFinished is false for a process that has already ended.
    if (m_host->state() != QProcess::NotRunning)
        m_host->waitForFinished(timeoutMs);
    return m_host->state() == QProcess::NotRunning && m_host->exitStatus() == QProcess::NormalExit;
}

CommandResult RunningHostTest::run(const QStringList& arguments)
{
    QProcess process;
    process.start(host::test::contactHostProgram(), arguments);
    process.waitForFinished(15000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString RunningHostTest::firstContactId() const
{
    auto database = host::createDatabase();
    database->OpenEx(m_database);
    host::ContactTable& contacts = database->Contact();
    contacts.Query(QString());
    contacts.MoveFirst();
    return contacts.Data(host::FieldNumber::UniqueId);
}

} // namespace valdora::test
