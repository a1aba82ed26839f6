#pragma once

#include "ButtonRun.h"

#include "run/journal/RunJournal.h"
#include "run/journal/RunUndo.h"
#include "settings/MessageTable.h"

#include <functional>
#include <optional>

namespace valdora::run {

/// How a contact of the journal is named to the user; the journal knows contacts by their unique id,
/// which is what an empty namer shows.
using ContactNamer = std::function<QString(const QString& contactId)>;

/// The user's run journal, opened; a damaged journal kept aside and replaced is told to the user here,
/// once (the next open finds the fresh one). Throws Failure (naming the file) when it cannot be used.
std::unique_ptr<journal::RunJournal> openUserJournal(ProgramSession& session);

/// When a run started, as the journal's listings and questions show it.
QString startedText(const journal::JournalRun& run);
/// How many contacts the changes of a plan touch.
std::size_t contactsIn(const std::vector<journal::JournalChange>& plan);
/// How many contacts the fields an undo left alone belong to.
std::size_t contactsIn(const std::vector<journal::ChangedSince>& left);

/// The question before an undo of `run`: which run, how many fields of how many contacts go back, the
/// first of them, and that AutoNumber numbers stay handed out.
QString undoQuestionText(const journal::JournalRun& run, const std::vector<journal::JournalChange>& plan,
                         const Messages& texts, const ContactNamer& name = {});
/// What an undo did, and what it left alone, in the language of `texts`.
QString undoReportText(const journal::UndoReport& report, const Messages& texts,
                       const ContactNamer& name = {});

/// A retry of a journalled run's failed contacts, as it is about to go: the run and its contacts, or
/// why it cannot (a text for the user).
struct RetryPlan {
    std::optional<journal::JournalRun> run;
    QStringList contacts;
    QString refusal;

    bool ready() const { return refusal.isEmpty() && run.has_value(); }
};

/// The retry of run `runId`, or of the newest run with failed contacts when absent. Refused for a run
/// that is not there, an undo (an undo is retried by undoing again), a run without failed contacts,
/// or a run made on another database than `openDatabase`.
RetryPlan planRetry(journal::RunJournal& journal, std::optional<qint64> runId, const QString& openDatabase,
                    const Messages& messages);

/// Runs the run's button again on just its failed contacts, journalled as a retry of that run; what
/// still fails stays listed with the run.
RunSummary retryFailedContacts(ProgramSession& session, RunHost host, journal::RunJournal& journal,
                               const RetryPlan& plan);

} // namespace valdora::run
