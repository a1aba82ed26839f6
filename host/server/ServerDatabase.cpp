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
    openSession(location, !asRunningHost, where);
}

DatabaseSession::Parts ServerDatabase::connect(const QString& location, Where where)
{
    auto connection = std::make_unique<ServerConnection>(location, where);
    checkServerSchema(*connection, where);
    Parts parts;
    auto fields = std::make_unique<ServerFieldList>(*connection, where);
    parts.users = std::make_unique<ServerUserList>(*connection, where);
    parts.contacts = std::make_unique<ServerContactTable>(*connection, *fields);
    parts.fields = std::move(fields);
    parts.location = connection->location();
    m_connection = std::move(connection);
    return parts;
}

void ServerDatabase::disconnect()
{
    m_connection.reset();
}

void ServerDatabase::refuseChanges(const QString& reason, Where where) const
{
    m_connection->refuseChanges(reason, where);
}

ServerContactTable& ServerDatabase::contacts(Where where)
{
    // The parts are this kind's own: connect made them.
    return static_cast<ServerContactTable&>(contactTable(where));
}

ServerFieldList& ServerDatabase::fields(Where where)
{
    return static_cast<ServerFieldList&>(fieldList(where));
}

ServerUserList& ServerDatabase::users(Where where)
{
    return static_cast<ServerUserList&>(userList(where));
}

} // namespace valdora::host::server
