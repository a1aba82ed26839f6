#include "ServerUserList.h"

#include "ServerSchema.h"
#include "host/UserPasswords.h"

namespace valdora::host::server {

ServerUserList::ServerUserList(ServerConnection& connection, Where where) : m_connection(connection)
{
    load(where);
}

void ServerUserList::load(Where where)
{
    const ServerRows rows =
        m_connection.exec("SELECT uid, name, salt, hash FROM users ORDER BY ordinal", {}, where);
    m_users.clear();
    for (int row = 0; row < rows.count(); ++row)
        m_users.append(User{rows.text(row, 0), rows.text(row, 1), rows.text(row, 2), rows.text(row, 3)});
}

const ServerUserList::User& ServerUserList::user(qint16 index, Where where) const
{
    if (index < 1 || index > m_users.size())
        throw HostFailure(int(ErrorNumber::SubscriptOutOfRange),
                          QStringLiteral("The contact database %1 has %2 users; there is no user %3")
                              .arg(m_connection.location())
                              .arg(m_users.size())
                              .arg(index),
                          where);
    return m_users.at(index - 1);
}

qint16 ServerUserList::Count(Where) const
{
    return qint16(m_users.size());
}

QString ServerUserList::UniqueID(qint16 index, Where where) const
{
    return user(index, where).uid;
}

QString ServerUserList::Name(qint16 index, Where where) const
{
    return user(index, where).name;
}

QString ServerUserList::addUser(const QString& name, const QString& password, Where where)
{
    if (name.trimmed().isEmpty() || name.trimmed() != name)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("A user name must not be empty nor start or end with blanks: \"%1\"").arg(name),
            where);
    ServerTransaction transaction(m_connection, where);
    m_connection.run("LOCK TABLE users IN SHARE ROW EXCLUSIVE MODE", where);
    load(where); // another workstation may have added users since this list was read
    if (!storedName(name).isEmpty())
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("The contact database %1 already has a user named \"%2\"")
                              .arg(m_connection.location(), name),
                          where);
    const QString uid = nextServerUniqueId(m_connection, where);
    const QString salt = password.isEmpty() ? QString() : newPasswordSalt();
    const QString hash = password.isEmpty() ? QString() : passwordHash(salt, password);
    m_connection.exec("INSERT INTO users(uid, name, salt, hash, ordinal) "
                      "VALUES($1, $2, $3, $4, (SELECT coalesce(max(ordinal), 0) + 1 FROM users))",
                      {uid.toUtf8(), name.toUtf8(), salt.toUtf8(), hash.toUtf8()}, where);
    transaction.commit(where);
    m_users.append(User{uid, name, salt, hash});
    return uid;
}

bool ServerUserList::matches(const QString& name, const QString& password, Where where)
{
    load(where); // a password changed on another workstation counts at once
    for (const User& user : m_users) {
        if (user.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (user.hash.isEmpty())
            return password.isEmpty();
        return passwordHash(user.salt, password) == user.hash;
    }
    return false;
}

bool ServerUserList::anyPassword() const
{
    for (const User& user : m_users)
        if (!user.hash.isEmpty())
            return true;
    return false;
}

QString ServerUserList::storedName(const QString& name) const
{
    for (const User& user : m_users)
        if (user.name.compare(name, Qt::CaseInsensitive) == 0)
            return user.name;
    return {};
}

} // namespace valdora::host::server
