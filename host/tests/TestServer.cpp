#include "TestServer.h"

#include "host/HostTypes.h"
#include "host/server/ServerConnection.h"

#include <QFile>
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
