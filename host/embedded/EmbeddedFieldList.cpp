#include "EmbeddedFieldList.h"

#include "Schema.h"

#include <algorithm>

namespace valdora::host::embedded {

EmbeddedFieldList::EmbeddedFieldList(Connection& connection, Where where) : m_connection(connection)
{
    load(where);
}

void EmbeddedFieldList::load(Where where)
{
    m_fields.clear();
    Statement read = m_connection.prepare("SELECT id, name, type, decimals FROM fields", where);
    while (read.step(where))
        m_fields.insert(FieldId(read.integer(0)),
                        Field{read.text(1), qint16(read.integer(2)), qint16(read.integer(3))});
}

const EmbeddedFieldList::Field& EmbeddedFieldList::field(FieldId id, Where where) const
{
    const auto found = m_fields.constFind(id);
    if (found == m_fields.constEnd())
        throw HostFailure(
            HostError::UnknownField,
            QStringLiteral("The contact database %1 has no field %2").arg(m_connection.path()).arg(id),
            where);
    return *found;
}

qint16 EmbeddedFieldList::Count(Where) const
{
    return qint16(m_fields.size());
}

bool EmbeddedFieldList::Exists(const QString& name, Where where) const
{
    return FieldID(name, where) != -1;
}

FieldId EmbeddedFieldList::FieldID(const QString& name, Where) const
{
    if (name.isEmpty())
        return -1;
    for (auto it = m_fields.constBegin(); it != m_fields.constEnd(); ++it)
        if (it->name.compare(name, Qt::CaseInsensitive) == 0)
            return it.key();
    return -1;
}

FieldId EmbeddedFieldList::Id(qint16 number, Where) const
{
    return m_fields.contains(number) ? number : FieldId(-1);
}

qint16 EmbeddedFieldList::Type(FieldId id, Where) const
{
    const auto found = m_fields.constFind(id);
    return found == m_fields.constEnd() ? qint16(-1) : found->type;
}

qint16 EmbeddedFieldList::DecimalPlaces(FieldId id, Where) const
{
    const auto found = m_fields.constFind(id);
    return found == m_fields.constEnd() ? qint16(0) : found->decimals;
}

QString EmbeddedFieldList::Label(FieldId id, Where where) const
{
    return field(id, where).name;
}

QString EmbeddedFieldList::trigger(FieldId id, bool entry, Where where) const
{
    field(id, where);
    // Read from the file each time: another program may have changed the trigger since.
    Statement read = entry ? m_connection.prepare("SELECT entry_trigger FROM fields WHERE id = ?", where)
                           : m_connection.prepare("SELECT exit_trigger FROM fields WHERE id = ?", where);
    read.bind(1, id);
    return read.step(where) ? read.text(0) : QString();
}

void EmbeddedFieldList::setTrigger(FieldId id, bool entry, const QString& text, Where where)
{
    field(id, where);
    Statement write = entry ? m_connection.prepare("UPDATE fields SET entry_trigger = ? WHERE id = ?", where)
                            : m_connection.prepare("UPDATE fields SET exit_trigger = ? WHERE id = ?", where);
    write.bind(1, text).bind(2, id);
    write.step(where);
}

QString EmbeddedFieldList::EntryTrigger(FieldId id, Where where) const
{
    return trigger(id, true, where);
}

void EmbeddedFieldList::EntryTrigger(FieldId id, const QString& text, Where where)
{
    setTrigger(id, true, text, where);
}

QString EmbeddedFieldList::ExitTrigger(FieldId id, Where where) const
{
    return trigger(id, false, where);
}

void EmbeddedFieldList::ExitTrigger(FieldId id, const QString& text, Where where)
{
    setTrigger(id, false, text, where);
}

FieldId EmbeddedFieldList::addField(const QString& name, qint16 type, qint16 decimals, Where where)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed != name)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("A field name must not be empty nor start or end with blanks: \"%1\"").arg(name),
            where);
    bool numeric = false;
    trimmed.toInt(&numeric);
    if (numeric)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("A field name must not be a number: \"%1\"").arg(name), where);
    if (FieldID(trimmed) != -1)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("The contact database %1 already has a field named \"%2\"")
                              .arg(m_connection.path(), name),
                          where);
    if (type < 1 || decimals < 0 || decimals > 15)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("Field \"%1\": type %2 with %3 decimals is not a field type")
                              .arg(name)
                              .arg(type)
                              .arg(decimals),
                          where);
    Transaction transaction(m_connection, where);
    load(where); // another program may have added fields since this list was read
    int id = 7;
    while (m_fields.contains(FieldId(id)) || !isTargetFieldId(id))
        ++id;
    if (id > 32767)
        throw HostFailure(
            int(ErrorNumber::Overflow),
            QStringLiteral("The contact database %1 has no free field id").arg(m_connection.path()), where);
    Statement insert =
        m_connection.prepare("INSERT INTO fields(id, name, type, decimals) VALUES(?, ?, ?, ?)", where);
    insert.bind(1, id).bind(2, trimmed).bind(3, type).bind(4, decimals);
    insert.step(where);
    transaction.commit(where);
    m_fields.insert(FieldId(id), Field{trimmed, type, decimals});
    return FieldId(id);
}

QList<FieldId> EmbeddedFieldList::ids() const
{
    QList<FieldId> result = m_fields.keys();
    std::sort(result.begin(), result.end());
    return result;
}

FieldId EmbeddedFieldList::resolve(const QString& nameOrId, Where where) const
{
    bool numeric = false;
    const int number = nameOrId.toInt(&numeric);
    if (numeric && number >= 1 && number <= 32767 && m_fields.contains(FieldId(number)))
        return FieldId(number);
    const FieldId byName = FieldID(nameOrId);
    if (byName != -1)
        return byName;
    throw HostFailure(
        HostError::UnknownField,
        QStringLiteral("The contact database %1 has no field \"%2\"").arg(m_connection.path(), nameOrId),
        where);
}

} // namespace valdora::host::embedded
