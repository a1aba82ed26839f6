#pragma once

#include "RunChoice.h"

#include "run/ContactRoad.h"
#include "run/ProgressWriter.h"
#include "run/RunSummary.h"
#include "run/UndoAndRetry.h"
#include "run/UndoProgress.h"
#include "settings/ProgramSession.h"

#include <chrono>
#include <functional>

namespace valdora::bar {

/// The bar's way back from a run: undo the last run and retry the contacts a run could not write,
/// each with its question and its report in message boxes, over the user's run journal.
class JournalActions {
public:
    /// Marks the time of an undo's writes (the bar shows a busy cursor beside the undo's progress
    /// window).
    using BusySign = std::function<void(bool busy)>;

    JournalActions(ProgramSession& session, run::RunHost host, BusySign busy = {})
        : m_session(session), m_host(host), m_busy(std::move(busy))
    {}

    /// The runs of the journal that the user can list (every run and retry, not the undos, which are
    /// shown as the "undone by" of their run), newest first, each with its button's caption.
    std::vector<ListedRun> listedRuns();
    /// Undo of a run chosen in the list: what the undo will write back, the question, the undo, and what
    /// it did and left alone. Contacts locked by another user can be retried at once.
    void undoRun(qint64 runId);
    /// Retry of a run chosen in the list: its failed contacts, run again on just those.
    void retryRun(qint64 runId);
    /// What to tell when the journal holds no run the action can be used on.
    void sayNothingTo(RunChoice::Action action);
    /// After a run of the bar: when contacts of it failed, its message offers "Retry", again as long as
    /// some still fail.
    void offerRetry(const run::RunSummary& summary);

    /// What the journal holds for the menus: a run to undo, contacts to retry. Both true when the
    /// journal cannot be read, so that the items stay and their click tells why.
    struct Offers {
        bool undo = true;
        bool retry = true;
    };
    static Offers offers();

    /// Sees every progress value an undo writes for its window, in order.
    void setProgressObserver(run::ProgressWriter::Observer observer)
    {
        m_progressObserver = std::move(observer);
    }
    /// How long an undo goes before its progress window starts (zero: at once).
    void setProgressWindowDelay(std::chrono::milliseconds delay) { m_progressWindowDelay = delay; }

private:
    /// Retries the plan's contacts, reports, and offers "Retry" while some still fail.
    void retryLoop(journal::RunJournal& journal, run::RetryPlan plan);
    QString captionOf(const QString& buttonFile) const;
    /// "Contact (Company)" as the host has it now.
    QString contactName(const QString& contactId) const;
    MessageAnswer ask(const QString& text, MessageButtons buttons, MessageIcon icon);

    ProgramSession& m_session;
    run::RunHost m_host;
    BusySign m_busy;
    run::ProgressWriter::Observer m_progressObserver;
    std::chrono::milliseconds m_progressWindowDelay = run::UndoProgress::DefaultWindowDelay;
};

} // namespace valdora::bar
