#pragma once

#include "HostProtocol.h"
#include "host/HostTypes.h"

#include <QLocalSocket>

#include <memory>
#include <utility>

namespace valdora::host {

/// One client's connection to the running host: connected on first use and kept, so that a call is
/// one request and one reply on an open socket. Calls are synchronous.
class HostConnection {
public:
    HostConnection();

    /// True when a host of this user answers on the server name (connects when not yet connected).
    /// A server of another user is never talked to: refusal() then says whose it is.
    bool connect();
    /// Why the last connect() reached no host when something was there to refuse (a server of
    /// another user, an unsafe socket folder); empty when simply no host runs.
    const QString& refusal() const { return m_refusal; }
    /// Sends a request and waits for its reply. Throws HostFailure: NoHostRunning when no host
    /// answers, or the error the host reported.
    protocol::Message call(protocol::Op op, qint32 number = 0, const QStringList& texts = {},
                           Where where = Where::current());
    /// The socket, for a client that also listens for events on it.
    QLocalSocket& socket() { return *m_socket; }
    /// Messages that arrived while waiting for a reply and were not the reply (events).
    protocol::FrameReader& reader() { return m_reader; }
    /// Events received while a call waited for its reply, in order; the caller takes them.
    QList<protocol::Message> takePendingEvents() { return std::exchange(m_pendingEvents, {}); }

private:
    [[noreturn]] void failNoHost(const QString& reason, Where where);

    std::unique_ptr<QLocalSocket> m_socket;
    protocol::FrameReader m_reader;
    QList<protocol::Message> m_pendingEvents;
    QString m_refusal;
};

} // namespace valdora::host
