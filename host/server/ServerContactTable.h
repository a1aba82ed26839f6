#pragma once

#include "ServerConnection.h"
#include "ServerFieldList.h"
#include "host/common/CachedContactTable.h"

#include <chrono>

namespace valdora::host::server {

/// The contacts of a database on the server: a selection, a current record held in memory, record
/// locks that every workstation sees (advisory locks of this object's connection, held from Edit to
/// Update and never inside a transaction) and writes that are each one statement. A record that
/// another workstation is writing is waited for a moment, not reported as locked.
class ServerContactTable final : public CachedContactTable {
public:
    ServerContactTable(ServerConnection& connection, ServerFieldList& fields);
    ~ServerContactTable() override;

    void Goto(const ContactId& id, Where where = Where::current()) override;
    QString Data(FieldId id, Where where = Where::current()) const override;
    bool isLocked(Where where = Where::current()) const override;
    void Edit(Where where = Where::current()) override;
    int LockLevel(Where where = Where::current()) const override;
    QString Update(Where where = Where::current()) override;

    /// Adds many contacts in one transaction, a few statements for thousands of them.
    int addContacts(int count, const ContactSource& contact, Where where = Where::current()) override;

private:
    qint64 recordOf(const ContactId& id, Where where) const override;
    QHash<ContactId, qint64> recordsOf(const QList<ContactId>& ids, Where where) const override;
    void selectionMade() override;
    bool tryLock(qint64 record, Where where) const;
    /// Waits a moment for another workstation's write to release the record, then takes its lock;
    /// false when it is still held (being edited there).
    bool waitForLock(qint64 record, Where where) const;
    void unlock(qint64 record) const;
    bool heldByOther(qint64 record, Where where) const override;
    void releaseLock() override;
    QList<ContactRow> readContacts(Where where) const override;
    void inTransaction(const std::function<void()>& work, Where where) override;
    QString newUniqueId(Where where) override;
    qint64 insertContact(const ContactId& uid, Where where) override;
    void writeValues(qint64 record, const QList<FieldId>& fields, const QStringList& values,
                     Where where) override;
    QHash<FieldId, QString> readValues(qint64 record, Where where) const override;
    bool commitStaged(Where where);
    /// The record that follows the current one in the selection when the caller walks through it in
    /// order (a run does); 0 otherwise.
    qint64 nextInWalk() const;

    /// Whether a record was free of other workstations' locks, asked together with the write before
    /// it: a run asks isLocked of every contact it reaches, and this saves that question its own
    /// round trip to the server.
    struct LockProbe {
        qint64 record = 0;
        int generation = 0;
        bool free = false;
        std::chrono::steady_clock::time_point when;
    };

    ServerConnection& m_connection;
    /// The records of contacts seen so far, by id.
    mutable QHash<QString, qint64> m_knownRecords;
    /// The connection's generation when the lock was taken: a lock of a lost connection is gone.
    int m_lockGeneration = 0;
    /// The position of the current record in the selection while the caller walks through it in
    /// order; -1 when it does not.
    qsizetype m_walk = -1;
    /// True when the caller asked isLocked of the current record before writing it.
    mutable bool m_askedLock = false;
    mutable LockProbe m_probe;
};

} // namespace valdora::host::server
