#pragma once

#include <functional>
#include <optional>

namespace valdora::host {
class HostApplication;
}

namespace valdora::host::app {

/// How the host program runs: with its window, or without one (tests, scripts, no display).
enum class HostMode { Window, Headless };

/// The mode asked for by the command line: "--headless DB", or a database alone ("DB": an existing
/// file or a path). nullopt for a command line that names a command.
std::optional<HostMode> hostModeOf(int argc, char* argv[]);

/// Ends the program with exit code 0 once the host has closed (its clients told, its database
/// closed), after the events already queued. `exit` ends the event loop; QCoreApplication::exit by
/// default, which, unlike quit, no window can refuse.
void endProgramWhenClosed(HostApplication& application, std::function<void(int)> exit = {});

/// Runs the host on the database named last on the command line until it is closed. Exit code 1,
/// with the reason on stderr, when the database cannot be opened or a host already runs for the user.
int runHost(int argc, char* argv[], HostMode mode);

} // namespace valdora::host::app
