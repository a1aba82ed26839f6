#pragma once

#include "RunState.h"

#include "host/HostTypes.h"
#include "run/journal/JournalWriter.h"

#include <QSet>
#include <QString>

#include <vector>

namespace valdora::run {

/// What a run is to do with the user's run journal. Without a journal nothing is journalled.
struct JournalRequest {
    journal::JournalWriter* journal = nullptr;
    /// A retry: the run whose failed contacts this run covers, and those contacts.
    qint64 retryOf = 0;
    std::vector<host::ContactId> contacts;

    bool isRetry() const { return retryOf != 0; }
};

/// One run's entries in the journal: each contact's changed targets, committed before its write; the
/// contacts whose write failed after it; at the end how the run ended and the contacts it never came
/// to. Journal failures are thrown as Failure, so that the run stops before a write it could not take
/// back.
class RunJournalling {
public:
    explicit RunJournalling(journal::JournalWriter& journal) : m_journal(journal) {}

    /// Enters the run; its id.
    qint64 begin(const journal::RunInfo& info);
    /// Before a contact's write: the targets whose value changes, with what they hold now. A target
    /// written by several members keeps what it held first and gets the last value.
    void beforeWrite(const host::ContactId& contact, const std::vector<RunMember>& members);
    /// After the contact's write.
    void afterWrite(const host::ContactId& contact, bool failed);
    /// The run's end over its `scope`: finished, or stopped at `stoppedAt` (not written, kept as failed)
    /// with the contacts after it kept as not reached. A retry takes its contacts off the failures of
    /// the run it retried: those that fail again, or that it does not reach, are its own now.
    void finish(qint64 retryOf, const std::vector<host::ContactId>& scope, bool stopped,
                const host::ContactId& stoppedAt);

private:
    template <typename Body> void guarded(Body&& body);

    journal::JournalWriter& m_journal;
    /// The contacts the run came to the end of, written or failed.
    QSet<QString> m_covered;
};

} // namespace valdora::run
