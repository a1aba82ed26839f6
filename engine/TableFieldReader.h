#pragma once

#include "FieldReader.h"

#include "host/ContactTable.h"
#include "host/UserList.h"

namespace valdora::engine {

/// Valdora's reader: field names through the contact table's field list, values of the record that
/// `Goto` made current, a contact that `Data(1)` does not confirm is unreachable.
class TableFieldReader final : public FieldReader {
public:
    TableFieldReader(host::ContactTable& contacts, host::UserList& users)
        : m_contacts(contacts), m_users(users)
    {}

    bool makeCurrent(const host::ContactId& id, Where where = Where::current()) override;
    FieldRef resolve(const FieldChoice& field, const FieldKey& key, FieldUse use,
                     const QString& idDefault = QStringLiteral("-1"),
                     Where where = Where::current()) override;
    std::optional<QString> read(host::FieldId id, Where where = Where::current()) override;
    host::UserList* users() override { return &m_users; }
    bool translatesRecordManager() const override { return true; }

private:
    host::ContactTable& m_contacts;
    host::UserList& m_users;
};

} // namespace valdora::engine
