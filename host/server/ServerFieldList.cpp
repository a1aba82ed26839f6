#include "ServerFieldList.h"

namespace valdora::host::server {

ServerFieldList::ServerFieldList(ServerConnection& connection, Where where)
    : CachedFieldList(connection.location()), m_connection(connection)
{
    reload(where);
}

ServerFieldList::Fields ServerFieldList::readFields(Where where) const
{
    const ServerRows rows = m_connection.exec("SELECT id, name, type, decimals FROM fields", {}, where);
    Fields fields;
    for (int row = 0; row < rows.count(); ++row)
        fields.insert(FieldId(rows.integer(row, 0)),
                      Field{rows.text(row, 1), qint16(rows.integer(row, 2)), qint16(rows.integer(row, 3))});
    return fields;
}

QString ServerFieldList::readTrigger(FieldId id, Trigger trigger, Where where) const
{
    const ServerRows rows = trigger == Trigger::Entry
                                ? m_connection.exec("SELECT entry_trigger FROM fields WHERE id = $1",
                                                    {QByteArray::number(id)}, where)
                                : m_connection.exec("SELECT exit_trigger FROM fields WHERE id = $1",
                                                    {QByteArray::number(id)}, where);
    return rows.count() == 1 ? rows.text(0, 0) : QString();
}

void ServerFieldList::writeTrigger(FieldId id, Trigger trigger, const QString& text, Where where)
{
    const ServerParameters parameters = {text.toUtf8(), QByteArray::number(id)};
    if (trigger == Trigger::Entry)
        m_connection.exec("UPDATE fields SET entry_trigger = $1 WHERE id = $2", parameters, where);
    else
        m_connection.exec("UPDATE fields SET exit_trigger = $1 WHERE id = $2", parameters, where);
}

FieldId ServerFieldList::storeField(const QString& name, qint16 type, qint16 decimals, Where where)
{
    ServerTransaction transaction(m_connection, where);
    // Two workstations adding a field at once would pick the same id: one waits for the other.
    m_connection.run("LOCK TABLE fields IN SHARE ROW EXCLUSIVE MODE", where);
    reload(where);
    const FieldId id = freeId(name, where);
    m_connection.exec(
        "INSERT INTO fields(id, name, type, decimals) VALUES($1, $2, $3, $4)",
        {QByteArray::number(id), name.toUtf8(), QByteArray::number(type), QByteArray::number(decimals)},
        where);
    transaction.commit(where);
    return id;
}

} // namespace valdora::host::server
