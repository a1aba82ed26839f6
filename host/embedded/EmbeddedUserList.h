#pragma once

#include "Connection.h"
#include "host/common/CachedUserList.h"

namespace valdora::host::embedded {

/// The users of one database file.
class EmbeddedUserList final : public CachedUserList {
public:
    explicit EmbeddedUserList(Connection& connection, Where where = Where::current());

private:
    QList<User> readUsers(Where where) const override;
    QString storeUser(const QString& name, const QString& salt, const QString& hash, Where where) override;

    Connection& m_connection;
};

} // namespace valdora::host::embedded
