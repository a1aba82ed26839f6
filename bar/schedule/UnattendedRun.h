#pragma once

#include "SystemCommands.h"

#include "run/ProgramStartup.h"

#include <QString>
#include <QStringList>

namespace valdora::schedule {

/// Exit codes of the unattended run beyond the button run's own (0 done, 1 a write failed or a
/// failure was reported, 2 not run).
inline constexpr int GaveUpWaiting = 3; ///< an earlier run of the same button still held it

/// What the unattended run is given by the program: the host objects' makers, the host program it
/// starts when no host runs on its database, and the programs it starts for the notification.
struct UnattendedSetup {
    run::HostFactories factories;
    QString hostProgram;
    SystemCommands& commands;
};

/// Valdora.exe --run BUTTON --scope all|lookup [--lookup FILE] --unattended --database PATH_OR_URI:
/// one button run with nobody at the screen. It waits for an earlier run of the same button (or gives
/// up with a line in the journal), uses the host that has the database open or starts a headless one
/// for the run, journals the run, appends every failure to error.log, prints the summary line and
/// leaves it as a desktop notification. Returns the exit code.
int runUnattended(const QStringList& arguments, const UnattendedSetup& setup);

/// The lock file that keeps two runs of one button apart: in the per-user store's folder.
QString buttonLockFile(const QString& storeFolder, const QString& buttonFileName);

} // namespace valdora::schedule
