#pragma once

#include "Connection.h"
#include "EmbeddedFieldList.h"
#include "RecordLocks.h"
#include "host/DatabaseTools.h"

#include <QHash>

#include <optional>

namespace valdora::host::embedded {

/// The contacts of one database: a selection, a current record held in memory, cross-process record
/// locks and transactional writes.
class EmbeddedContactTable final : public ToolContactTable {
public:
    EmbeddedContactTable(Connection& connection, EmbeddedFieldList& fields, Where where = Where::current());
    ~EmbeddedContactTable() override;

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

    /// A new contact with these values (field 1 excluded), written in one transaction; returns its id.
    QString addContact(const QHash<FieldId, QString>& values, Where where = Where::current()) override;
    /// Writes imported rows in one transaction, all or nothing: a row whose field-1 column names a
    /// contact updates it (or makes it with that id), a row without one makes a new contact. Fails,
    /// writing nothing, when a named contact is being edited by another program. Returns the row count.
    int importRecords(const QList<FieldId>& columns, const QList<QStringList>& rows,
                      Where where = Where::current()) override;
    /// True when a contact has that id.
    bool exists(const ContactId& id, Where where = Where::current()) const override;
    /// The ids of the current selection, in order.
    const QStringList& selection() const override { return m_selection; }
    /// Makes the contact current and takes its lock; false when another holder has it.
    bool lockRecord(const ContactId& id, Where where = Where::current()) override;

private:
    qint64 recordOf(const ContactId& id, Where where) const;
    /// Looks up the contact of the last Goto, when that is not done yet; with its values as well
    /// when `withValues`, in the same query.
    void resolve(bool withValues, Where where) const;
    /// Makes the contact of that record current (0: none); what the previous one staged is dropped.
    void moveTo(const ContactId& id, qint64 record);
    void releaseLock();
    /// The current record's values, read on first use after Goto or Edit.
    const QHash<FieldId, QString>& currentValues(Where where) const;
    bool commitStaged(Where where);
    void writeValue(qint64 record, FieldId field, const QString& value, Where where);

    Connection& m_connection;
    EmbeddedFieldList& m_fields;
    RecordLocks m_locks;
    QStringList m_selection;
    /// The record of each contact of the selection, as it was when the selection was made: moving
    /// through it needs no lookup. A contact deleted since reads as empty, and its write fails, as
    /// after a Goto.
    QList<qint64> m_selectionRecords;
    qsizetype m_position = 0;
    // Goto only notes the contact: it is looked up on first use, together with its values when a
    // field is read first, so that moving to a contact and reading it takes one query, not two.
    mutable std::optional<ContactId> m_sought;
    mutable qint64 m_current = 0;
    mutable QString m_currentId;
    QString m_lastWriteFailure;
    // Read lazily: a run makes a record current, takes its lock and only then reads it, and the read
    // before the lock would be wasted (and stale).
    mutable QHash<FieldId, QString> m_values;
    mutable bool m_valuesLoaded = false;
    QList<QPair<FieldId, QString>> m_staged;
    qint64 m_locked = 0;
};

} // namespace valdora::host::embedded
