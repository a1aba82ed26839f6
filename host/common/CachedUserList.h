#pragma once

#include "host/DatabaseTools.h"

namespace valdora::host {

/// The users of one database, in the order they were added, kept in memory. Passwords are kept as
/// salted SHA-256 hashes, never as clear text. A database kind reads and writes them through the
/// hooks below.
class CachedUserList : public ToolUserList {
public:
    qint16 Count(Where where = Where::current()) const override;
    QString UniqueID(qint16 index, Where where = Where::current()) const override;
    QString Name(qint16 index, Where where = Where::current()) const override;

    /// Adds a user (an empty password: none); returns the user's unique id.
    QString addUser(const QString& name, const QString& password, Where where = Where::current()) override;
    /// The stored name of a user (the case as stored), "" when none.
    QString storedName(const QString& name) const override;
    /// True when the name (any case) and password match a user; a user without password matches
    /// the empty password only.
    bool matches(const QString& name, const QString& password, Where where = Where::current());
    /// True when any user has a password.
    bool anyPassword() const;

protected:
    struct User {
        QString uid;
        QString name;
        QString salt;
        QString hash;
    };

    /// `location` names the database in messages.
    explicit CachedUserList(QString location);
    /// Reads the users again (the derived constructor reads them first).
    void reload(Where where) { m_users = readUsers(where); }
    /// Throws when the users as last read have that name (any case).
    void refuseTakenName(const QString& name, Where where) const;

    /// Every user as the database holds them now, in the order they were added.
    virtual QList<User> readUsers(Where where) const = 0;
    /// Writes a new user whose name is checked: under the database's own write lock it reloads the
    /// users, calls refuseTakenName and writes the user with a new unique id, which it returns.
    virtual QString storeUser(const QString& name, const QString& salt, const QString& hash, Where where) = 0;
    /// Called before a login is checked: a database that other programs change may read the users again.
    virtual void refreshForLogin(Where) {}

private:
    const User& user(qint16 index, Where where) const;

    QString m_location;
    QList<User> m_users;
};

} // namespace valdora::host
