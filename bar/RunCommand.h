#pragma once

#include "run/RunSummary.h"
#include "run/ScopeChooser.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace valdora {
class ProgramSession;
}

namespace valdora::bar {

/// A button run asked for on the command line: "--run BUTTON --scope current|lookup|all [--preview]".
struct RunRequest {
    QString buttonFileName; ///< "~100.ini" (an identifier "~100" is completed)
    run::Scope scope = run::Scope::AllContacts;
    /// "--preview": what the run would write, as CSV, and nothing written.
    bool preview = false;
};

/// The command line of Valdora.exe's button run: what it asks for, and the one summary line.
class RunCommand {
public:
    /// True when the arguments ask for a button run at all ("--run" among them).
    static bool isRunRequest(const QStringList& arguments);
    /// The request, or nullopt with `error` set to a one-line explanation.
    static std::optional<RunRequest> parse(const QStringList& arguments, QString& error);
    /// "~100.ini: 12 contacts in scope, 10 written, 2 left unchanged, 0 failed"
    static QString summaryLine(const QString& buttonFileName, const run::RunSummary& summary);
    /// The exit code of a run: 0 when it ran (or was handed over) and no write failed.
    static int exitCode(const run::RunSummary& summary);
    /// The usage text.
    static QString usage();
};

} // namespace valdora::bar
