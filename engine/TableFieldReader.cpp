#include "TableFieldReader.h"

namespace valdora::engine {

bool TableFieldReader::makeCurrent(const host::ContactId& id, Where where)
{
    m_contacts.Goto(id, where);
    return m_contacts.Data(host::FieldNumber::UniqueId, where) == id;
}

FieldRef TableFieldReader::resolve(const FieldChoice& field, const FieldKey&, FieldUse use, const QString&,
                                   Where where)
{
    const QString& name = field.name;
    const host::FieldList& fields = m_contacts.Fields();
    if (name.isEmpty())
        return {use == FieldUse::Required ? FieldRefState::Missing : FieldRefState::Unnamed, -1, -1};
    if (!fields.Exists(name, where))
        return {FieldRefState::Missing, -1, -1};
    const host::FieldId id = fields.FieldID(name, where);
    return {FieldRefState::Found, id, fields.Type(id, where)};
}

std::optional<QString> TableFieldReader::read(host::FieldId id, Where where)
{
    // Ids up to 0 name no field of a record; the host is not asked.
    if (id <= 0)
        return QString();
    return m_contacts.Data(id, where);
}

} // namespace valdora::engine
