#pragma once

#include "SystemCommands.h"

#include <QString>

namespace valdora::schedule {

/// How a one-line desktop notification went out.
enum class NoticeSent { NoSessionBus, NotifySend, Gdbus, Failed };

/// Leaves a one-line freedesktop notification "Valdora: <line>" where the user has a session bus
/// (DBUS_SESSION_BUS_ADDRESS, else the bus socket in XDG_RUNTIME_DIR, which a run from cron needs):
/// through notify-send when installed, else through gdbus. A run without a session goes without.
NoticeSent sendDesktopNotice(SystemCommands& commands, const QString& line);

} // namespace valdora::schedule
