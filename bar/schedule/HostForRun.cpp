#include "HostForRun.h"

#include "host/client/HostConnection.h"
#include "host/client/RunningHost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace valdora::schedule {

namespace {

const char ServerVariable[] = "VALDORA_HOST_SERVER";
constexpr int EndTimeoutMs = 10000;

} // namespace

bool HostForRun::runsOn(const QString& openDatabase, const QString& database)
{
    if (openDatabase == database)
        return true;
    const QFileInfo open(openDatabase);
    const QFileInfo wanted(database);
    return open.exists() && wanted.exists() && open.canonicalFilePath() == wanted.canonicalFilePath();
}

std::unique_ptr<HostForRun> HostForRun::forDatabase(const QString& database, const QString& hostProgram,
                                                    QString& failure, int startTimeoutMs)
{
    auto host = std::make_unique<HostForRun>(Key());
    const std::optional<QString> open = host::runningHostDatabasePath();
    if (open && runsOn(*open, database))
        return host;
    host->m_previousServer = qgetenv(ServerVariable);
    const QString server = QStringLiteral("valdora-run-%1").arg(QCoreApplication::applicationPid());
    qputenv(ServerVariable, server.toUtf8());
    host->m_process = std::make_unique<QProcess>();
    QProcess& process = *host->m_process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ServerVariable), server);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(hostProgram, {QStringLiteral("--headless"), database});
    if (!process.waitForStarted(startTimeoutMs)) {
        failure = QStringLiteral("%1 cannot be started: %2").arg(hostProgram, process.errorString());
        return nullptr;
    }
    QElapsedTimer waited;
    waited.start();
    while (!host::runningHostDatabasePath()) {
        // Waiting for the end doubles as the pause between two asks.
        if (process.waitForFinished(25)) {
            const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
            failure = said.isEmpty() ? QStringLiteral("the host ended with code %1 before it opened %2")
                                           .arg(process.exitCode())
                                           .arg(database)
                                     : said.simplified();
            return nullptr;
        }
        if (waited.elapsed() > startTimeoutMs) {
            failure = QStringLiteral("the host started on %1 did not answer within %2 s")
                          .arg(database)
                          .arg(startTimeoutMs / 1000);
            return nullptr; // the destructor ends it
        }
    }
    return host;
}

HostForRun::~HostForRun()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        // Asked to close, the host ends as a user's close ends it; a host that does not is killed.
        try {
            host::HostConnection connection;
            if (connection.connect())
                connection.call(host::protocol::Op::Quit);
        } catch (const std::exception&) {
        }
        if (!m_process->waitForFinished(EndTimeoutMs)) {
            m_process->kill();
            m_process->waitForFinished(EndTimeoutMs);
        }
    }
    qputenv(ServerVariable, m_previousServer);
}

} // namespace valdora::schedule
