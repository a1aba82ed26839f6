#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace valdora {

/// Where a local socket of the suite lives, or why it cannot live anywhere safe.
struct SocketPlace {
    QString path;    ///< the socket's full path; empty when `problem` is set
    QString problem; ///< why there is no safe place, in a sentence for the user
};

/// The folder of this user's sockets: $XDG_RUNTIME_DIR when set, else `valdora-runtime-UID` in the
/// temporary folder. Only the user may enter it, so no other user can create, replace or reach a
/// socket in it. A missing folder is made with mode 0700; one that is not the user's, not a real
/// folder or open to others is refused (another user may have made it to catch our sockets).
SocketPlace userSocketFolder();

/// The full path of the socket `name` in the user's socket folder. `name` is a plain name (no '/').
SocketPlace userSocketPath(const QString& name);

/// The effective user id of this process: the owner of the sockets it creates.
uint currentUserId();

/// The user id of the process at the other end of a connected local socket (the one that listens,
/// seen from a client; the one that connected, seen from a server); nullopt when it cannot be told.
std::optional<uint> peerUserId(qintptr descriptor);

/// The owner of the file at `path` itself (a link is not followed); nullopt when there is none.
std::optional<uint> fileOwnerId(const QString& path);

/// A user for a message: the login name with the id, or the id alone when the name is unknown.
QString describeUser(uint userId);

/// The sentence a client shows when the socket it reached belongs to another user.
QString foreignSocketMessage(const QString& path, uint ownerId);

} // namespace valdora
