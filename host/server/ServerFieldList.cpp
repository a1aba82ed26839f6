#include "ServerFieldList.h"

#include "host/StandardFields.h"

#include <algorithm>

namespace valdora::host::server {

ServerFieldList::ServerFieldList(ServerConnection& connection, Where where) : m_connection(connection)
{
    load(where);
}

void ServerFieldList::load(Where where)
{
    const ServerRows rows = m_connection.exec("SELECT id, name, type, decimals FROM fields", {}, where);
    m_fields.clear();
    for (int row = 0; row < rows.count(); ++row)
        m_fields.insert(FieldId(rows.integer(row, 0)),
                        Field{rows.text(row, 1), qint16(rows.integer(row, 2)), qint16(rows.integer(row, 3))});
}

const ServerFieldList::Field& ServerFieldList::field(FieldId id, Where where) const
{
    const auto found = m_fields.constFind(id);
    if (found == m_fields.constEnd())
        throw HostFailure(
            HostError::UnknownField,
            QStringLiteral("The contact database %1 has no field %2").arg(m_connection.location()).arg(id),
            where);
    return *found;
}

qint16 ServerFieldList::Count(Where) const
{
    return qint16(m_fields.size());
}

bool ServerFieldList::Exists(const QString& name, Where where) const
{
    return FieldID(name, where) != -1;
}

FieldId ServerFieldList::FieldID(const QString& name, Where) const
{
    if (name.isEmpty())
        return -1;
    for (auto it = m_fields.constBegin(); it != m_fields.constEnd(); ++it)
        if (it->name.compare(name, Qt::CaseInsensitive) == 0)
            return it.key();
    return -1;
}

FieldId ServerFieldList::Id(qint16 number, Where) const
{
    return m_fields.contains(number) ? number : FieldId(-1);
}

qint16 ServerFieldList::Type(FieldId id, Where) const
{
    const auto found = m_fields.constFind(id);
    return found == m_fields.constEnd() ? qint16(-1) : found->type;
}

qint16 ServerFieldList::DecimalPlaces(FieldId id, Where) const
{
    const auto found = m_fields.constFind(id);
    return found == m_fields.constEnd() ? qint16(0) : found->decimals;
}

QString ServerFieldList::Label(FieldId id, Where where) const
{
    return field(id, where).name;
}

QString ServerFieldList::EntryTrigger(FieldId id, Where where) const
{
    field(id, where);
    const ServerRows rows =
        m_connection.exec("SELECT entry_trigger FROM fields WHERE id = $1", {QByteArray::number(id)}, where);
    return rows.count() == 1 ? rows.text(0, 0) : QString();
}

void ServerFieldList::EntryTrigger(FieldId id, const QString& text, Where where)
{
    field(id, where);
    m_connection.exec("UPDATE fields SET entry_trigger = $1 WHERE id = $2",
                      {text.toUtf8(), QByteArray::number(id)}, where);
}

QString ServerFieldList::ExitTrigger(FieldId id, Where where) const
{
    field(id, where);
    const ServerRows rows =
        m_connection.exec("SELECT exit_trigger FROM fields WHERE id = $1", {QByteArray::number(id)}, where);
    return rows.count() == 1 ? rows.text(0, 0) : QString();
}

void ServerFieldList::ExitTrigger(FieldId id, const QString& text, Where where)
{
    field(id, where);
    m_connection.exec("UPDATE fields SET exit_trigger = $1 WHERE id = $2",
                      {text.toUtf8(), QByteArray::number(id)}, where);
}

FieldId ServerFieldList::addField(const QString& name, qint16 type, qint16 decimals, Where where)
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
    if (type < 1 || decimals < 0 || decimals > 15)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("Field \"%1\": type %2 with %3 decimals is not a field type")
                              .arg(name)
                              .arg(type)
                              .arg(decimals),
                          where);
    ServerTransaction transaction(m_connection, where);
    // Two workstations adding a field at once would pick the same id: one waits for the other.
    m_connection.run("LOCK TABLE fields IN SHARE ROW EXCLUSIVE MODE", where);
    load(where);
    if (FieldID(trimmed) != -1)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("The contact database %1 already has a field named \"%2\"")
                              .arg(m_connection.location(), name),
                          where);
    int id = 7;
    while (m_fields.contains(FieldId(id)) || !isTargetFieldId(id))
        ++id;
    if (id > 32767)
        throw HostFailure(
            int(ErrorNumber::Overflow),
            QStringLiteral("The contact database %1 has no free field id").arg(m_connection.location()),
            where);
    m_connection.exec(
        "INSERT INTO fields(id, name, type, decimals) VALUES($1, $2, $3, $4)",
        {QByteArray::number(id), trimmed.toUtf8(), QByteArray::number(type), QByteArray::number(decimals)},
        where);
    transaction.commit(where);
    m_fields.insert(FieldId(id), Field{trimmed, type, decimals});
    return FieldId(id);
}

QList<FieldId> ServerFieldList::ids() const
{
    QList<FieldId> result = m_fields.keys();
    std::sort(result.begin(), result.end());
    return result;
}

FieldId ServerFieldList::resolve(const QString& nameOrId, Where where) const
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
        QStringLiteral("The contact database %1 has no field \"%2\"").arg(m_connection.location(), nameOrId),
        where);
}

} // namespace valdora::host::server
