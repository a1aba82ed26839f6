#include "EmbeddedDatabase.h"

#include "Schema.h"
#include "host/client/RunningHost.h"

#include <QFile>
#include <QFileInfo>

namespace valdora::host::embedded {

EmbeddedDatabase::EmbeddedDatabase() = default;

EmbeddedDatabase::~EmbeddedDatabase()
{
    Close();
}

void EmbeddedDatabase::create(const QString& path, Where where)
{
    if (QFileInfo::exists(path))
        throw HostFailure(
            int(ErrorNumber::FileAlreadyOpen),
            QStringLiteral("%1 already exists; choose another name for the new database").arg(path), where);
    try {
        Connection connection(path, true, where);
        createSchema(connection, where);
    } catch (const HostFailure&) {
        // A half-made file would later be refused as "not a contact database": leave none behind.
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(path + suffix);
        throw;
    }
}

void EmbeddedDatabase::OpenEx(const QString& path, Where where)
{
    Close();
    m_error = true;
    QString target = path;
    m_openedByPath = !target.isEmpty();
    if (target.isEmpty()) {
        const std::optional<QString> running = runningHostDatabasePath();
        if (!running)
            throw HostFailure(
                HostError::NoHostRunning,
                QStringLiteral("No contact host is running with a database open: start ContactHost.exe "
                               "and open a database first"),
                where);
        target = *running;
    }
    target = QFileInfo(target).absoluteFilePath();
    auto connection = std::make_unique<Connection>(target, false, where);
    checkSchema(*connection, where);
    connection->useWal(where);
    auto fields = std::make_unique<EmbeddedFieldList>(*connection, where);
    auto users = std::make_unique<EmbeddedUserList>(*connection, where);
    auto contacts = std::make_unique<EmbeddedContactTable>(*connection, *fields, where);
    m_connection = std::move(connection);
    m_fields = std::move(fields);
    m_users = std::move(users);
    m_contacts = std::move(contacts);
    m_path = target;
    m_error = false;
}

void EmbeddedDatabase::requireOpen(Where where) const
{
    if (!m_connection)
        throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact database is open"), where);
}

ContactTable& EmbeddedDatabase::Contact(Where where)
{
    return contacts(where);
}

UserList& EmbeddedDatabase::Users(Where where)
{
    return users(where);
}

EmbeddedContactTable& EmbeddedDatabase::contacts(Where where)
{
    requireOpen(where);
    return *m_contacts;
}

EmbeddedFieldList& EmbeddedDatabase::fields(Where where)
{
    requireOpen(where);
    return *m_fields;
}

EmbeddedUserList& EmbeddedDatabase::users(Where where)
{
    requireOpen(where);
    return *m_users;
}

Connection& EmbeddedDatabase::connection(Where where)
{
    requireOpen(where);
    return *m_connection;
}

QString EmbeddedDatabase::CurrentUser(Where where) const
{
    requireOpen(where);
    if (!m_currentUser.isEmpty())
        return m_currentUser;
    // Nobody logged in: a database without passwords is used by its first user.
    if (m_users->Count() > 0)
        return m_users->Name(1, where);
    return qEnvironmentVariable("USER");
}

QString EmbeddedDatabase::GetDatabasePath(Where where) const
{
    requireOpen(where);
    return m_path;
}

void EmbeddedDatabase::Close()
{
    m_contacts.reset();
    m_users.reset();
    m_fields.reset();
    m_connection.reset();
    m_path.clear();
    m_currentUser.clear();
    m_openedByPath = false;
    m_loginOutstanding = false;
}

bool EmbeddedDatabase::isMultiuser(Where where) const
{
    requireOpen(where);
    const bool passwords = m_users->anyPassword();
    // A program that opened the file itself and learns that it has passwords must log in before it
    // changes anything; until then it may read. The running host's database is used as the user
    // logged into the host.
    if (passwords && m_openedByPath && m_currentUser.isEmpty() && !m_loginOutstanding) {
        m_loginOutstanding = true;
        m_connection->refuseChanges(
            QStringLiteral("The contact database %1 has passwords and nobody has logged in to it: it can be "
                           "read but not changed. Open it again and log in with a user name and password of "
                           "the database to change it.")
                .arg(m_path),
            where);
    }
    return passwords;
}

bool EmbeddedDatabase::ValidateUser(const QString& user, const QString& password, Where where)
{
    requireOpen(where);
    if (!m_users->matches(user, password)) {
        m_error = true;
        m_currentUser.clear();
        m_connection->refuseChanges(
            QStringLiteral("The login of %1 to the contact database %2 failed: the database can be read but "
                           "not changed. Open it again and log in with a user name and password of the "
                           "database to change it.")
                .arg(user, m_path),
            where);
        return false;
    }
    m_currentUser = m_users->storedName(user);
    m_loginOutstanding = false;
    m_connection->refuseChanges(QString(), where);
    m_error = false;
    return true;
}

} // namespace valdora::host::embedded
