#pragma once

#include "bar/RunCommand.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace valdora::schedule {

/// A run with nobody at the screen, as a schedule starts it:
/// "--run BUTTON --scope all|lookup [--lookup FILE] --unattended --database PATH_OR_URI [--wait SECONDS]".
struct UnattendedRequest {
    bar::RunRequest run;
    /// The database as given: a path, or whatever the host start takes (a URI).
    QString database;
    /// The saved lookup file whose contacts a "--scope lookup" run covers.
    QString lookupFile;
    /// How long the run waits for an earlier run of the same button before it gives up.
    int waitSeconds = 600;
};

/// The command line of the unattended run.
class UnattendedCommand {
public:
    /// True when the arguments ask for an unattended run ("--unattended" among them).
    static bool isUnattendedRequest(const QStringList& arguments);
    /// The request, or nullopt with `error` set to a one-line explanation.
    static std::optional<UnattendedRequest> parse(const QStringList& arguments, QString& error);
    /// The usage line.
    static QString usage();
};

} // namespace valdora::schedule
