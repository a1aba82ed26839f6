#pragma once

#include "ServerConnection.h"
#include "ServerContactTable.h"
#include "ServerFieldList.h"
#include "ServerUserList.h"
#include "host/common/DatabaseSession.h"

#include <memory>

namespace valdora::host::server {

/// The database object of a contact database on a PostgreSQL server: one connection per object,
/// made with the workstation user's own credentials (libpq's password file or environment).
class ServerDatabase final : public DatabaseSession {
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

    ServerContactTable& contacts(Where where = Where::current()) override;
    ServerFieldList& fields(Where where = Where::current()) override;
    ServerUserList& users(Where where = Where::current()) override;

private:
    Parts connect(const QString& location, Where where) override;
    void disconnect() override;
    void refuseChanges(const QString& reason, Where where) const override;

    std::unique_ptr<ServerConnection> m_connection;
};

} // namespace valdora::host::server
