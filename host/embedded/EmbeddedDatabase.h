#pragma once

#include "Connection.h"
#include "EmbeddedContactTable.h"
#include "EmbeddedFieldList.h"
#include "EmbeddedUserList.h"
#include "host/common/DatabaseSession.h"

#include <memory>

namespace valdora::host::embedded {

/// The database object of the embedded host: one SQLite connection to one NAME.dbf file.
class EmbeddedDatabase final : public DatabaseSession {
public:
    EmbeddedDatabase();
    ~EmbeddedDatabase() override;

    /// Makes a new, empty database with the standard field set; fails when the file exists.
    static void create(const QString& path, Where where = Where::current());

    /// Opens a database file; "" opens the database that the running host has open.
    void OpenEx(const QString& path, Where where = Where::current()) override;

    /// The concrete parts, for the host's own tools (import, add-field, add-user ...).
    EmbeddedContactTable& contacts(Where where = Where::current()) override;
    EmbeddedFieldList& fields(Where where = Where::current()) override;
    EmbeddedUserList& users(Where where = Where::current()) override;
    Connection& connection(Where where = Where::current());

private:
    Parts connect(const QString& path, Where where) override;
    void disconnect() override;
    void refuseChanges(const QString& reason, Where where) const override;

    std::unique_ptr<Connection> m_connection;
};

} // namespace valdora::host::embedded
