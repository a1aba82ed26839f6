#include "LocalSockets.h"

#include "UserSockets.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace valdora {

LocalReach connectToOwnServer(QLocalSocket& socket, const QString& name, int timeoutMs)
{
    const SocketPlace place = userSocketPath(name);
    if (!place.problem.isEmpty())
        return {LocalReach::Outcome::NoPlace, QString(), place.problem};
    socket.connectToServer(place.path);
    if (!socket.waitForConnected(timeoutMs))
        return {LocalReach::Outcome::NoServer, place.path, QString()};
    const std::optional<uint> owner = peerUserId(socket.socketDescriptor());
    if (owner != currentUserId()) {
        socket.abort();
        // Without credentials the server is nobody we know: the file's owner names the likely one.
        const uint named = owner.value_or(fileOwnerId(place.path).value_or(uint(-1)));
        return {LocalReach::Outcome::OtherUser, place.path, foreignSocketMessage(place.path, named)};
    }
    return {LocalReach::Outcome::Connected, place.path, QString()};
}

QString listenAsOwnUser(QLocalServer& server, const QString& name)
{
    const SocketPlace place = userSocketPath(name);
    if (!place.problem.isEmpty())
        return place.problem;
    // In the user's own folder only root could have left another user's file: leave it to them.
    const std::optional<uint> owner = fileOwnerId(place.path);
    if (owner && *owner != currentUserId())
        return foreignSocketMessage(place.path, *owner);
    if (owner)
        QLocalServer::removeServer(place.path);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server.listen(place.path))
        return QStringLiteral("Cannot listen on \"%1\": %2").arg(place.path, server.errorString());
    return {};
}

bool admitOwnUserOnly(QLocalSocket& socket)
{
    if (peerUserId(socket.socketDescriptor()) == currentUserId())
        return true;
    socket.abort();
    return false;
}

} // namespace valdora
