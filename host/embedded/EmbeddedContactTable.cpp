#include "EmbeddedContactTable.h"

#include "Schema.h"
#include "host/common/DateStamp.h"
#include "host/common/DefaultSort.h"

#include <algorithm>

namespace valdora::host::embedded {

EmbeddedContactTable::EmbeddedContactTable(Connection& connection, EmbeddedFieldList& fields, bool sortKeys,
                                           Where where)
    : CachedContactTable(connection.path(), fields), m_connection(connection), m_sortKeys(sortKeys),
      m_locks(connection.path(), where)
{}

EmbeddedContactTable::~EmbeddedContactTable()
{
    releaseLock();
}

qint64 EmbeddedContactTable::recordOf(const ContactId& id, Where where) const
{
    Statement find = m_connection.prepare("SELECT record FROM contacts WHERE uid = ?", where);
    find.bind(1, id);
    return find.step(where) ? find.integer(0) : 0;
}

void EmbeddedContactTable::releaseLock()
{
    if (m_locked != 0)
        m_locks.unlock(m_locked);
    m_locked = 0;
}

QHash<FieldId, QString> EmbeddedContactTable::readValues(qint64 record, Where where) const
{
    QHash<FieldId, QString> values;
    Statement read = m_connection.prepare("SELECT field, value FROM vals WHERE record = ?", where);
    read.bind(1, record);
    while (read.step(where))
        values.insert(FieldId(read.integer(0)), read.text(1));
    return values;
}

void EmbeddedContactTable::resolve(bool withValues, Where where) const
{
    if (!m_sought)
        return;
    qint64 record = 0;
    if (withValues) {
        Statement read = m_connection.prepare(
            "SELECT c.record, v.field, v.value FROM contacts c LEFT JOIN vals v ON v.record = c.record "
            "WHERE c.uid = ?",
            where);
        read.bind(1, *m_sought);
        m_values.clear();
        while (read.step(where)) {
            record = read.integer(0);
            if (!read.isNull(1))
                m_values.insert(FieldId(read.integer(1)), read.text(2));
        }
        m_valuesLoaded = record != 0;
    } else {
        record = recordOf(*m_sought, where);
    }
    m_current = record;
    m_currentId = record ? *m_sought : QString();
    m_sought.reset();
}

void EmbeddedContactTable::Goto(const ContactId& id, Where)
{
    // Moving on abandons what the previous contact had staged, and its lock.
    if (id != (m_sought ? *m_sought : m_currentId)) {
        releaseLock();
        m_staged.clear();
    }
    m_sought = id;
    m_values.clear();
    m_valuesLoaded = false;
}

void EmbeddedContactTable::moveTo(const ContactId& id, qint64 record)
{
    m_sought.reset();
    CachedContactTable::moveTo(id, record);
}

QString EmbeddedContactTable::Data(FieldId id, Where where) const
{
    resolve(id != FieldNumber::UniqueId, where);
    if (m_current == 0)
        return {};
    if (id == FieldNumber::UniqueId)
        return m_currentId;
    return currentValues(where).value(id);
}

bool EmbeddedContactTable::isLocked(Where where) const
{
    resolve(false, where);
    return m_current != 0 && m_locked != m_current && m_locks.heldByOther(m_current);
}

void EmbeddedContactTable::Edit(Where where)
{
    requireCurrent("edit", where);
    if (m_locked == m_current)
        return;
    releaseLock();
    if (m_locks.tryLock(m_current)) {
        m_locked = m_current;
        // What is edited is the record as it is now that no one else can write it.
        m_valuesLoaded = false;
    }
}

int EmbeddedContactTable::LockLevel(Where where) const
{
    resolve(false, where);
    return m_current != 0 && m_locked == m_current ? 1 : 0;
}

void EmbeddedContactTable::writeValue(qint64 record, FieldId field, const QString& value, Where where)
{
    // A blank value is no row: Data of a field the record does not hold is "" as well.
    if (value.isEmpty()) {
        Statement erase = m_connection.prepare("DELETE FROM vals WHERE record = ? AND field = ?", where);
        erase.bind(1, record).bind(2, field);
        erase.step(where);
        return;
    }
    Statement write = m_connection.prepare("INSERT INTO vals(record, field, value) VALUES(?, ?, ?) ON "
                                           "CONFLICT(record, field) DO UPDATE SET value = excluded.value",
                                           where);
    write.bind(1, record).bind(2, field).bind(3, value);
    write.step(where);
}

void EmbeddedContactTable::writeValues(qint64 record, const QList<FieldId>& fields, const QStringList& values,
                                       Where where)
{
    for (qsizetype i = 0; i < fields.size(); ++i)
        writeValue(record, fields.at(i), values.at(i), where);
}

bool EmbeddedContactTable::commitStaged(Where where)
{
    Transaction transaction(m_connection, where);
    {
        Statement still = m_connection.prepare("SELECT 1 FROM contacts WHERE record = ?", where);
        still.bind(1, m_current);
        if (!still.step(where))
            return false; // deleted by another program meanwhile
    }
    for (const auto& [field, value] : m_staged)
        writeValue(m_current, field, value, where);
    const QString edited = currentStamp();
    writeValue(m_current, EditDate, edited, where);
    const bool renamed = std::any_of(m_staged.begin(), m_staged.end(), [](const auto& staged) {
        return staged.first == FieldNumber::Company || staged.first == FieldNumber::Contact;
    });
    if (m_sortKeys && renamed)
        fillSortKeys(m_connection, where);
    transaction.commit(where);
    for (const auto& [field, value] : m_staged)
        keepWritten(field, value);
    keepWritten(EditDate, edited);
    return true;
}

QString EmbeddedContactTable::Update(Where where)
{
    m_lastWriteFailure.clear();
    resolve(false, where);
    if (m_current == 0)
        return {};
    const bool lockedHere = m_locked == m_current;
    if (!lockedHere && !m_locks.tryLock(m_current)) {
        m_staged.clear();
        return {}; // another program is editing this record: nothing written
    }
    bool written = false;
    std::optional<HostFailure> refused;
    try {
        written = commitStaged(where);
    } catch (const HostFailure& failure) {
        written = false; // the caller learns it from the result, as callers of Update expect
        // A change refused for want of a login says so. A busy database is a record held elsewhere to
        // the caller; anything else is the file's own.
        if (failure.number() == HostError::WriteRefused)
            refused = failure;
        else if (failure.number() != HostError::RecordLocked)
            m_lastWriteFailure = failure.description();
    }
    m_staged.clear();
    m_locks.unlock(m_current);
    m_locked = 0;
    if (refused)
        throw *refused;
    return written ? m_currentId : QString();
}

void EmbeddedContactTable::sortContacts(DefaultSort& sort, Where where) const
{
    {
        Statement count = m_connection.prepare("SELECT count(*) FROM contacts", where);
        if (count.step(where))
            sort.reserve(count.integer(0));
    }
    Statement read = m_connection.prepare(AllContactsSql, where);
    while (read.step(where))
        sort.add(read.text(0), read.integer(3), read.utf8(1), read.utf8(2));
}

bool EmbeddedContactTable::readSorted(QStringList& ids, QList<qint64>& records, Where where) const
{
    if (!m_sortKeys)
        return false;
    {
        Statement count = m_connection.prepare("SELECT count(*) FROM contacts", where);
        if (count.step(where)) {
            ids.reserve(count.integer(0));
            records.reserve(count.integer(0));
        }
    }
    // A key that another program left empty comes first: then the names are sorted here, as they
    // are now, until a write of this program fills the keys in.
    Statement read = m_connection.prepare(
        "SELECT uid, record, sortkey IS NULL FROM contacts ORDER BY sortkey, uid", where);
    while (read.step(where)) {
        if (read.integer(2) != 0)
            return false;
        ids.append(read.text(0));
        records.append(read.integer(1));
    }
    return true;
}

void EmbeddedContactTable::inTransaction(const std::function<void()>& work, Where where)
{
    Transaction transaction(m_connection, where);
    work();
    if (m_sortKeys)
        fillSortKeys(m_connection, where);
    transaction.commit(where);
}

QString EmbeddedContactTable::newUniqueId(Where where)
{
    return nextUniqueId(m_connection, where);
}

qint64 EmbeddedContactTable::insertContact(const ContactId& uid, Where where)
{
    Statement insert = m_connection.prepare("INSERT INTO contacts(uid) VALUES(?) RETURNING record", where);
    insert.bind(1, uid);
    qint64 record = 0;
    if (insert.step(where))
        record = insert.integer(0);
    while (insert.step(where)) {
    }
    return record;
}

} // namespace valdora::host::embedded
