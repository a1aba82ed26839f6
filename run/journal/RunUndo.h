#pragma once

#include "RunJournal.h"

#include "host/Database.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace valdora::journal {

/// A field the undo left alone: it no longer holds what the run wrote.
struct ChangedSince {
    QString contact;
    QString field;
    QString holds;   ///< what the field holds now
    QString written; ///< what the run wrote
};

/// What an undo did.
struct UndoReport {
    qint64 run = 0;       ///< the run undone
    qint64 journalId = 0; ///< the undo's own entry in the journal, recorded against the run
    int contacts = 0;     ///< contacts written back
    int fields = 0;       ///< fields written back
    std::vector<ChangedSince> changedSince;
    QStringList locked;   ///< contacts held by another user or whose write was not confirmed: undo again
    QStringList missing;  ///< contacts no longer in the database
    bool numbers = false; ///< the run handed out AutoNumber numbers, which stay handed out
    /// The run did not finish (it stopped halfway, or was interrupted).
    bool runUnfinished = false;

    /// The contacts of the run that still hold something it wrote: locked, changed since, or gone.
    int contactsLeft() const;
    /// Every contact of the run was taken back.
    bool complete() const { return contactsLeft() == 0; }
};

/// Takes a journalled run back: each contact's fields get their old values in one write through the
/// contact object, under the record's lock as a run writes it, but only fields that still hold what the
/// run wrote. The undo is an entry of its own, recorded against the run; it is not undone itself. An
/// undo of the same run again only does what is left (contacts that were locked, or that an undo killed
/// halfway did not come to: a field that holds its old value already counts as taken back).
class RunUndo {
public:
    RunUndo(RunJournal& journal, host::Database& database) : m_journal(journal), m_database(database) {}

    /// Told before each contact is written back: its place (from 1) among the `total` contacts.
    using ContactProgress = std::function<void(int contact, int total)>;
    void setContactProgress(ContactProgress progress) { m_progress = std::move(progress); }

    /// The changes an undo of that run would write back (those not undone yet), in the order written.
    std::vector<JournalChange> plan(qint64 run) { return m_journal.changes(run, true); }
    /// Undoes the run; throws Failure when the run is not in the journal, is an undo, was undone
    /// already, or was made on another database.
    UndoReport undo(qint64 run, const QString& user);

private:
    void undoContact(const QString& contact, const std::vector<const JournalChange*>& changes,
                     UndoReport& report);

    RunJournal& m_journal;
    host::Database& m_database;
    ContactProgress m_progress;
};

} // namespace valdora::journal
