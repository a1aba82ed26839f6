#pragma once

#include "run/ProgramStartup.h"

#include <QStringList>

namespace valdora::bar {

/// Valdora.exe --runs | --undo [RUN] | --retry [RUN]: the user's run journal on the console. The list
/// goes to stdout; an undo prints what it is about to write back, then what it wrote; a retry runs the
/// failed contacts of a run again and prints its summary line. Refusals go to stderr.
class RunJournalCommand {
public:
    /// The host objects of an undo or a retry are made by `factories`.
    explicit RunJournalCommand(run::HostFactories factories);

    /// Carries out the command line's request; returns the program's exit code: 2 for a command line
    /// it cannot read (with the usage), a refusal or a failure, else 0 for a list, the undo's or the
    /// retry's own code.
    int execute(const QStringList& arguments) const;

private:
    run::HostFactories m_factories;
};

} // namespace valdora::bar
