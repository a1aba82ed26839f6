#include "RunJournalCommand.h"

#include "ConsoleLine.h"
#include "JournalCommand.h"
#include "RunCommand.h"

#include "core/ConsolePlatform.h"
#include "core/ProgramFolder.h"
#include "run/UndoAndRetry.h"
#include "run/journal/RunJournal.h"
#include "run/journal/RunUndo.h"
#include "settings/ProgramSession.h"

#include <memory>

namespace valdora::bar {

RunJournalCommand::RunJournalCommand(run::HostFactories factories) : m_factories(std::move(factories)) {}

int RunJournalCommand::execute(const QStringList& arguments) const
{
    QString error;
    const std::optional<JournalCommandRequest> request = JournalCommand::parse(arguments, error);
    if (!request) {
        printLine(stderr, QStringLiteral("Valdora.exe: ") + error);
        printLine(stderr, RunCommand::usage());
        return 2;
    }
    ConsolePlatform platform;
    const UserSettings userSettings;
    ProgramSession session(platform, QStringLiteral("Valdora"), programFolder(), userSettings);
    int code = 2;
    trapped(session.reporter(), {"Module1", RoutineKind::Sub, "Main"}, [&] {
        const std::unique_ptr<journal::RunJournal> opened = run::openUserJournal(session);
        journal::RunJournal& journal = *opened;
        if (request->action == JournalAction::List) {
            printLine(stdout, JournalCommand::runsText(journal.runs()));
            code = 0;
            return;
        }
        const Messages& texts = session.messages();
        if (request->action == JournalAction::Retry) {
            const run::StartupHost hostObjects = run::openHostObjects(m_factories);
            const run::RetryPlan plan =
                run::planRetry(journal, request->run, hostObjects.database->GetDatabasePath(), texts);
            if (!plan.ready()) {
                printLine(stderr, QStringLiteral("Valdora.exe: ") + plan.refusal);
                return;
            }
            run::settleSessionAtStartUp(
                session, {.defaultLanguage = 0, .settingsFileTitle = session.applicationTitle()});
            const run::RunSummary summary =
                run::retryFailedContacts(session, hostObjects.runHost(), journal, plan);
            printLine(stdout, QStringLiteral("retry of run %1: ").arg(plan.run->id) +
                                  RunCommand::summaryLine(plan.run->info.button, summary));
            code = RunCommand::exitCode(summary);
            return;
        }
        const std::optional<qint64> runId = request->run ? request->run : journal.lastUndoable();
        const std::optional<journal::JournalRun> entry = runId ? journal.run(*runId) : std::nullopt;
        if (!entry) {
            printLine(stderr,
                      QStringLiteral("Valdora.exe: ") + (runId ? texts.get(OwnText::NoSuchRun).arg(*runId)
                                                               : texts.get(OwnText::NothingToUndo)));
            return;
        }
        // An undo is not undone, and a run is undone once.
        if (entry->isUndo() || entry->undoneBy != 0) {
            printLine(stderr,
                      QStringLiteral("Valdora.exe: ") +
                          (entry->isUndo()
                               ? texts.get(OwnText::UndoOfUndo).arg(entry->id).arg(entry->info.of)
                               : texts.get(OwnText::UndoneAlready).arg(entry->id).arg(entry->undoneBy)));
            return;
        }
        const run::StartupHost hostObjects = run::openHostObjects(m_factories);
        journal::RunUndo undoer(journal, *hostObjects.database);
        printLine(stdout, JournalCommand::undoPlanText(*entry, undoer.plan(*runId)));
        const journal::UndoReport report = undoer.undo(*runId, hostObjects.database->CurrentUser());
        printLine(stdout, run::undoReportText(report, texts));
        code = JournalCommand::undoExitCode(report);
    });
    return code;
}

} // namespace valdora::bar
