#pragma once

#include "Connection.h"
#include "EmbeddedFieldList.h"
#include "RecordLocks.h"
#include "host/common/CachedContactTable.h"

#include <optional>

namespace valdora::host::embedded {

/// The contacts of one database file: cross-process record locks and transactional writes; a Goto
/// is looked up on first use.
class EmbeddedContactTable final : public CachedContactTable {
public:
    /// `sortKeys`: the file keeps each contact's key in the default sort (its layout has them, and
    /// this object's writes fill them in).
    EmbeddedContactTable(Connection& connection, EmbeddedFieldList& fields, bool sortKeys,
                         Where where = Where::current());
    ~EmbeddedContactTable() override;

    void Goto(const ContactId& id, Where where = Where::current()) override;
    QString Data(FieldId id, Where where = Where::current()) const override;
    bool isLocked(Where where = Where::current()) const override;
    void Edit(Where where = Where::current()) override;
    int LockLevel(Where where = Where::current()) const override;
    QString Update(Where where = Where::current()) override;

private:
    /// Looks up the contact of the last Goto, when that is not done yet; with its values as well
    /// when `withValues`, in the same query.
    void resolve(bool withValues, Where where) const;
    void settle(Where where) const override { resolve(false, where); }
    void moveTo(const ContactId& id, qint64 record) override;
    void releaseLock() override;
    qint64 recordOf(const ContactId& id, Where where) const override;
    bool heldByOther(qint64 record, Where) const override { return m_locks.heldByOther(record); }
    void sortContacts(DefaultSort& sort, Where where) const override;
    bool readSorted(QStringList& ids, QList<qint64>& records, Where where) const override;
    void inTransaction(const std::function<void()>& work, Where where) override;
    QString newUniqueId(Where where) override;
    qint64 insertContact(const ContactId& uid, Where where) override;
    void writeValues(qint64 record, const QList<FieldId>& fields, const QStringList& values,
                     Where where) override;
    QHash<FieldId, QString> readValues(qint64 record, Where where) const override;
    bool commitStaged(Where where);
    void writeValue(qint64 record, FieldId field, const QString& value, Where where);

    Connection& m_connection;
    const bool m_sortKeys;
    RecordLocks m_locks;
    // Goto only notes the contact: it is looked up on first use, together with its values when a
    // field is read first, so that moving to a contact and reading it takes one query, not two.
    mutable std::optional<ContactId> m_sought;
};

} // namespace valdora::host::embedded
