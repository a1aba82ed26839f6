#include "ServerUserList.h"

#include "ServerSchema.h"

namespace valdora::host::server {

ServerUserList::ServerUserList(ServerConnection& connection, Where where)
    : CachedUserList(connection.location()), m_connection(connection)
{
    reload(where);
}

QList<ServerUserList::User> ServerUserList::readUsers(Where where) const
{
    const ServerRows rows =
        m_connection.exec("SELECT uid, name, salt, hash FROM users ORDER BY ordinal", {}, where);
    QList<User> users;
    for (int row = 0; row < rows.count(); ++row)
        users.append(User{rows.text(row, 0), rows.text(row, 1), rows.text(row, 2), rows.text(row, 3)});
    return users;
}

QString ServerUserList::storeUser(const QString& name, const QString& salt, const QString& hash, Where where)
{
    ServerTransaction transaction(m_connection, where);
    m_connection.run("LOCK TABLE users IN SHARE ROW EXCLUSIVE MODE", where);
    reload(where); // another workstation may have added users since this list was read
    refuseTakenName(name, where);
    const QString uid = nextServerUniqueId(m_connection, where);
    m_connection.exec("INSERT INTO users(uid, name, salt, hash, ordinal) "
                      "VALUES($1, $2, $3, $4, (SELECT coalesce(max(ordinal), 0) + 1 FROM users))",
                      {uid.toUtf8(), name.toUtf8(), salt.toUtf8(), hash.toUtf8()}, where);
    transaction.commit(where);
    return uid;
}

} // namespace valdora::host::server
