#include "RunUndo.h"

#include "core/Failure.h"

#include <QHash>
#include <QSet>

namespace valdora::journal {

UndoReport RunUndo::undo(qint64 run, const QString& user)
{
    const std::optional<JournalRun> entry = m_journal.run(run);
    if (!entry)
        throw Failure(ErrorNumber::SubscriptOutOfRange,
                      QStringLiteral("The run journal holds no run %1").arg(run));
    if (entry->isUndo())
        throw Failure(ErrorNumber::PermissionDenied,
                      QStringLiteral("Run %1 is the undo of run %2; an undo is not undone")
                          .arg(run)
                          .arg(entry->info.of));
    if (entry->undoneBy != 0)
        throw Failure(ErrorNumber::PermissionDenied,
                      QStringLiteral("Run %1 was undone by run %2").arg(run).arg(entry->undoneBy));
    const QString database = m_database.GetDatabasePath();
    if (entry->info.database != database)
        throw Failure(ErrorNumber::PermissionDenied,
                      QStringLiteral("Run %1 wrote the database %2, not the open database %3")
                          .arg(run)
                          .arg(entry->info.database, database));

    UndoReport report;
    report.run = run;
    report.numbers = entry->info.numbers;
    report.runUnfinished = entry->stand == RunStand::Stopped || entry->stand == RunStand::Interrupted;
    const std::vector<JournalChange> pending = m_journal.changes(run, true);
    // One write per contact: its changes together, in the order the run first came to it.
    QStringList order;
    QHash<QString, std::vector<const JournalChange*>> byContact;
    for (const JournalChange& change : pending) {
        std::vector<const JournalChange*>& changes = byContact[change.contact];
        if (changes.empty())
            order << change.contact;
        changes.push_back(&change);
    }
    report.journalId = m_journal.begin({.kind = RunKind::Undo,
                                        .button = entry->info.button,
                                        .database = database,
                                        .user = user,
                                        .scope = QStringLiteral("run %1").arg(run),
                                        .of = run,
                                        .numbers = false});
    try {
        const int total = static_cast<int>(order.size());
        for (int i = 0; i < total; ++i) {
            if (m_progress)
                m_progress(i + 1, total);
            const QString& contact = order.at(i);
            undoContact(contact, byContact.value(contact), report);
            m_journal.contactDone();
        }
    } catch (...) {
        // What was written back so far stays journalled; the rest is left for another undo. Moving off
        // the record drops a lock this undo may still hold.
        try {
            m_database.Contact().Goto(host::ContactId());
        } catch (...) {
        }
        try {
            m_journal.finish({.stopped = true, .failedAt = {}, .notReached = {}});
        } catch (const JournalError&) {
        }
        throw;
    }
    m_journal.finish({});
    return report;
}

int UndoReport::contactsLeft() const
{
    QSet<QString> left(locked.begin(), locked.end());
    for (const QString& contact : missing)
        left.insert(contact);
    for (const ChangedSince& change : changedSince)
        left.insert(change.contact);
    return static_cast<int>(left.size());
}

void RunUndo::undoContact(const QString& contact, const std::vector<const JournalChange*>& changes,
                          UndoReport& report)
{
    host::ContactTable& table = m_database.Contact();
    table.Goto(contact);
    if (table.Data(host::FieldNumber::UniqueId) != contact) {
        report.missing << contact;
        return;
    }
    // The same lock as a run: a record another user holds is not touched, and is listed.
    if (table.isLocked()) {
        report.locked << contact;
        m_journal.contactFailed(contact);
        return;
    }
    table.Edit();
    if (table.LockLevel() != 1) {
        report.locked << contact;
        m_journal.contactFailed(contact);
        return;
    }
    host::FieldList& fields = table.Fields();
    QList<host::FieldId> ids;
    QStringList values;
    std::vector<qint64> settled;
    for (const JournalChange* change : changes) {
        const std::optional<host::FieldId> id =
            fields.Exists(change->field) ? std::optional(fields.FieldID(change->field)) : std::nullopt;
        const QString holds = id ? table.Data(*id) : QString();
        if (id && holds == change->newValue && holds != change->oldValue) {
            m_journal.addChange(contact, change->field, holds, change->oldValue);
            ids << *id;
            values << change->oldValue;
            settled.push_back(change->id);
        } else if (id && holds == change->oldValue) {
            // Never written (the run stopped before the write) or already put back by hand.
            settled.push_back(change->id);
        } else {
            report.changedSince.push_back({contact, change->field, holds, change->newValue});
        }
    }
    if (ids.isEmpty()) {
        // Moving off the record releases the lock without a commit.
        table.Goto(host::ContactId());
        m_journal.markUndone(settled);
        return;
    }
    table.SetDataEx(ids, values);
    if (table.Update() != contact) {
        report.locked << contact;
        m_journal.contactFailed(contact);
        if (table.LockLevel() == 1)
            table.Goto(host::ContactId());
        return;
    }
    m_journal.markUndone(settled);
    ++report.contacts;
    report.fields += static_cast<int>(ids.size());
}

} // namespace valdora::journal
