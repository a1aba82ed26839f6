#pragma once

#include "FieldReader.h"

#include "host/ContactView.h"
#include "host/UserList.h"

namespace valdora::engine {

/// ValdoraAuto's reader: the contact on screen through the contact view, field ids and types from the
/// "<key>ID" and "<key>Type" keys of the button file. A user list is optional (without one, user-type
/// fields are read as they are stored).
class ViewFieldReader final : public FieldReader {
public:
    explicit ViewFieldReader(host::ContactView& view, host::UserList* users = nullptr)
        : m_view(view), m_users(users)
    {}

    bool makeCurrent(const host::ContactId&, Where = Where::current()) override { return true; }
    FieldRef resolve(const FieldChoice& field, const FieldKey& key, FieldUse use,
                     const QString& idDefault = QStringLiteral("-1"),
                     Where where = Where::current()) override;
    std::optional<QString> read(host::FieldId id, Where where = Where::current()) override;
    host::UserList* users() override { return m_users; }
    bool translatesRecordManager() const override { return false; }

private:
    host::ContactView& m_view;
    host::UserList* m_users;
};

} // namespace valdora::engine
