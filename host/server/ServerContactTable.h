#pragma once

#include "ServerConnection.h"
#include "ServerFieldList.h"
#include "host/DatabaseTools.h"

#include <QHash>

namespace valdora::host::server {

/// The contacts of a database on the server: a selection, a current record held in memory, record
/// locks that every workstation sees (advisory locks of this object's connection, held from Edit to
/// Update and never inside a transaction) and writes that are each one statement. A record that
/// another workstation is writing is waited for a moment, not reported as locked.
class ServerContactTable final : public ToolContactTable {
public:
    ServerContactTable(ServerConnection& connection, ServerFieldList& fields);
    ~ServerContactTable() override;

    FieldList& Fields() override { return m_fields; }
    const FieldList& Fields() const override { return m_fields; }

    void Goto(const ContactId& id, Where where = Where::current()) override;
    QString Data(FieldId id, Where where = Where::current()) const override;
    bool isLocked(Where where = Where::current()) const override;
    void Edit(Where where = Where::current()) override;
    int LockLevel(Where where = Where::current()) const override;
    void SetDataEx(const QList<FieldId>& ids, const QStringList& values,
                   Where where = Where::current()) override;
    QString Update(Where where = Where::current()) override;
    QString lastWriteFailure() const override { return m_lastWriteFailure; }

    void Query(const QString& filter, Where where = Where::current()) override;
    void LoadLookUpQuery(const QString& file, Where where = Where::current()) override;
    void MoveFirst(Where where = Where::current()) override;
    void MoveNext(Where where = Where::current()) override;
    bool isEOF(Where where = Where::current()) const override;

    QString addContact(const QHash<FieldId, QString>& values, Where where = Where::current()) override;
    int importRecords(const QList<FieldId>& columns, const QList<QStringList>& rows,
                      Where where = Where::current()) override;
    bool exists(const ContactId& id, Where where = Where::current()) const override;
    const QStringList& selection() const override { return m_selection; }
    bool lockRecord(const ContactId& id, Where where = Where::current()) override;

    /// Adds many contacts in one transaction (sample data, bulk loads); returns how many.
    int addContacts(const QList<QHash<FieldId, QString>>& contacts, Where where = Where::current());

private:
    qint64 recordOf(const ContactId& id, Where where) const;
    void moveTo(const ContactId& id, qint64 record);
    bool tryLock(qint64 record, Where where) const;
    /// Waits a moment for another workstation's write to release the record, then takes its lock;
    /// false when it is still held (being edited there).
    bool waitForLock(qint64 record, Where where) const;
    void unlock(qint64 record) const;
    bool heldByOther(qint64 record, Where where) const;
    void releaseLock();
    const QHash<FieldId, QString>& currentValues(Where where) const;
    bool commitStaged(Where where);
    void writeValues(qint64 record, const QList<FieldId>& fields, const QStringList& values, Where where);

    ServerConnection& m_connection;
    ServerFieldList& m_fields;
    QStringList m_selection;
    QList<qint64> m_selectionRecords;
    /// The records of contacts seen so far, by id.
    mutable QHash<QString, qint64> m_knownRecords;
    qsizetype m_position = 0;
    qint64 m_current = 0;
    QString m_currentId;
    QString m_lastWriteFailure;
    mutable QHash<FieldId, QString> m_values;
    mutable bool m_valuesLoaded = false;
    QList<QPair<FieldId, QString>> m_staged;
    qint64 m_locked = 0;
    /// The connection's generation when the lock was taken: a lock of a lost connection is gone.
    int m_lockGeneration = 0;
};

} // namespace valdora::host::server
