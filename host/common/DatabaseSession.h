#pragma once

#include "CachedFieldList.h"
#include "CachedUserList.h"
#include "host/DatabaseTools.h"

#include <memory>

namespace valdora::host {

/// The database object's part that every database kind shares: it opens the database through the
/// kind's connect hook, holds its field list, users and contact object, closes them before the
/// connection, and keeps the login. The kind keeps its connection and says how changes are refused.
class DatabaseSession : public ToolDatabase {
public:
    ContactTable& Contact(Where where = Where::current()) override;
    UserList& Users(Where where = Where::current()) override;
    QString CurrentUser(Where where = Where::current()) const override;
    QString GetDatabasePath(Where where = Where::current()) const override;
    void Close() override;
    /// True when the database has users with passwords. Asked of a database opened by its location,
    /// it starts a login: from then on the object reads but changes nothing until ValidateUser succeeds.
    bool isMultiuser(Where where = Where::current()) const override;
    /// Logs a user in. A failed login leaves the object reading only (HostError::WriteRefused on
    /// every change) until a later one succeeds.
    bool ValidateUser(const QString& user, const QString& password, Where where = Where::current()) override;
    bool Error() const override { return m_error; }

protected:
    /// What a kind's connect makes, over the connection it keeps.
    struct Parts {
        std::unique_ptr<CachedFieldList> fields;
        std::unique_ptr<CachedUserList> users;
        std::unique_ptr<ToolContactTable> contacts;
        /// The location the database answers GetDatabasePath with.
        QString location;
    };

    DatabaseSession();
    ~DatabaseSession() override;

    /// Closes what is open, then opens the database at `location` through connect. `byLocation`: a
    /// program opened it itself rather than as the running host's database, which is used as the
    /// user logged into the host. On a failure nothing is open and Error() is true.
    void openSession(const QString& location, bool byLocation, Where where);
    /// Throws HostError::NoDatabaseOpen when nothing is open.
    void requireOpen(Where where) const;
    CachedFieldList& fieldList(Where where);
    CachedUserList& userList(Where where);
    ToolContactTable& contactTable(Where where);

    /// Connects to the database at `location`, checks it and makes its parts, keeping the connection.
    virtual Parts connect(const QString& location, Where where) = 0;
    /// Drops the connection, if any; its parts are gone already. A kind's destructor calls Close.
    virtual void disconnect() = 0;
    /// From now on every change through the connection fails with HostError::WriteRefused and this
    /// text; "" allows changes again. What changes is the connection's access, not this object.
    virtual void refuseChanges(const QString& reason, Where where) const = 0;

private:
    Parts m_parts;
    QString m_currentUser;
    bool m_error = false;
    bool m_openedByLocation = false;
    /// A login was asked for (isMultiuser answered yes) and has not succeeded.
    mutable bool m_loginOutstanding = false;
};

} // namespace valdora::host
