#include "JournalCommand.h"

#include "run/UndoAndRetry.h"

namespace valdora::bar {

namespace {

const QString Runs = QStringLiteral("--runs");
const QString Undo = QStringLiteral("--undo");
const QString Retry = QStringLiteral("--retry");

} // namespace

bool JournalCommand::isJournalRequest(const QStringList& arguments)
{
    return arguments.contains(Runs) || arguments.contains(Undo) || arguments.contains(Retry);
}

std::optional<JournalCommandRequest> JournalCommand::parse(const QStringList& arguments, QString& error)
{
    if (arguments.isEmpty()) {
        error = QStringLiteral("--runs, --undo or --retry is missing");
        return std::nullopt;
    }
    JournalCommandRequest request;
    const QString& action = arguments.first();
    if (action == Runs)
        request.action = JournalAction::List;
    else if (action == Undo)
        request.action = JournalAction::Undo;
    else if (action == Retry)
        request.action = JournalAction::Retry;
    else {
        error = QStringLiteral("unknown argument '%1'").arg(action);
        return std::nullopt;
    }
    const qsizetype allowed = request.action == JournalAction::List ? 1 : 2;
    if (arguments.size() > allowed) {
        error = QStringLiteral("unknown argument '%1'").arg(arguments.at(allowed));
        return std::nullopt;
    }
    if (arguments.size() == 2) {
        bool ok = false;
        const qint64 run = arguments.at(1).toLongLong(&ok);
        if (!ok || run <= 0) {
            error = QStringLiteral("'%1' is not a run number (see --runs)").arg(arguments.at(1));
            return std::nullopt;
        }
        request.run = run;
    }
    return request;
}

QString JournalCommand::runsText(const std::vector<journal::JournalRun>& runs)
{
    QStringList lines{QStringLiteral("run\tstarted\tkind\tstate\tbutton\tscope\tcontacts\tchanges\tto undo\t"
                                     "failed\tuser\tdatabase\tnot reached\tundone by")};
    for (const journal::JournalRun& run : runs) {
        lines << QStringList{QString::number(run.id),
                             run::startedText(run),
                             journal::kindName(run.info.kind),
                             journal::standName(run.stand),
                             run.info.button,
                             run.info.scope,
                             QString::number(run.contacts),
                             QString::number(run.changes),
                             QString::number(run.pending),
                             QString::number(run.failures),
                             run.info.user,
                             run.info.database,
                             QString::number(run.notReached),
                             run.undoneBy != 0 ? QString::number(run.undoneBy) : QString()}
                     .join(u'\t');
    }
    return lines.join(u'\n');
}

QString JournalCommand::undoPlanText(const journal::JournalRun& run,
                                     const std::vector<journal::JournalChange>& plan)
{
    return QStringLiteral("Undo of run %1 (%2, %3, %4%5): %6 fields of %7 contacts to write back")
        .arg(run.id)
        .arg(run.info.button, run.info.scope, run::startedText(run),
             run.stand == journal::RunStand::Interrupted ? QStringLiteral(", interrupted")
             : run.stand == journal::RunStand::Stopped   ? QStringLiteral(", stopped halfway")
                                                         : QString())
        .arg(plan.size())
        .arg(run::contactsIn(plan));
}

int JournalCommand::undoExitCode(const journal::UndoReport& report)
{
    return report.complete() ? 0 : 1;
}

} // namespace valdora::bar
