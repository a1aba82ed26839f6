#include "EmbeddedContactTable.h"

#include "Schema.h"
#include "host/LookupFile.h"

#include <QDateTime>

#include <algorithm>
#include <optional>

namespace valdora::host::embedded {

namespace {

constexpr FieldId CreateDate = 2;
constexpr FieldId EditDate = 3;

QString now()
{
    // Formatting a local time is costly and the text changes once a second: keep the last one.
    thread_local qint64 second = -1;
    thread_local QString text;
    const qint64 current = QDateTime::currentSecsSinceEpoch();
    if (current != second) {
        second = current;
        text = QDateTime::fromSecsSinceEpoch(current).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return text;
}

} // namespace

EmbeddedContactTable::EmbeddedContactTable(Connection& connection, EmbeddedFieldList& fields, Where where)
    : m_connection(connection), m_fields(fields), m_locks(connection.path(), where)
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

const QHash<FieldId, QString>& EmbeddedContactTable::currentValues(Where where) const
{
    if (m_valuesLoaded || m_current == 0)
        return m_values;
    m_values.clear();
    Statement read = m_connection.prepare("SELECT field, value FROM vals WHERE record = ?", where);
    read.bind(1, m_current);
    while (read.step(where))
        m_values.insert(FieldId(read.integer(0)), read.text(1));
    m_valuesLoaded = true;
    return m_values;
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
    resolve(false, where);
    if (m_current == 0)
        throw HostFailure(
            HostError::NoDatabaseOpen,
            QStringLiteral("There is no current contact to edit in %1").arg(m_connection.path()), where);
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

void EmbeddedContactTable::SetDataEx(const QList<FieldId>& ids, const QStringList& values, Where where)
{
    if (ids.size() != values.size())
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("SetDataEx was given %1 field ids and %2 values")
                              .arg(ids.size())
                              .arg(values.size()),
                          where);
    resolve(false, where);
    if (m_current == 0)
        throw HostFailure(
            HostError::NoDatabaseOpen,
            QStringLiteral("There is no current contact to write in %1").arg(m_connection.path()), where);
    for (const FieldId id : ids) {
        if (!m_fields.has(id))
            throw HostFailure(
                HostError::UnknownField,
                QStringLiteral("The contact database %1 has no field %2").arg(m_connection.path()).arg(id),
                where);
        if (id == FieldNumber::UniqueId)
            throw HostFailure(int(ErrorNumber::PermissionDenied),
                              QStringLiteral("Field 1 holds the contact's unique id and cannot be written"),
                              where);
    }
    for (qsizetype i = 0; i < ids.size(); ++i)
        m_staged.append({ids.at(i), values.at(i)});
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
    Statement write =
        m_connection.prepare("INSERT OR REPLACE INTO vals(record, field, value) VALUES(?, ?, ?)", where);
    write.bind(1, record).bind(2, field).bind(3, value);
    write.step(where);
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
    const QString edited = now();
    writeValue(m_current, EditDate, edited, where);
    transaction.commit(where);
    if (m_valuesLoaded) {
        for (const auto& [field, value] : m_staged) {
            if (value.isEmpty())
                m_values.remove(field);
            else
                m_values.insert(field, value);
        }
        m_values.insert(EditDate, edited);
    }
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

void EmbeddedContactTable::Query(const QString& filter, Where where)
{
    if (!filter.isEmpty())
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("Query supports only the empty filter (all contacts), not \"%1\"").arg(filter),
            where);
    struct Row {
        QString uid;
        QString company;
        QString contact;
        qint64 record;
    };
    QList<Row> rows;
    Statement read = m_connection.prepare(
        "SELECT c.uid, coalesce(a.value, ''), coalesce(b.value, ''), c.record FROM contacts c "
        "LEFT JOIN vals a ON a.record = c.record AND a.field = 25 "
        "LEFT JOIN vals b ON b.record = c.record AND b.field = 26",
        where);
    while (read.step(where))
        rows.append(Row{read.text(0), read.text(1), read.text(2), read.integer(3)});
    std::sort(rows.begin(), rows.end(), [](const Row& left, const Row& right) {
        if (const int c = left.company.compare(right.company, Qt::CaseInsensitive))
            return c < 0;
        if (const int c = left.contact.compare(right.contact, Qt::CaseInsensitive))
            return c < 0;
        return left.uid < right.uid;
    });
    m_selection.clear();
    m_selection.reserve(rows.size());
    m_selectionRecords.clear();
    m_selectionRecords.reserve(rows.size());
    for (const Row& row : rows) {
        m_selection.append(row.uid);
        m_selectionRecords.append(row.record);
    }
    m_position = 0;
}

void EmbeddedContactTable::LoadLookUpQuery(const QString& file, Where where)
{
    const QList<ContactId> ids = readLookupFile(file, where);
    QStringList selection;
    QList<qint64> records;
    for (const QString& id : ids) {
        // Contacts deleted since the lookup was saved are left out.
        if (const qint64 record = recordOf(id, where); record != 0) {
            selection.append(id);
            records.append(record);
        }
    }
    m_selection = selection;
    m_selectionRecords = records;
    m_position = 0;
}

void EmbeddedContactTable::MoveFirst(Where)
{
    m_position = 0;
    if (!m_selection.isEmpty())
        moveTo(m_selection.first(), m_selectionRecords.first());
}

void EmbeddedContactTable::MoveNext(Where)
{
    if (m_position < m_selection.size())
        ++m_position;
    if (m_position < m_selection.size())
        moveTo(m_selection.at(m_position), m_selectionRecords.at(m_position));
}

bool EmbeddedContactTable::isEOF(Where) const
{
    return m_position >= m_selection.size();
}

QString EmbeddedContactTable::addContact(const QHash<FieldId, QString>& values, Where where)
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        if (!m_fields.has(it.key()) || it.key() == FieldNumber::UniqueId)
            throw HostFailure(
                HostError::UnknownField,
                QStringLiteral("Field %1 cannot be written in %2").arg(it.key()).arg(m_connection.path()),
                where);
    Transaction transaction(m_connection, where);
    const QString uid = nextUniqueId(m_connection, where);
    qint64 record = 0;
    {
        Statement insert =
            m_connection.prepare("INSERT INTO contacts(uid) VALUES(?) RETURNING record", where);
        insert.bind(1, uid);
        if (insert.step(where))
            record = insert.integer(0);
        while (insert.step(where)) {
        }
    }
    const QString created = now();
    writeValue(record, CreateDate, created, where);
    writeValue(record, EditDate, created, where);
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        writeValue(record, it.key(), it.value(), where);
    transaction.commit(where);
    return uid;
}

int EmbeddedContactTable::importRecords(const QList<FieldId>& columns, const QList<QStringList>& rows,
                                        Where where)
{
    const qsizetype idColumn = columns.indexOf(FieldNumber::UniqueId);
    const bool hasEditDate = columns.contains(EditDate);
    const bool hasCreateDate = columns.contains(CreateDate);
    const QString stamp = now();
    Transaction transaction(m_connection, where);
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QStringList& row = rows.at(r);
        const QString id = idColumn >= 0 ? row.at(idColumn) : QString();
        qint64 record = id.isEmpty() ? 0 : recordOf(id, where);
        const bool created = record == 0;
        if (record != 0 && m_locks.heldByOther(record))
            throw HostFailure(
                HostError::RecordLocked,
                QStringLiteral("Contact %1 is being edited by another program; nothing was imported").arg(id),
                where);
        if (created) {
            if (!id.isEmpty() && id.size() != 12)
                throw HostFailure(
                    int(ErrorNumber::InvalidProcedureCall),
                    QStringLiteral("Row %1: \"%2\" is not a 12-character unique id; nothing was imported")
                        .arg(r + 1)
                        .arg(id),
                    where);
            Statement insert =
                m_connection.prepare("INSERT INTO contacts(uid) VALUES(?) RETURNING record", where);
            insert.bind(1, id.isEmpty() ? nextUniqueId(m_connection, where) : id);
            if (insert.step(where))
                record = insert.integer(0);
            while (insert.step(where)) {
            }
        }
        for (qsizetype c = 0; c < columns.size(); ++c)
            if (c != idColumn)
                writeValue(record, columns.at(c), row.at(c), where);
        if (created && !hasCreateDate)
            writeValue(record, CreateDate, stamp, where);
        if (!hasEditDate)
            writeValue(record, EditDate, stamp, where);
    }
    transaction.commit(where);
    m_valuesLoaded = false;
    return int(rows.size());
}

bool EmbeddedContactTable::exists(const ContactId& id, Where where) const
{
    return recordOf(id, where) != 0;
}

bool EmbeddedContactTable::lockRecord(const ContactId& id, Where where)
{
    Goto(id, where);
    resolve(false, where);
    if (m_current == 0)
        throw HostFailure(
            HostError::NoDatabaseOpen,
            QStringLiteral("The contact database %1 has no contact %2").arg(m_connection.path(), id), where);
    Edit(where);
    return LockLevel(where) == 1;
}

} // namespace valdora::host::embedded
