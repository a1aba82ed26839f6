#pragma once

#include "run/ProgramStartup.h"

#include <QStringList>

namespace valdora::bar {

/// Valdora.exe --run BUTTON --scope current|lookup|all [--preview]: one button run (or its preview)
/// against the running host, without a window. A run over more than the current contact goes into
/// the user's run journal.
class ButtonRunCommand {
public:
    /// The host objects are made by `factories` (the program passes the running host's client).
    explicit ButtonRunCommand(run::HostFactories factories);

    /// Runs the command line's button and prints its summary line; returns the program's exit code:
    /// 2 for a command line it cannot read (with the usage), a button that did not run or a preview
    /// that did not start, else the run's own (0 when no write failed).
    int execute(const QStringList& arguments) const;

private:
    run::HostFactories m_factories;
};

} // namespace valdora::bar
