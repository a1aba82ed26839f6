#pragma once

#include <QString>

#include <optional>

namespace valdora::host {

/// The local-socket name of the running host of this user: VALDORA_HOST_SERVER when set (tests run
/// hosts side by side), else a name made from the user's name. The socket itself lives in the
/// user's socket folder (core/UserSockets.h), which no other user may enter.
QString runningHostServerName();

/// The full path of the database that the running host has open; nullopt when no host runs or it
/// has no database open.
std::optional<QString> runningHostDatabasePath();

} // namespace valdora::host
