#include "RunChoice.h"

namespace valdora::bar {

bool canUndo(const journal::JournalRun& run)
{
    return !run.isUndo() && run.stand != journal::RunStand::Running && run.undoneBy == 0 && run.pending > 0;
}

bool canRetry(const journal::JournalRun& run)
{
    return !run.isUndo() && run.stand != journal::RunStand::Running && run.failures + run.notReached > 0;
}

bool canDo(const journal::JournalRun& run, RunChoice::Action action)
{
    return action == RunChoice::Action::Undo ? canUndo(run) : canRetry(run);
}

std::optional<qint64> preselectedRun(const std::vector<ListedRun>& runs, const QString& buttonFile,
                                     RunChoice::Action action)
{
    for (const ListedRun& listed : runs)
        if ((buttonFile.isEmpty() || listed.run.info.button == buttonFile) && canDo(listed.run, action))
            return listed.run.id;
    return std::nullopt;
}

} // namespace valdora::bar
