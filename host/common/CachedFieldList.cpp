#include "CachedFieldList.h"

#include "host/StandardFields.h"

#include <algorithm>

namespace valdora::host {

CachedFieldList::CachedFieldList(QString location) : m_location(std::move(location)) {}

const CachedFieldList::Field& CachedFieldList::field(FieldId id, Where where) const
{
    const auto found = m_fields.constFind(id);
    if (found == m_fields.constEnd())
        throw HostFailure(HostError::UnknownField,
                          QStringLiteral("The contact database %1 has no field %2").arg(m_location).arg(id),
                          where);
    return *found;
}

qint16 CachedFieldList::Count(Where) const
{
    return qint16(m_fields.size());
}

bool CachedFieldList::Exists(const QString& name, Where where) const
{
    return FieldID(name, where) != -1;
}

FieldId CachedFieldList::FieldID(const QString& name, Where) const
{
    if (name.isEmpty())
        return -1;
    for (auto it = m_fields.constBegin(); it != m_fields.constEnd(); ++it)
        if (it->name.compare(name, Qt::CaseInsensitive) == 0)
            return it.key();
    return -1;
}

FieldId CachedFieldList::Id(qint16 number, Where) const
{
    return m_fields.contains(number) ? number : FieldId(-1);
}

qint16 CachedFieldList::Type(FieldId id, Where) const
{
    const auto found = m_fields.constFind(id);
    return found == m_fields.constEnd() ? qint16(-1) : found->type;
}

qint16 CachedFieldList::DecimalPlaces(FieldId id, Where) const
{
    const auto found = m_fields.constFind(id);
    return found == m_fields.constEnd() ? qint16(0) : found->decimals;
}

QString CachedFieldList::Label(FieldId id, Where where) const
{
    return field(id, where).name;
}

QString CachedFieldList::EntryTrigger(FieldId id, Where where) const
{
    field(id, where);
    return readTrigger(id, Trigger::Entry, where);
}

void CachedFieldList::EntryTrigger(FieldId id, const QString& text, Where where)
{
    field(id, where);
    writeTrigger(id, Trigger::Entry, text, where);
}

QString CachedFieldList::ExitTrigger(FieldId id, Where where) const
{
    field(id, where);
    return readTrigger(id, Trigger::Exit, where);
}

void CachedFieldList::ExitTrigger(FieldId id, const QString& text, Where where)
{
    field(id, where);
    writeTrigger(id, Trigger::Exit, text, where);
}

FieldId CachedFieldList::addField(const QString& name, qint16 type, qint16 decimals, Where where)
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
    // Refused at once when the list read already has the name; the write looks again.
    freeId(trimmed, where);
    if (type < 1 || decimals < 0 || decimals > 15)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("Field \"%1\": type %2 with %3 decimals is not a field type")
                              .arg(name)
                              .arg(type)
                              .arg(decimals),
                          where);
    const FieldId id = storeField(trimmed, type, decimals, where);
    m_fields.insert(id, Field{trimmed, type, decimals});
    return id;
}

FieldId CachedFieldList::freeId(const QString& name, Where where) const
{
    if (FieldID(name) != -1)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("The contact database %1 already has a field named \"%2\"").arg(m_location, name),
            where);
    int id = 7;
    while (m_fields.contains(FieldId(id)) || !isTargetFieldId(id))
        ++id;
    if (id > 32767)
        throw HostFailure(int(ErrorNumber::Overflow),
                          QStringLiteral("The contact database %1 has no free field id").arg(m_location),
                          where);
    return FieldId(id);
}

QList<FieldId> CachedFieldList::ids() const
{
    QList<FieldId> result = m_fields.keys();
    std::sort(result.begin(), result.end());
    return result;
}

FieldId CachedFieldList::resolve(const QString& nameOrId, Where where) const
{
    bool numeric = false;
    const int number = nameOrId.toInt(&numeric);
    if (numeric && number >= 1 && number <= 32767 && m_fields.contains(FieldId(number)))
        return FieldId(number);
    const FieldId byName = FieldID(nameOrId);
    if (byName != -1)
        return byName;
    throw HostFailure(HostError::UnknownField,
                      QStringLiteral("The contact database %1 has no field \"%2\"").arg(m_location, nameOrId),
                      where);
}

} // namespace valdora::host
