#pragma once

#include "Connection.h"
#include "EmbeddedContactTable.h"
#include "EmbeddedFieldList.h"
#include "EmbeddedUserList.h"
#include "host/DatabaseTools.h"

#include <memory>

namespace valdora::host::embedded {

/// The database object of the embedded host: one SQLite connection to one NAME.dbf file.
class EmbeddedDatabase final : public ToolDatabase {
public:
    EmbeddedDatabase();
    ~EmbeddedDatabase() override;

    /// Makes a new, empty database with the standard field set; fails when the file exists.
    static void create(const QString& path, Where where = Where::current());

    void OpenEx(const QString& path, Where where = Where::current()) override;
    ContactTable& Contact(Where where = Where::current()) override;
    UserList& Users(Where where = Where::current()) override;
    QString CurrentUser(Where where = Where::current()) const override;
    QString GetDatabasePath(Where where = Where::current()) const override;
    void Close() override;
    /// True when the database has users with passwords. Asked of a database opened by its path, it
    /// starts a login: from then on the object reads but changes nothing until ValidateUser succeeds.
    bool isMultiuser(Where where = Where::current()) const override;
    /// Logs a user in. A failed login leaves the object reading only (HostError::WriteRefused on
    /// every change) until a later one succeeds.
    bool ValidateUser(const QString& user, const QString& password, Where where = Where::current()) override;
    bool Error() const override { return m_error; }

    /// The concrete parts, for the host's own tools (import, add-field, add-user ...).
    EmbeddedContactTable& contacts(Where where = Where::current()) override;
    EmbeddedFieldList& fields(Where where = Where::current()) override;
    EmbeddedUserList& users(Where where = Where::current()) override;
    Connection& connection(Where where = Where::current());

private:
    void requireOpen(Where where) const;

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<EmbeddedFieldList> m_fields;
    std::unique_ptr<EmbeddedUserList> m_users;
    std::unique_ptr<EmbeddedContactTable> m_contacts;
    QString m_path;
    QString m_currentUser;
    bool m_error = false;
    /// Opened by its path rather than as the running host's database.
    bool m_openedByPath = false;
    /// A login was asked for (isMultiuser answered yes) and has not succeeded.
    mutable bool m_loginOutstanding = false;
};

} // namespace valdora::host::embedded
