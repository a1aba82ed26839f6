#include "DatabaseSession.h"

namespace valdora::host {

DatabaseSession::DatabaseSession() = default;

DatabaseSession::~DatabaseSession() = default;

void DatabaseSession::openSession(const QString& location, bool byLocation, Where where)
{
    Close();
    m_error = true;
    m_parts = connect(location, where);
    m_openedByLocation = byLocation;
    m_error = false;
}

void DatabaseSession::requireOpen(Where where) const
{
    if (!m_parts.contacts)
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact database is open"), where);
}

ContactTable& DatabaseSession::Contact(Where where)
{
    return contactTable(where);
}

UserList& DatabaseSession::Users(Where where)
{
    return userList(where);
}

CachedFieldList& DatabaseSession::fieldList(Where where)
{
    requireOpen(where);
    return *m_parts.fields;
}

CachedUserList& DatabaseSession::userList(Where where)
{
    requireOpen(where);
    return *m_parts.users;
}

ToolContactTable& DatabaseSession::contactTable(Where where)
{
    requireOpen(where);
    return *m_parts.contacts;
}

QString DatabaseSession::CurrentUser(Where where) const
{
    requireOpen(where);
    if (!m_currentUser.isEmpty())
        return m_currentUser;
    // Nobody logged in: a database without passwords is used by its first user.
    if (m_parts.users->Count() > 0)
        return m_parts.users->Name(1, where);
    return qEnvironmentVariable("USER");
}

QString DatabaseSession::GetDatabasePath(Where where) const
{
    requireOpen(where);
    return m_parts.location;
}

void DatabaseSession::Close()
{
    // The contact object goes first (it gives back its record lock), the connection last.
    m_parts.contacts.reset();
    m_parts.users.reset();
    m_parts.fields.reset();
    m_parts.location.clear();
    disconnect();
    m_currentUser.clear();
    m_openedByLocation = false;
    m_loginOutstanding = false;
}

bool DatabaseSession::isMultiuser(Where where) const
{
    requireOpen(where);
    const bool passwords = m_parts.users->anyPassword();
    // A program that opened the database itself and learns that it has passwords must log in before
    // it changes anything; until then it may read. The running host's database is used as the user
    // logged into the host.
    if (passwords && m_openedByLocation && m_currentUser.isEmpty() && !m_loginOutstanding) {
        m_loginOutstanding = true;
        refuseChanges(
            QStringLiteral("The contact database %1 has passwords and nobody has logged in to it: it can be "
                           "read but not changed. Open it again and log in with a user name and password of "
                           "the database to change it.")
                .arg(m_parts.location),
            where);
    }
    return passwords;
}

bool DatabaseSession::ValidateUser(const QString& user, const QString& password, Where where)
{
    requireOpen(where);
    if (!m_parts.users->matches(user, password, where)) {
        m_error = true;
        m_currentUser.clear();
        refuseChanges(
            QStringLiteral("The login of %1 to the contact database %2 failed: the database can be read but "
                           "not changed. Open it again and log in with a user name and password of the "
                           "database to change it.")
                .arg(user, m_parts.location),
            where);
        return false;
    }
    m_currentUser = m_parts.users->storedName(user);
    m_loginOutstanding = false;
    refuseChanges(QString(), where);
    m_error = false;
    return true;
}

} // namespace valdora::host
