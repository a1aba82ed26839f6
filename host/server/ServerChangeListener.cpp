#include "ServerChangeListener.h"

#include "ServerSchema.h"

#include <QSet>
#include <QSocketNotifier>

namespace valdora::host::server {

namespace {

/// How long a lost listener waits before it connects again.
constexpr int RetryMs = 2000;

const QByteArray ListenStatement = QByteArray("LISTEN ") + ChangeChannel;

} // namespace

ServerChangeListener::ServerChangeListener(QString location, QObject* parent)
    : QObject(parent), m_location(std::move(location))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        listen();
        // Writes made while nobody listened are not known one by one.
        if (isListening())
            emit contactsWritten({});
    });
    listen();
}

ServerChangeListener::~ServerChangeListener() = default;

void ServerChangeListener::listen()
{
    try {
        if (m_connection)
            m_connection->ensureOpen();
        else
            m_connection = std::make_unique<ServerConnection>(m_location);
        m_connection->run(ListenStatement.constData());
    } catch (const HostFailure&) {
        lose();
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_connection->socket(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &ServerChangeListener::readNotifications);
    // A notification that came in with the answer to LISTEN waits in libpq already, not on the socket.
    readNotifications();
}

void ServerChangeListener::readNotifications()
{
    QStringList payloads;
    try {
        payloads = m_connection->takeNotifications();
    } catch (const HostFailure&) {
        lose();
        return;
    }
    if (payloads.isEmpty())
        return;
    // A record written in several statements of one transaction is told once.
    QSet<QString> seen;
    QStringList ids;
    for (const QString& id : payloads)
        if (!seen.contains(id)) {
            seen.insert(id);
            ids.append(id);
        }
    emit contactsWritten(ids);
}

void ServerChangeListener::lose()
{
    // A closed socket reads as ready for ever: the notifier goes before it spins.
    m_notifier.reset();
    m_retry.start();
}

} // namespace valdora::host::server
