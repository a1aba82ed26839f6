#pragma once

#include "KeelbrookState.h"

#include "host/EventControl.h"

#include <functional>

namespace valdora::keelbrook {

/// How long the host check waits after the selection window's load: 2000 ms when the argument text
/// holds "w5" anywhere (Valdora has just asked the host to close), else 0.
int hostCheckDelay(const QString& argumentText);

/// The host check: member 1 of the event control with 0; true when it answers above 0, that is
/// when the host runs and its triggers cannot be changed.
bool hostIsRunning(host::EventControl& events);

/// Asks the user of a shared database for a name and password and logs in (the login window).
using LoginPrompt = std::function<void(host::Database& database)>;

/// The opening of the OK button: opens the database file, logs in through `login` when it is shared,
/// and keeps it with its contact and field objects. An empty path opens nothing and counts as done.
/// False, with nothing shown and nothing kept, when any step fails: the user may choose again.
bool openDatabase(KeelbrookState& state, const QString& path, const LoginPrompt& login);

/// The login's OK: "LastUser" takes the name, then the host validates name and password; a refusal
/// is told once. One attempt: the opening goes on either way. Host failures propagate.
void validateLogin(KeelbrookState& state, host::Database& database, const QString& user,
                   const QString& password);

} // namespace valdora::keelbrook
