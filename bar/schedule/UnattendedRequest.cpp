#include "UnattendedRequest.h"

namespace valdora::schedule {

namespace {

const QString Unattended = QStringLiteral("--unattended");
const QString Database = QStringLiteral("--database");
const QString Lookup = QStringLiteral("--lookup");
const QString Wait = QStringLiteral("--wait");
constexpr int LongestWaitSeconds = 24 * 3600;

} // namespace

bool UnattendedCommand::isUnattendedRequest(const QStringList& arguments)
{
    return arguments.contains(Unattended);
}

std::optional<UnattendedRequest> UnattendedCommand::parse(const QStringList& arguments, QString& error)
{
    UnattendedRequest request;
    QStringList runArguments;
    std::optional<QString> database;
    std::optional<QString> lookup;
    std::optional<QString> wait;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == Unattended)
            continue;
        if (argument != Database && argument != Lookup && argument != Wait) {
            runArguments << argument;
            continue;
        }
        // A path may start with "-", but never with "--": that is the next option.
        if (i + 1 >= arguments.size() || arguments[i + 1].startsWith(QStringLiteral("--"))) {
            error = QStringLiteral("%1 needs a value").arg(argument);
            return std::nullopt;
        }
        (argument == Database ? database : argument == Lookup ? lookup : wait) = arguments[++i];
    }
    const std::optional<bar::RunRequest> run = bar::RunCommand::parse(runArguments, error);
    if (!run)
        return std::nullopt;
    request.run = *run;
    if (run->preview) {
        error = QStringLiteral("--preview shows what a run would write: it is no unattended run");
        return std::nullopt;
    }
    if (!database || database->isEmpty()) {
        error = QStringLiteral("--unattended needs --database PATH_OR_URI");
        return std::nullopt;
    }
    request.database = *database;
    // An unattended run has no screen: no contact on it, and no lookup a user made.
    switch (run->scope) {
    case run::Scope::CurrentContact:
        error = QStringLiteral("an unattended run has no current contact: --scope all or --scope lookup "
                               "--lookup FILE");
        return std::nullopt;
    case run::Scope::CurrentLookup:
        if (!lookup || lookup->isEmpty()) {
            error =
                QStringLiteral("an unattended run has no current lookup: --scope lookup needs --lookup FILE");
            return std::nullopt;
        }
        request.lookupFile = *lookup;
        break;
    case run::Scope::AllContacts:
        if (lookup) {
            error = QStringLiteral("--lookup goes with --scope lookup");
            return std::nullopt;
        }
        break;
    }
    if (wait) {
        bool ok = false;
        request.waitSeconds = wait->toInt(&ok);
        if (!ok || request.waitSeconds < 0 || request.waitSeconds > LongestWaitSeconds) {
            error = QStringLiteral("--wait takes the seconds to wait (0 to %1), not '%2'")
                        .arg(LongestWaitSeconds)
                        .arg(*wait);
            return std::nullopt;
        }
    }
    return request;
}

QString UnattendedCommand::usage()
{
    return QStringLiteral("       Valdora.exe --run BUTTON --scope all|lookup [--lookup FILE] --unattended "
                          "--database PATH_OR_URI [--wait SECONDS]\n"
                          "       Valdora.exe --schedules         (the scheduled buttons)");
}

} // namespace valdora::schedule
