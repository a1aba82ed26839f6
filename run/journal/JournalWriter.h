#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace valdora::journal {

/// A failure of the journal: what was being done and why.
class JournalError : public std::runtime_error {
public:
    explicit JournalError(const QString& message, bool damaged = false, bool busy = false)
        : std::runtime_error(message.toStdString()), m_message(message), m_damaged(damaged), m_busy(busy)
    {}
    const QString& message() const { return m_message; }
    /// The file is no journal, or a damaged one (as opposed to one that cannot be reached or written).
    bool damaged() const { return m_damaged; }
    /// Another program held the file longer than the journal waits.
    bool busy() const { return m_busy; }

private:
    QString m_message;
    bool m_damaged;
    bool m_busy;
};

/// What a journalled run was.
enum class RunKind { Run, Retry, Undo };

/// What a run is, as it starts.
struct RunInfo {
    RunKind kind = RunKind::Run;
    QString button;   ///< "~101.ini"
    QString database; ///< the contact database's path
    QString user;
    QString scope;        ///< "lookup", "all", or the contacts of an earlier run
    qint64 of = 0;        ///< the run an undo or retry works on
    bool numbers = false; ///< AutoNumber numbers are handed out (never given back by an undo)
};

/// How a run ended, as the journal keeps it.
struct RunEnd {
    /// It stopped halfway on a failure (or the program was closed under it) instead of finishing.
    bool stopped = false;
    /// The contact it stopped at, not written; empty when it stopped between contacts.
    QString failedAt;
    /// The contacts in scope it never came to, in the order it would have.
    QStringList notReached;
};

/// What a run writes into the journal as it goes. The run knows the journal by this alone, so that a
/// program whose runs are never journalled (ValdoraAuto) links none of the journal's storage.
/// Failures are thrown as JournalError.
///
/// A contact's old values are committed before the contact is written: addChange for each changed
/// field, then writeAhead, then the write. A process killed at any moment therefore leaves no written
/// contact whose old value the journal lacks.
class JournalWriter {
public:
    virtual ~JournalWriter() = default;

    /// Starts a run; its id.
    virtual qint64 begin(const RunInfo& info) = 0;
    /// One field the contact is about to be written with; before the contact's write.
    virtual void addChange(const QString& contact, const QString& field, const QString& oldValue,
                           const QString& newValue) = 0;
    /// Commits the changes added for the contact; the contact may be written only once this returned.
    /// When it throws, nothing of the contact is in the journal and the contact must not be written.
    virtual void writeAhead() = 0;
    /// The contact's write did not go through: its changes go, it is kept as failed (committed at once).
    virtual void contactFailed(const QString& contact) = 0;
    /// The contact is done with.
    virtual void contactDone() = 0;
    /// Contacts of an earlier run now written after all.
    virtual void resolveFailures(qint64 run, const QStringList& contacts) = 0;
    /// Ends the run: finished, or stopped with the contact it stopped at and those it never came to.
    virtual void finish(const RunEnd& end) = 0;
};

} // namespace valdora::journal
