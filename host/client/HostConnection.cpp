#include "HostConnection.h"

#include "RunningHost.h"

#include "core/LocalSockets.h"

#include <QElapsedTimer>

namespace valdora::host {

namespace {

constexpr int ConnectTimeoutMs = 500;
constexpr int ReplyTimeoutMs = 30000;

} // namespace

HostConnection::HostConnection() : m_socket(std::make_unique<QLocalSocket>()) {}

bool HostConnection::connect()
{
    if (m_socket->state() == QLocalSocket::ConnectedState)
        return true;
    m_socket->abort();
    m_reader = protocol::FrameReader();
    const LocalReach reach = connectToOwnServer(*m_socket, runningHostServerName(), ConnectTimeoutMs);
    m_refusal = reach.message;
    return reach.outcome == LocalReach::Outcome::Connected;
}

void HostConnection::failNoHost(const QString& reason, Where where)
{
    throw HostFailure(HostError::NoHostRunning,
                      QStringLiteral("No contact host is running (ContactHost.exe, server \"%1\"): %2")
                          .arg(runningHostServerName(), reason),
                      where);
}

protocol::Message HostConnection::call(protocol::Op op, qint32 number, const QStringList& texts, Where where)
{
    if (!connect())
        failNoHost(m_refusal.isEmpty() ? QStringLiteral("start it on a database first") : m_refusal, where);
    m_socket->write(protocol::encode({op, number, texts}));
    m_socket->flush();
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        while (auto message = m_reader.next()) {
            if (message->op == protocol::Op::Event) {
                m_pendingEvents.append(*message);
                continue;
            }
            if (message->op == protocol::Op::Failed)
                throw HostFailure(message->number, message->texts.value(0), where);
            return *message;
        }
        if (m_reader.broken()) {
            m_socket->abort();
            failNoHost(QStringLiteral("the host sent a message that cannot be read"), where);
        }
        if (m_socket->bytesAvailable() == 0) {
            const int left = ReplyTimeoutMs - int(timer.elapsed());
            if (left <= 0 || !m_socket->waitForReadyRead(left)) {
                m_socket->abort();
                failNoHost(QStringLiteral("the host closed the connection or did not answer"), where);
            }
        }
        m_reader.append(m_socket->readAll());
    }
}

} // namespace valdora::host
