#include "EmbeddedUserList.h"

#include "Schema.h"
#include "host/UserPasswords.h"

namespace valdora::host::embedded {

EmbeddedUserList::EmbeddedUserList(Connection& connection, Where where) : m_connection(connection)
{
    load(where);
}

void EmbeddedUserList::load(Where where)
{
    m_users.clear();
    Statement read = m_connection.prepare("SELECT uid, name, salt, hash FROM users ORDER BY ordinal", where);
    while (read.step(where))
        m_users.append(User{read.text(0), read.text(1), read.text(2), read.text(3)});
}

const EmbeddedUserList::User& EmbeddedUserList::user(qint16 index, Where where) const
{
    if (index < 1 || index > m_users.size())
        throw HostFailure(int(ErrorNumber::SubscriptOutOfRange),
                          QStringLiteral("The contact database %1 has %2 users; there is no user %3")
                              .arg(m_connection.path())
                              .arg(m_users.size())
                              .arg(index),
                          where);
    return m_users.at(index - 1);
}

qint16 EmbeddedUserList::Count(Where) const
{
    return qint16(m_users.size());
}

QString EmbeddedUserList::UniqueID(qint16 index, Where where) const
{
    return user(index, where).uid;
}

QString EmbeddedUserList::Name(qint16 index, Where where) const
{
    return user(index, where).name;
}

QString EmbeddedUserList::addUser(const QString& name, const QString& password, Where where)
{
    if (name.trimmed().isEmpty() || name.trimmed() != name)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("A user name must not be empty nor start or end with blanks: \"%1\"").arg(name),
            where);
    Transaction transaction(m_connection, where);
    load(where); // another program may have added users since this list was read
    if (!storedName(name).isEmpty())
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("The contact database %1 already has a user named \"%2\"")
                              .arg(m_connection.path(), name),
                          where);
    const QString uid = nextUniqueId(m_connection, where);
    const QString salt = password.isEmpty() ? QString() : newPasswordSalt();
    const QString hash = password.isEmpty() ? QString() : passwordHash(salt, password);
    Statement insert =
        m_connection.prepare("INSERT INTO users(uid, name, salt, hash, ordinal) "
                             "VALUES(?, ?, ?, ?, (SELECT coalesce(max(ordinal), 0) + 1 FROM users))",
                             where);
    insert.bind(1, uid).bind(2, name).bind(3, salt).bind(4, hash);
    insert.step(where);
    transaction.commit(where);
    m_users.append(User{uid, name, salt, hash});
    return uid;
}

bool EmbeddedUserList::matches(const QString& name, const QString& password) const
{
    for (const User& user : m_users) {
        if (user.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (user.hash.isEmpty())
            return password.isEmpty();
        return passwordHash(user.salt, password) == user.hash;
    }
    return false;
}

bool EmbeddedUserList::anyPassword() const
{
    for (const User& user : m_users)
        if (!user.hash.isEmpty())
            return true;
    return false;
}

QString EmbeddedUserList::storedName(const QString& name) const
{
    for (const User& user : m_users)
        if (user.name.compare(name, Qt::CaseInsensitive) == 0)
            return user.name;
    return {};
}

} // namespace valdora::host::embedded
