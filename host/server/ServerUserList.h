#pragma once

#include "ServerConnection.h"
#include "host/common/CachedUserList.h"

namespace valdora::host::server {

/// The users of a database on the server. A login reads them again, so that a password changed on
/// another workstation counts at once.
class ServerUserList final : public CachedUserList {
public:
    explicit ServerUserList(ServerConnection& connection, Where where = Where::current());

private:
    QList<User> readUsers(Where where) const override;
    QString storeUser(const QString& name, const QString& salt, const QString& hash, Where where) override;
    void refreshForLogin(Where where) override { reload(where); }

    ServerConnection& m_connection;
};

} // namespace valdora::host::server
