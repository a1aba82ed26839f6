#include "TestServer.h"

#include "host/HostTypes.h"
#include "host/server/ServerConnection.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

namespace valdora::host::test {

QString testServerLocation()
{
    QFile file(QStringLiteral(TEST_SERVER_LOCATION_FILE));
    if (!file.open(QIODevice::ReadOnly))
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The test server is not running (%1 is missing): run the tests with "
                                         "ctest, which starts it")
                              .arg(file.fileName()));
    return QString::fromUtf8(file.readAll()).trimmed();
}

TestServerLogin testServerLogin()
{
    const QString base = QStringLiteral(TEST_SERVER_LOCATION_FILE).chopped(int(qstrlen(".location")));
    QFile tcp(base + QStringLiteral(".tcp"));
    if (!tcp.open(QIODevice::ReadOnly))
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The test server listens on no TCP port (%1 is missing): run the "
                                         "tests with ctest, which starts it")
                              .arg(tcp.fileName()));
    return {QString::fromUtf8(tcp.readAll()).trimmed(), base + QStringLiteral(".pgpass")};
}

namespace {

void testServerScript(const QString& action, const QString& state)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(QStringLiteral("bash"), {QStringLiteral(TEST_SERVER_SCRIPT), action, state});
    if (!script.waitForFinished(120000) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0)
        throw HostFailure(
            HostError::DatabaseFailure,
            QStringLiteral("test-server.sh %1 failed (exit code %2)").arg(action).arg(script.exitCode()));
}

} // namespace

OwnTestServer::OwnTestServer() : m_state(m_folder.filePath(QStringLiteral("state")))
{
    testServerScript(QStringLiteral("start"), m_state);
    QFile file(m_state + QStringLiteral(".location"));
    if (!file.open(QIODevice::ReadOnly))
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The test's own server gave no location"));
    m_location = QString::fromUtf8(file.readAll()).trimmed();
}

OwnTestServer::~OwnTestServer()
{
    try {
        testServerScript(QStringLiteral("stop"), m_state);
    } catch (const HostFailure&) {
        // Its folder is in /tmp, and the script removes one left behind when it starts again.
    }
}

QString OwnTestServer::newDatabase(const QString& name) const
{
    server::ServerConnection connection(m_location);
    const QByteArray create = "CREATE DATABASE " + name.toLatin1();
    connection.run(create.constData());
    QString location = m_location;
    return location.replace(QStringLiteral("dbname=postgres"), QStringLiteral("dbname=") + name);
}

void OwnTestServer::halt() const
{
    testServerScript(QStringLiteral("halt"), m_state);
}

void OwnTestServer::resume() const
{
    testServerScript(QStringLiteral("resume"), m_state);
}

ServerTestDatabase::ServerTestDatabase()
    : m_name(QStringLiteral("contacts_%1")
                 .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0')))
{
    const QString server = testServerLocation();
    server::ServerConnection connection(server);
    const QByteArray create = "CREATE DATABASE " + m_name.toLatin1();
    connection.run(create.constData());
    m_location = server;
    m_location.replace(QStringLiteral("dbname=postgres"), QStringLiteral("dbname=") + m_name);
}

ServerTestDatabase::~ServerTestDatabase()
{
    try {
        server::ServerConnection connection(testServerLocation());
        const QByteArray drop = "DROP DATABASE IF EXISTS " + m_name.toLatin1() + " WITH (FORCE)";
        connection.run(drop.constData());
    } catch (const HostFailure&) {
        // The server goes with its folder at the end of the tests in any case.
    }
}

void ServerTestDatabase::execute(const QString& sql) const
{
    server::ServerConnection connection(m_location);
    const QByteArray text = sql.toUtf8();
    connection.run(text.constData());
}

} // namespace valdora::host::test

namespace valdora::host::test {

QString ServerTestDatabase::value(const QString& sql) const
{
    server::ServerConnection connection(m_location);
    const QByteArray text = sql.toUtf8();
    const server::ServerRows rows = connection.exec(text.constData());
    return rows.count() > 0 ? rows.text(0, 0) : QString();
}

} // namespace valdora::host::test
