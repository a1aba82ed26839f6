#include "ServerContactTable.h"

#include "ServerSchema.h"
#include "host/UniqueIds.h"
#include "host/common/DateStamp.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace valdora::host::server {

namespace {

QByteArray number(qint64 value)
{
    return QByteArray::number(value);
}

/// The fields and values of a write, the last value of a field staged twice winning, as it would
/// when they were written one after the other.
struct WriteList {
    QList<qint64> fields;
    QStringList values;

    void set(FieldId field, const QString& value)
    {
        const qsizetype at = fields.indexOf(field);
        if (at >= 0) {
            values[at] = value;
        } else {
            fields.append(field);
            values.append(value);
        }
    }
};

// One statement writes a record: blank values remove the field's row, the others are put in, and
// the hosts that listen hear of it when it commits. A record deleted meanwhile gives 0 and nothing
// is written.
constexpr char WriteRecord[] =
    "WITH target AS (SELECT record, uid FROM contacts WHERE record = $1),"
    " input AS (SELECT f, v FROM unnest($2::integer[], $3::text[]) AS u(f, v)),"
    " gone AS (DELETE FROM vals USING target, input WHERE vals.record = target.record"
    "  AND vals.field = input.f AND input.v = ''),"
    " put AS (INSERT INTO vals(record, field, value) SELECT target.record, input.f, input.v"
    "  FROM target, input WHERE input.v <> ''"
    "  ON CONFLICT (record, field) DO UPDATE SET value = EXCLUDED.value)"
    " SELECT count(*) FROM target, pg_notify('valdora_contacts', target.uid)";
static_assert(std::string_view(WriteRecord).find(ChangeChannel) != std::string_view::npos,
              "a write is announced on the change channel");

constexpr char TryLock[] = "SELECT pg_try_advisory_lock($1::integer, $2::integer)";
// Taking the lock and giving it back at once, in one statement, costs less than asking the server's
// lock table who holds it, and leaves no lock behind (a preview asks without editing): true when
// another connection holds it.
constexpr char ProbeLock[] = "SELECT CASE WHEN pg_try_advisory_lock($1::integer, $2::integer)"
                             " THEN NOT pg_advisory_unlock($1::integer, $2::integer) ELSE true END";
/// How long a probe of the next record, made with the write before it, answers isLocked: about the
/// time a run takes from one contact to the next. Its answer is no staler than the server's answer
/// to a question of its own would be by the time Edit asks for the lock, which is what decides.
constexpr std::chrono::milliseconds ProbeFreshFor{100};
constexpr char Unlock[] = "SELECT pg_advisory_unlock($1::integer, $2::integer)";
constexpr char ReadValues[] = "SELECT field, value FROM vals WHERE record = $1";

QHash<FieldId, QString> valuesOf(const ServerRows& rows)
{
    QHash<FieldId, QString> values;
    for (int row = 0; row < rows.count(); ++row)
        values.insert(FieldId(rows.integer(row, 0)), rows.text(row, 1));
    return values;
}

} // namespace

ServerContactTable::ServerContactTable(ServerConnection& connection, ServerFieldList& fields)
    : CachedContactTable(connection.location(), fields), m_connection(connection)
{}

ServerContactTable::~ServerContactTable()
{
    releaseLock();
}

qint64 ServerContactTable::recordOf(const ContactId& id, Where where) const
{
    // A contact's record never changes and is never given to another contact: once known, it is
    // not asked for again. A contact deleted since reads empty and its write fails, as after a
    // Goto to an id that names none.
    if (const auto known = m_knownRecords.constFind(id); known != m_knownRecords.constEnd())
        return *known;
    const ServerRows rows =
        m_connection.exec("SELECT record FROM contacts WHERE uid = $1", {id.toUtf8()}, where);
    const qint64 record = rows.count() == 1 ? rows.integer(0, 0) : 0;
    if (record != 0)
        m_knownRecords.insert(id, record);
    return record;
}

bool ServerContactTable::tryLock(qint64 record, Where where) const
{
    const ServerRows rows = m_connection.exec(TryLock, {number(RecordLockSpace), number(record)}, where);
    return rows.text(0, 0) == QLatin1String("t");
}

void ServerContactTable::unlock(qint64 record) const
{
    if (m_connection.isBroken())
        return; // the server released the locks of the lost connection
    try {
        m_connection.exec(Unlock, {number(RecordLockSpace), number(record)});
    } catch (const HostFailure&) {
        // A connection lost now takes its locks with it.
    }
}

bool ServerContactTable::waitForLock(qint64 record, Where where) const
{
    // The connection's lock_timeout ends the wait (ServerConnection sets it).
    try {
        m_connection.exec("SELECT pg_advisory_lock($1::integer, $2::integer)",
                          {number(RecordLockSpace), number(record)}, where);
        return true;
    } catch (const HostFailure& failure) {
        if (failure.number() != HostError::RecordLocked)
            throw;
        return false;
    }
}

bool ServerContactTable::heldByOther(qint64 record, Where where) const
{
    const ServerRows rows =
        m_connection.exec("SELECT EXISTS(SELECT 1 FROM pg_locks WHERE locktype = 'advisory'"
                          " AND database = (SELECT oid FROM pg_database WHERE datname = current_database())"
                          " AND classid = $1::integer::oid AND objid = $2::integer::oid AND objsubid = 2"
                          " AND pid <> pg_backend_pid())",
                          {number(RecordLockSpace), number(record)}, where);
    return rows.text(0, 0) == QLatin1String("t");
}

void ServerContactTable::releaseLock()
{
    if (m_locked != 0 && m_lockGeneration == m_connection.generation())
        unlock(m_locked);
    m_locked = 0;
}

QHash<FieldId, QString> ServerContactTable::readValues(qint64 record, Where where) const
{
    return valuesOf(m_connection.exec(ReadValues, {number(record)}, where));
}

void ServerContactTable::Goto(const ContactId& id, Where where)
{
    const qint64 record = recordOf(id, where);
    // While this object holds the record's lock no other workstation writes it, so what was read
    // under the lock is still what the record holds: going to it again (a run does, for each contact
    // it reaches after taking the lock) does not read it again.
    if (record != 0 && record == m_current && m_valuesLoaded && m_locked == m_current &&
        m_lockGeneration == m_connection.generation())
        return;
    if (record != m_current || record == 0) {
        m_askedLock = false;
        const qsizetype next = m_walk + 1;
        if (record != 0 && next > 0 && next < m_selectionRecords.size() &&
            m_selectionRecords.at(next) == record)
            m_walk = next;
        else if (record != 0 && !m_selectionRecords.isEmpty() && m_selectionRecords.first() == record)
            m_walk = 0;
        else
            m_walk = -1;
    }
    moveTo(id, record);
}

QString ServerContactTable::Data(FieldId id, Where where) const
{
    if (m_current == 0)
        return {};
    if (id == FieldNumber::UniqueId)
        return m_currentId;
    return currentValues(where).value(id);
}

bool ServerContactTable::isLocked(Where where) const
{
    if (m_current == 0 || (m_locked == m_current && m_lockGeneration == m_connection.generation()))
        return false;
    m_askedLock = true;
    const LockProbe asked = std::exchange(m_probe, LockProbe{});
    // A record found held when it was probed is asked again: the holder may have been a write of a
    // few milliseconds, which is waited for below.
    if (asked.record == m_current && asked.free && asked.generation == m_connection.generation() &&
        std::chrono::steady_clock::now() - asked.when < ProbeFreshFor)
        return false;
    const ServerRows probe =
        m_connection.exec(ProbeLock, {number(RecordLockSpace), number(m_current)}, where);
    if (probe.text(0, 0) != QLatin1String("t"))
        return false;
    // Another workstation's write holds a record for a few milliseconds: a record it holds longer
    // is being edited there.
    if (!waitForLock(m_current, where))
        return true;
    unlock(m_current);
    return false;
}

void ServerContactTable::Edit(Where where)
{
    requireCurrent("edit", where);
    if (m_locked == m_current && m_lockGeneration == m_connection.generation())
        return;
    releaseLock();
    // The lock and the record's values in one round trip. The values are read by a statement of
    // their own, after the lock was taken, so they hold what another workstation wrote before it
    // let go; they are what is edited, now that no other workstation can write the record.
    const std::vector<ServerOutcome> outcomes = m_connection.execTogether(
        {{TryLock, {number(RecordLockSpace), number(m_current)}}, {ReadValues, {number(m_current)}}}, where);
    if (outcomes[0].failure)
        throw *outcomes[0].failure;
    if (outcomes[0].rows->text(0, 0) == QLatin1String("t")) {
        m_locked = m_current;
        m_lockGeneration = m_connection.generation();
        m_valuesLoaded = outcomes[1].rows.has_value();
        if (m_valuesLoaded)
            m_values = valuesOf(*outcomes[1].rows);
        return;
    }
    if (waitForLock(m_current, where)) {
        m_locked = m_current;
        m_lockGeneration = m_connection.generation();
        m_valuesLoaded = false;
    }
}

int ServerContactTable::LockLevel(Where) const
{
    return m_current != 0 && m_locked == m_current && m_lockGeneration == m_connection.generation() ? 1 : 0;
}

void ServerContactTable::writeValues(qint64 record, const QList<FieldId>& fields, const QStringList& values,
                                     Where where)
{
    WriteList list;
    for (qsizetype i = 0; i < fields.size(); ++i)
        list.set(fields.at(i), values.at(i));
    m_connection.exec(WriteRecord, {number(record), integerArray(list.fields), textArray(list.values)},
                      where);
}

bool ServerContactTable::commitStaged(Where where)
{
    WriteList list;
    for (const auto& [field, value] : m_staged)
        list.set(field, value);
    const QString edited = currentStamp();
    list.set(EditDate, edited);
    // The write and the lock's release in one round trip: the release runs once the write has
    // committed (a transaction of its own), so no other workstation reads the record before it.
    std::vector<ServerStatement> statements{
        {WriteRecord, {number(m_current), integerArray(list.fields), textArray(list.values)}},
        {Unlock, {number(RecordLockSpace), number(m_current)}}};
    // A caller that asks isLocked before each write and walks the selection in order (a run) will
    // ask it of the next record at once: the question goes along with this write.
    const qint64 next = m_askedLock ? nextInWalk() : 0;
    if (next != 0)
        statements.push_back({ProbeLock, {number(RecordLockSpace), number(next)}});
    const std::vector<ServerOutcome> outcomes = m_connection.execTogether(statements, where);
    if (next != 0 && outcomes[2].rows)
        m_probe =
            LockProbe{next, m_connection.generation(), outcomes[2].rows->text(0, 0) == QLatin1String("f"),
                      std::chrono::steady_clock::now()};
    const qint64 released = std::exchange(m_locked, 0);
    if (outcomes[1].failure)
        unlock(released); // not let go after all (a lost connection took the lock with it)
    if (outcomes[0].failure)
        throw *outcomes[0].failure;
    if (outcomes[0].rows->integer(0, 0) == 0)
        return false; // deleted by another workstation meanwhile
    for (qsizetype i = 0; i < list.fields.size(); ++i)
        keepWritten(FieldId(list.fields.at(i)), list.values.at(i));
    return true;
}

QString ServerContactTable::Update(Where where)
{
    m_lastWriteFailure.clear();
    if (m_current == 0)
        return {};
    bool written = false;
    std::optional<HostFailure> refused;
    try {
        m_connection.ensureOpen(where);
        const bool lockedBefore = m_locked == m_current;
        const bool lockedHere = lockedBefore && m_lockGeneration == m_connection.generation();
        if (lockedBefore && !lockedHere) {
            // The connection that held the lock was lost, and the lock with it: another workstation
            // may have written the record since, so what was staged on the old reading is not written.
            m_lastWriteFailure =
                QStringLiteral(
                    "The connection to the contact database server of %1 was lost while contact %2 "
                    "was being edited; it was not written")
                    .arg(m_connection.location(), m_currentId);
            m_locked = 0;
        } else if (lockedHere || tryLock(m_current, where)) {
            m_locked = m_current;
            m_lockGeneration = m_connection.generation();
            written = commitStaged(where);
        }
    } catch (const HostFailure& failure) {
        written = false;
        if (failure.number() == HostError::WriteRefused)
            refused = failure;
        else if (failure.number() != HostError::RecordLocked)
            m_lastWriteFailure = failure.description();
    }
    m_staged.clear();
    releaseLock();
    if (refused)
        throw *refused;
    return written ? m_currentId : QString();
}

int ServerContactTable::addContacts(int count, const ContactSource& contact, Where where)
{
    ServerTransaction transaction(m_connection, where);
    constexpr int Batch = 5000;
    for (int start = 0; start < count; start += Batch) {
        const int end = std::min(count, start + Batch);
        const ServerRows ids = m_connection.exec(
            "SELECT (SELECT value FROM meta WHERE key = 'id_prefix'), nextval('unique_serial') - 1 "
            "FROM generate_series(1, $1::integer)",
            {number(end - start)}, where);
        QStringList uids;
        for (int row = 0; row < ids.count(); ++row)
            uids.append(ids.text(row, 0) + base36(quint64(ids.integer(row, 1)), 8));
        const ServerRows inserted =
            m_connection.exec("INSERT INTO contacts(uid) SELECT unnest($1::text[]) RETURNING uid, record",
                              {textArray(uids)}, where);
        QHash<QString, qint64> records;
        for (int row = 0; row < inserted.count(); ++row)
            records.insert(inserted.text(row, 0), inserted.integer(row, 1));
        QList<qint64> rowRecords;
        QList<qint64> rowFields;
        QStringList rowValues;
        for (int i = start; i < end; ++i) {
            const qint64 record = records.value(uids.at(i - start));
            const QHash<FieldId, QString> values = contact(i);
            for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
                if (it.value().isEmpty())
                    continue;
                rowRecords.append(record);
                rowFields.append(it.key());
                rowValues.append(it.value());
            }
        }
        m_connection.exec("INSERT INTO vals(record, field, value) "
                          "SELECT * FROM unnest($1::bigint[], $2::integer[], $3::text[])",
                          {integerArray(rowRecords), integerArray(rowFields), textArray(rowValues)}, where);
    }
    transaction.commit(where);
    return count;
}

QList<ServerContactTable::ContactRow> ServerContactTable::readContacts(Where where) const
{
    const ServerRows read = m_connection.exec(AllContactsSql, {}, where);
    QList<ContactRow> rows;
    rows.reserve(read.count());
    for (int row = 0; row < read.count(); ++row)
        rows.append(
            ContactRow{read.text(row, 0), read.text(row, 1), read.text(row, 2), read.integer(row, 3)});
    return rows;
}

qint64 ServerContactTable::nextInWalk() const
{
    const qsizetype next = m_walk + 1;
    return m_walk >= 0 && next < m_selectionRecords.size() && m_selectionRecords.at(m_walk) == m_current
               ? m_selectionRecords.at(next)
               : 0;
}

void ServerContactTable::selectionMade()
{
    m_walk = -1;
    m_probe = LockProbe{};
    // A new selection renews what is known, so that what was seen before does not pile up.
    m_knownRecords.clear();
    for (qsizetype i = 0; i < m_selection.size(); ++i)
        m_knownRecords.insert(m_selection.at(i), m_selectionRecords.at(i));
}

QHash<ContactId, qint64> ServerContactTable::recordsOf(const QList<ContactId>& ids, Where where) const
{
    const ServerRows rows = m_connection.exec("SELECT uid, record FROM contacts WHERE uid = ANY($1::text[])",
                                              {textArray(ids)}, where);
    QHash<ContactId, qint64> records;
    for (int row = 0; row < rows.count(); ++row)
        records.insert(rows.text(row, 0), rows.integer(row, 1));
    return records;
}

void ServerContactTable::inTransaction(const std::function<void()>& work, Where where)
{
    ServerTransaction transaction(m_connection, where);
    work();
    transaction.commit(where);
}

QString ServerContactTable::newUniqueId(Where where)
{
    return nextServerUniqueId(m_connection, where);
}

qint64 ServerContactTable::insertContact(const ContactId& uid, Where where)
{
    return m_connection.exec("INSERT INTO contacts(uid) VALUES($1) RETURNING record", {uid.toUtf8()}, where)
        .integer(0, 0);
}

} // namespace valdora::host::server
