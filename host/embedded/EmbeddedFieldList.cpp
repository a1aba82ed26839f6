#include "EmbeddedFieldList.h"

namespace valdora::host::embedded {

EmbeddedFieldList::EmbeddedFieldList(Connection& connection, Where where)
    : CachedFieldList(connection.path()), m_connection(connection)
{
    reload(where);
}

EmbeddedFieldList::Fields EmbeddedFieldList::readFields(Where where) const
{
    Fields fields;
    Statement read = m_connection.prepare("SELECT id, name, type, decimals FROM fields", where);
    while (read.step(where))
        fields.insert(FieldId(read.integer(0)),
                      Field{read.text(1), qint16(read.integer(2)), qint16(read.integer(3))});
    return fields;
}

QString EmbeddedFieldList::readTrigger(FieldId id, Trigger trigger, Where where) const
{
    Statement read = trigger == Trigger::Entry
                         ? m_connection.prepare("SELECT entry_trigger FROM fields WHERE id = ?", where)
                         : m_connection.prepare("SELECT exit_trigger FROM fields WHERE id = ?", where);
    read.bind(1, id);
    return read.step(where) ? read.text(0) : QString();
}

void EmbeddedFieldList::writeTrigger(FieldId id, Trigger trigger, const QString& text, Where where)
{
    Statement write = trigger == Trigger::Entry
                          ? m_connection.prepare("UPDATE fields SET entry_trigger = ? WHERE id = ?", where)
                          : m_connection.prepare("UPDATE fields SET exit_trigger = ? WHERE id = ?", where);
    write.bind(1, text).bind(2, id);
    write.step(where);
}

FieldId EmbeddedFieldList::storeField(const QString& name, qint16 type, qint16 decimals, Where where)
{
    Transaction transaction(m_connection, where);
    reload(where); // another program may have added fields since this list was read
    const FieldId id = freeId(name, where);
    Statement insert =
        m_connection.prepare("INSERT INTO fields(id, name, type, decimals) VALUES(?, ?, ?, ?)", where);
    insert.bind(1, id).bind(2, name).bind(3, type).bind(4, decimals);
    insert.step(where);
    transaction.commit(where);
    return id;
}

} // namespace valdora::host::embedded
