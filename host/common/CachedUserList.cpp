#include "CachedUserList.h"

#include "host/UserPasswords.h"

namespace valdora::host {

CachedUserList::CachedUserList(QString location) : m_location(std::move(location)) {}

const CachedUserList::User& CachedUserList::user(qint16 index, Where where) const
{
    if (index < 1 || index > m_users.size())
        throw HostFailure(int(ErrorNumber::SubscriptOutOfRange),
                          QStringLiteral("The contact database %1 has %2 users; there is no user %3")
                              .arg(m_location)
                              .arg(m_users.size())
                              .arg(index),
                          where);
    return m_users.at(index - 1);
}

qint16 CachedUserList::Count(Where) const
{
    return qint16(m_users.size());
}

QString CachedUserList::UniqueID(qint16 index, Where where) const
{
    return user(index, where).uid;
}

QString CachedUserList::Name(qint16 index, Where where) const
{
    return user(index, where).name;
}

QString CachedUserList::addUser(const QString& name, const QString& password, Where where)
{
    if (name.trimmed().isEmpty() || name.trimmed() != name)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("A user name must not be empty nor start or end with blanks: \"%1\"").arg(name),
            where);
    const QString salt = password.isEmpty() ? QString() : newPasswordSalt();
    const QString hash = password.isEmpty() ? QString() : passwordHash(salt, password);
    const QString uid = storeUser(name, salt, hash, where);
    m_users.append(User{uid, name, salt, hash});
    return uid;
}

void CachedUserList::refuseTakenName(const QString& name, Where where) const
{
    if (!storedName(name).isEmpty())
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("The contact database %1 already has a user named \"%2\"").arg(m_location, name),
            where);
}

bool CachedUserList::matches(const QString& name, const QString& password, Where where)
{
    refreshForLogin(where);
    for (const User& user : m_users) {
        if (user.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (user.hash.isEmpty())
            return password.isEmpty();
        return passwordHash(user.salt, password) == user.hash;
    }
    return false;
}

bool CachedUserList::anyPassword() const
{
    for (const User& user : m_users)
        if (!user.hash.isEmpty())
            return true;
    return false;
}

QString CachedUserList::storedName(const QString& name) const
{
    for (const User& user : m_users)
        if (user.name.compare(name, Qt::CaseInsensitive) == 0)
            return user.name;
    return {};
}

} // namespace valdora::host
