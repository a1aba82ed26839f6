#pragma once

#include "ContactTable.h"
#include "UserList.h"

namespace valdora::host {

/// The database object: opens one contact database and gives its contact object and users.
class Database {
public:
    virtual ~Database() = default;

    /// Opens a database file; "" opens the database that the running host has open.
    virtual void OpenEx(const QString& path, Where where = Where::current()) = 0;
    /// The contact object of the open database.
    virtual ContactTable& Contact(Where where = Where::current()) = 0;
    /// The users of the open database.
    virtual UserList& Users(Where where = Where::current()) = 0;
    /// The login name of the user of this session.
    virtual QString CurrentUser(Where where = Where::current()) const = 0;
    /// The full path of the open database.
    virtual QString GetDatabasePath(Where where = Where::current()) const = 0;
    /// Closes the database (a no-op when none is open).
    virtual void Close() = 0;
    /// True when the database has users with passwords.
    virtual bool isMultiuser(Where where = Where::current()) const = 0;
    /// Logs a user in; false (and Error() true) when the name or password is wrong.
    virtual bool ValidateUser(const QString& user, const QString& password,
                              Where where = Where::current()) = 0;
    /// True after a failed call (ValidateUser among them), until the next successful one.
    virtual bool Error() const = 0;
};

} // namespace valdora::host
