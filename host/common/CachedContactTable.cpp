#include "CachedContactTable.h"

#include "DateStamp.h"
#include "DefaultSort.h"
#include "host/LookupFile.h"
#include "host/StandardFields.h"

namespace valdora::host {

CachedContactTable::CachedContactTable(QString location, CachedFieldList& fields)
    : m_location(std::move(location)), m_fields(fields)
{}

void CachedContactTable::moveTo(const ContactId& id, qint64 record)
{
    if (record != m_current) {
        // Moving on abandons what the previous record had staged, and its lock.
        releaseLock();
        m_staged.clear();
    }
    m_current = record;
    m_currentId = record ? id : QString();
    m_values.clear();
    m_valuesLoaded = false;
}

const QHash<FieldId, QString>& CachedContactTable::currentValues(Where where) const
{
    if (m_valuesLoaded || m_current == 0)
        return m_values;
    m_values = readValues(m_current, where);
    m_valuesLoaded = true;
    return m_values;
}

void CachedContactTable::keepWritten(FieldId field, const QString& value)
{
    if (!m_valuesLoaded)
        return;
    if (value.isEmpty())
        m_values.remove(field);
    else
        m_values.insert(field, value);
}

void CachedContactTable::requireCurrent(const char* doing, Where where) const
{
    settle(where);
    if (m_current == 0)
        throw HostFailure(HostError::NoDatabaseOpen,
                          QStringLiteral("There is no current contact to %1 in %2")
                              .arg(QString::fromLatin1(doing), m_location),
                          where);
}

void CachedContactTable::SetDataEx(const QList<FieldId>& ids, const QStringList& values, Where where)
{
    if (ids.size() != values.size())
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("SetDataEx was given %1 field ids and %2 values")
                              .arg(ids.size())
                              .arg(values.size()),
                          where);
    requireCurrent("write", where);
    for (const FieldId id : ids) {
        if (!m_fields.has(id))
            throw HostFailure(
                HostError::UnknownField,
                QStringLiteral("The contact database %1 has no field %2").arg(m_location).arg(id), where);
        if (id == FieldNumber::UniqueId)
            throw HostFailure(int(ErrorNumber::PermissionDenied),
                              QStringLiteral("Field 1 holds the contact's unique id and cannot be written"),
                              where);
    }
    for (qsizetype i = 0; i < ids.size(); ++i)
        m_staged.append({ids.at(i), values.at(i)});
}

void CachedContactTable::setSelection(QStringList ids, QList<qint64> records)
{
    m_selection = std::move(ids);
    m_selectionRecords = std::move(records);
    m_position = 0;
    selectionMade();
}

void CachedContactTable::Query(const QString& filter, Where where)
{
    if (!filter.isEmpty())
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("Query supports only the empty filter (all contacts), not \"%1\"").arg(filter),
            where);
    // One order for every kind, whatever its collation: read in it where the database keeps it,
    // sorted here otherwise.
    QStringList ids;
    QList<qint64> records;
    if (!readSorted(ids, records, where)) {
        ids.clear();
        records.clear();
        DefaultSort sort;
        sortContacts(sort, where);
        sort.takeSorted(ids, records);
    }
    setSelection(std::move(ids), std::move(records));
}

void CachedContactTable::sortContacts(DefaultSort& sort, Where where) const
{
    const QList<ContactRow> rows = readContacts(where);
    sort.reserve(rows.size());
    for (const ContactRow& row : rows)
        sort.add(row.uid, row.record, row.company, row.contact);
}

QHash<ContactId, qint64> CachedContactTable::recordsOf(const QList<ContactId>& ids, Where where) const
{
    QHash<ContactId, qint64> records;
    for (const ContactId& id : ids)
        if (const qint64 record = recordOf(id, where); record != 0)
            records.insert(id, record);
    return records;
}

void CachedContactTable::LoadLookUpQuery(const QString& file, Where where)
{
    const QList<ContactId> ids = readLookupFile(file, where);
    const QHash<ContactId, qint64> records = recordsOf(ids, where);
    QStringList selection;
    QList<qint64> found;
    for (const ContactId& id : ids) {
        // Contacts deleted since the lookup was saved are left out.
        if (const qint64 record = records.value(id); record != 0) {
            selection.append(id);
            found.append(record);
        }
    }
    setSelection(std::move(selection), std::move(found));
}

void CachedContactTable::MoveFirst(Where)
{
    m_position = 0;
    if (!m_selection.isEmpty())
        moveTo(m_selection.first(), m_selectionRecords.first());
}

void CachedContactTable::MoveNext(Where)
{
    if (m_position < m_selection.size())
        ++m_position;
    if (m_position < m_selection.size())
        moveTo(m_selection.at(m_position), m_selectionRecords.at(m_position));
}

bool CachedContactTable::isEOF(Where) const
{
    return m_position >= m_selection.size();
}

QString CachedContactTable::addContact(const QHash<FieldId, QString>& values, Where where)
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        if (!m_fields.has(it.key()) || it.key() == FieldNumber::UniqueId)
            throw HostFailure(
                HostError::UnknownField,
                QStringLiteral("Field %1 cannot be written in %2").arg(it.key()).arg(m_location), where);
    QString uid;
    inTransaction(
        [&] {
            uid = newUniqueId(where);
            const qint64 record = insertContact(uid, where);
            const QString created = currentStamp();
            QList<FieldId> fields = {CreateDate, EditDate};
            QStringList texts = {created, created};
            for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
                fields.append(it.key());
                texts.append(it.value());
            }
            writeValues(record, fields, texts, where);
        },
        where);
    return uid;
}

int CachedContactTable::addContacts(int count, const ContactSource& contact, Where where)
{
    inTransaction(
        [&] {
            for (int i = 0; i < count; ++i) {
                const qint64 record = insertContact(newUniqueId(where), where);
                const QHash<FieldId, QString> values = contact(i);
                writeValues(record, values.keys(), values.values(), where);
            }
        },
        where);
    return count;
}

int CachedContactTable::importRecords(const QList<FieldId>& columns, const QList<QStringList>& rows,
                                      Where where)
{
    const qsizetype idColumn = columns.indexOf(FieldNumber::UniqueId);
    const bool hasEditDate = columns.contains(EditDate);
    const bool hasCreateDate = columns.contains(CreateDate);
    const QString stamp = currentStamp();
    inTransaction(
        [&] {
            for (qsizetype r = 0; r < rows.size(); ++r) {
                const QStringList& row = rows.at(r);
                const QString id = idColumn >= 0 ? row.at(idColumn) : QString();
                qint64 record = id.isEmpty() ? 0 : recordOf(id, where);
                const bool created = record == 0;
                if (record != 0 && heldByOther(record, where))
                    throw HostFailure(
                        HostError::RecordLocked,
                        QStringLiteral("Contact %1 is being edited by another program; nothing was imported")
                            .arg(id),
                        where);
                if (created) {
                    if (!id.isEmpty() && id.size() != 12)
                        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                                          QStringLiteral("Row %1: \"%2\" is not a 12-character unique id; "
                                                         "nothing was imported")
                                              .arg(r + 1)
                                              .arg(id),
                                          where);
                    record = insertContact(id.isEmpty() ? newUniqueId(where) : id, where);
                }
                QList<FieldId> fields;
                QStringList values;
                for (qsizetype c = 0; c < columns.size(); ++c) {
                    if (c != idColumn) {
                        fields.append(columns.at(c));
                        values.append(row.at(c));
                    }
                }
                if (created && !hasCreateDate) {
                    fields.append(CreateDate);
                    values.append(stamp);
                }
                if (!hasEditDate) {
                    fields.append(EditDate);
                    values.append(stamp);
                }
                writeValues(record, fields, values, where);
            }
        },
        where);
    m_valuesLoaded = false;
    return int(rows.size());
}

bool CachedContactTable::exists(const ContactId& id, Where where) const
{
    return recordOf(id, where) != 0;
}

bool CachedContactTable::lockRecord(const ContactId& id, Where where)
{
    Goto(id, where);
    settle(where);
    if (m_current == 0)
        throw HostFailure(HostError::NoDatabaseOpen,
                          QStringLiteral("The contact database %1 has no contact %2").arg(m_location, id),
                          where);
    Edit(where);
    return LockLevel(where) == 1;
}

} // namespace valdora::host
