#include "ServerDatabase.h"

#include "ServerSchema.h"

namespace valdora::host::server {

ServerDatabase::ServerDatabase() = default;

ServerDatabase::~ServerDatabase()
{
    Close();
}

void ServerDatabase::create(const QString& location, Where where)
{
    ServerConnection connection(location, where);
    createServerSchema(connection, where);
}

void ServerDatabase::OpenEx(const QString& location, Where where)
{
    open(location, false, where);
}

void ServerDatabase::open(const QString& location, bool asRunningHost, Where where)
{
    Close();
    m_error = true;
    auto connection = std::make_unique<ServerConnection>(location, where);
    checkServerSchema(*connection, where);
    auto fields = std::make_unique<ServerFieldList>(*connection, where);
    auto users = std::make_unique<ServerUserList>(*connection, where);
    auto contacts = std::make_unique<ServerContactTable>(*connection, *fields);
    m_connection = std::move(connection);
    m_fields = std::move(fields);
    m_users = std::move(users);
    m_contacts = std::move(contacts);
    m_openedByPath = !asRunningHost;
    m_error = false;
}

void ServerDatabase::requireOpen(Where where) const
{
    if (!m_connection)
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact database is open"), where);
}

ContactTable& ServerDatabase::Contact(Where where)
{
    return contacts(where);
}

UserList& ServerDatabase::Users(Where where)
{
    return users(where);
}

ServerContactTable& ServerDatabase::contacts(Where where)
{
    requireOpen(where);
    return *m_contacts;
}

ServerFieldList& ServerDatabase::fields(Where where)
{
    requireOpen(where);
    return *m_fields;
}

ServerUserList& ServerDatabase::users(Where where)
{
    requireOpen(where);
    return *m_users;
}

QString ServerDatabase::CurrentUser(Where where) const
{
    requireOpen(where);
    if (!m_currentUser.isEmpty())
        return m_currentUser;
    // Nobody logged in: a database without passwords is used by its first user, as a file is.
    if (m_users->Count() > 0)
        return m_users->Name(1, where);
    return qEnvironmentVariable("USER");
}

QString ServerDatabase::GetDatabasePath(Where where) const
{
    requireOpen(where);
    return m_connection->location();
}

void ServerDatabase::Close()
{
    m_contacts.reset();
    m_users.reset();
    m_fields.reset();
    m_connection.reset();
    m_currentUser.clear();
    m_openedByPath = false;
    m_loginOutstanding = false;
}

bool ServerDatabase::isMultiuser(Where where) const
{
    requireOpen(where);
    const bool passwords = m_users->anyPassword();
    // As with a database file: a program that opened the database itself and learns that it has
    // passwords reads, and changes nothing, until its login succeeds.
    if (passwords && m_openedByPath && m_currentUser.isEmpty() && !m_loginOutstanding) {
        m_loginOutstanding = true;
        m_connection->refuseChanges(
            QStringLiteral("The contact database %1 has passwords and nobody has logged in to it: it can be "
                           "read but not changed. Open it again and log in with a user name and password of "
                           "the database to change it.")
                .arg(m_connection->location()),
            where);
    }
    return passwords;
}

bool ServerDatabase::ValidateUser(const QString& user, const QString& password, Where where)
{
    requireOpen(where);
    if (!m_users->matches(user, password, where)) {
        m_error = true;
        m_currentUser.clear();
        m_connection->refuseChanges(
            QStringLiteral("The login of %1 to the contact database %2 failed: the database can be read but "
                           "not changed. Open it again and log in with a user name and password of the "
                           "database to change it.")
                .arg(user, m_connection->location()),
            where);
        return false;
    }
    m_currentUser = m_users->storedName(user);
    m_loginOutstanding = false;
    m_connection->refuseChanges(QString(), where);
    m_error = false;
    return true;
}

} // namespace valdora::host::server
