#include "SingleInstance.h"

#include "core/LocalSockets.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace valdora::bar {

namespace {

/// What a later start sends, and what the running bar answers once it has shown itself.
constexpr QByteArrayView ShowRequest = "show\n";
constexpr QByteArrayView ShowAnswer = "shown\n";
constexpr int AnswerReadMs = 2000;

QString lockPath(const QString& storeFolder)
{
    return QDir(storeFolder).filePath(QStringLiteral("Valdora.bar.lock"));
}

} // namespace

SingleInstance::SingleInstance(const QString& storeFolder, QObject* parent)
    : QObject(parent), m_storeFolder(storeFolder), m_lock(lockPath(storeFolder))
{
    // A bar runs for hours: its lock never goes stale by age. A lock whose process is gone (a bar
    // that crashed) is still taken over at once.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::serverName(const QString& storeFolder)
{
    const QByteArray folder = QDir(storeFolder).absolutePath().toUtf8();
    return QStringLiteral("valdora-bar-") +
           QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::claim()
{
    QDir().mkpath(m_storeFolder);
    if (!m_lock.tryLock(0)) {
        // Only a lock that is there means another bar; one that cannot be made means a store that
        // cannot be written, which a message about a running bar would hide.
        m_storeUnwritable = m_lock.error() != QLockFile::LockFailedError;
        return false;
    }
    m_storeUnwritable = false;
    m_server = std::make_unique<QLocalServer>();
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::answerConnection);
    // We hold the lock: a socket of that name is left from a bar that ended without closing it.
    // A bar that cannot listen still runs; a later start then finds no answer and says so.
    m_listenProblem = listenAsOwnUser(*m_server, serverName(m_storeFolder));
    return true;
}

SingleInstance::Handover SingleInstance::askRunningToShow(int timeoutMs)
{
    QLocalSocket socket;
    const LocalReach reach = connectToOwnServer(socket, serverName(m_storeFolder), timeoutMs);
    m_refusal = reach.message;
    if (reach.outcome == LocalReach::Outcome::OtherUser || reach.outcome == LocalReach::Outcome::NoPlace)
        return Handover::Refused;
    if (reach.outcome != LocalReach::Outcome::Connected)
        return Handover::NoAnswer;
    socket.write(ShowRequest.data(), ShowRequest.size());
    if (!socket.waitForBytesWritten(timeoutMs))
        return Handover::NoAnswer;
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(AnswerReadMs))
        answer += socket.readAll();
    return answer == ShowAnswer ? Handover::Shown : Handover::NoAnswer;
}

void SingleInstance::answerConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!admitOwnUserOnly(*socket)) {
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QByteArray request = socket->readLine();
            if (request == ShowRequest) {
                emit showRequested();
                socket->write(ShowAnswer.data(), ShowAnswer.size());
                socket->flush();
            }
            socket->disconnectFromServer();
        });
    }
}

} // namespace valdora::bar
