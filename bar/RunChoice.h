#pragma once

#include "run/journal/RunJournal.h"

#include <QString>

#include <optional>
#include <vector>

namespace valdora::bar {

/// A run of the journal as the bar lists it: the entry, and its button by the caption the user knows.
struct ListedRun {
    journal::JournalRun run;
    QString caption;
};

/// What the user chose in the list of journalled runs: take a run back, or run its button again on the
/// contacts it could not write.
struct RunChoice {
    enum class Action { Undo, Retry };
    qint64 run = 0;
    Action action = Action::Undo;
};

/// The run can be taken back: it is no undo, it has ended, something it wrote is still to put back and
/// no undo took it back already.
bool canUndo(const journal::JournalRun& run);
/// The run left contacts it could not write or did not reach (an undo is retried by undoing again).
bool canRetry(const journal::JournalRun& run);
/// Whether the run can be used for that action.
bool canDo(const journal::JournalRun& run, RunChoice::Action action);

/// The run the list starts with chosen: the newest run of that button (a file name; empty: of any
/// button) that the action can be used on; nullopt when there is none, so that the user chooses.
/// `runs` are newest first, as the journal lists them.
std::optional<qint64> preselectedRun(const std::vector<ListedRun>& runs, const QString& buttonFile,
                                     RunChoice::Action action);

} // namespace valdora::bar
