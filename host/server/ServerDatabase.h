#pragma once

#include "ServerConnection.h"
#include "ServerContactTable.h"
#include "ServerFieldList.h"
#include "ServerUserList.h"
#include "host/DatabaseTools.h"

#include <memory>

namespace valdora::host::server {

/// The database object of a contact database on a PostgreSQL server: one connection per object,
/// made with the workstation user's own credentials (libpq's password file or environment).
class ServerDatabase final : public ToolDatabase {
public:
    ServerDatabase();
    ~ServerDatabase() override;

    /// Makes the contact tables and the standard field set in the existing, empty database at the
    /// location; fails, changing nothing, when it is not empty.
    static void create(const QString& location, Where where = Where::current());

    /// Opens the database at a location (a URI or key=value text). `asRunningHost`: the database that
    /// the running host has open, used as the user logged into the host.
    void open(const QString& location, bool asRunningHost, Where where = Where::current());

    void OpenEx(const QString& location, Where where = Where::current()) override;
    ContactTable& Contact(Where where = Where::current()) override;
    UserList& Users(Where where = Where::current()) override;
    QString CurrentUser(Where where = Where::current()) const override;
    QString GetDatabasePath(Where where = Where::current()) const override;
    void Close() override;
    bool isMultiuser(Where where = Where::current()) const override;
    bool ValidateUser(const QString& user, const QString& password, Where where = Where::current()) override;
    bool Error() const override { return m_error; }

    ServerContactTable& contacts(Where where = Where::current()) override;
    ServerFieldList& fields(Where where = Where::current()) override;
    ServerUserList& users(Where where = Where::current()) override;

private:
    void requireOpen(Where where) const;

    std::unique_ptr<ServerConnection> m_connection;
    std::unique_ptr<ServerFieldList> m_fields;
    std::unique_ptr<ServerUserList> m_users;
    std::unique_ptr<ServerContactTable> m_contacts;
    QString m_currentUser;
    bool m_error = false;
    bool m_openedByPath = false;
    mutable bool m_loginOutstanding = false;
};

} // namespace valdora::host::server
