#include "EmbeddedUserList.h"

#include "Schema.h"

namespace valdora::host::embedded {

EmbeddedUserList::EmbeddedUserList(Connection& connection, Where where)
    : CachedUserList(connection.path()), m_connection(connection)
{
    reload(where);
}

QList<EmbeddedUserList::User> EmbeddedUserList::readUsers(Where where) const
{
    QList<User> users;
    Statement read = m_connection.prepare("SELECT uid, name, salt, hash FROM users ORDER BY ordinal", where);
    while (read.step(where))
        users.append(User{read.text(0), read.text(1), read.text(2), read.text(3)});
    return users;
}

QString EmbeddedUserList::storeUser(const QString& name, const QString& salt, const QString& hash,
                                    Where where)
{
    Transaction transaction(m_connection, where);
    reload(where); // another program may have added users since this list was read
    refuseTakenName(name, where);
    const QString uid = nextUniqueId(m_connection, where);
    Statement insert =
        m_connection.prepare("INSERT INTO users(uid, name, salt, hash, ordinal) "
                             "VALUES(?, ?, ?, ?, (SELECT coalesce(max(ordinal), 0) + 1 FROM users))",
                             where);
    insert.bind(1, uid).bind(2, name).bind(3, salt).bind(4, hash);
    insert.step(where);
    transaction.commit(where);
    return uid;
}

} // namespace valdora::host::embedded
