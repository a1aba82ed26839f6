#pragma once

#include <QString>

class QLocalServer;
class QLocalSocket;

namespace valdora {

/// How a connection to a server of this user ended.
struct LocalReach {
    enum class Outcome {
        Connected, ///< a server of this user answered
        NoServer,  ///< nothing listens under the name
        OtherUser, ///< the server belongs to another user: the connection was dropped unused
        NoPlace,   ///< the user's socket folder is refused (`message` says why)
    };
    Outcome outcome = Outcome::NoServer;
    QString path;    ///< the socket's full path, when there is a place for it
    QString message; ///< for OtherUser and NoPlace: the sentence for the user
};

/// Connects `socket` to the socket `name` of the user's socket folder, waiting at most `timeoutMs`.
/// A server of another user is dropped before a byte is sent to it or read from it.
LocalReach connectToOwnServer(QLocalSocket& socket, const QString& name, int timeoutMs);

/// Listens on the socket `name` of the user's socket folder, taking over a socket file of this
/// user that no server holds any more (the caller knows that no server of this user answers).
/// Returns why it cannot listen, empty when it listens.
QString listenAsOwnUser(QLocalServer& server, const QString& name);

/// True when the client on `socket` (just accepted) runs as this user. A client of another user is
/// aborted here: it never gets a byte, and what it sent is never read.
bool admitOwnUserOnly(QLocalSocket& socket);

} // namespace valdora
