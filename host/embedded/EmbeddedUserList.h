#pragma once

#include "Connection.h"
#include "host/DatabaseTools.h"

namespace valdora::host::embedded {

/// The users of one database, in the order they were added. Passwords are kept as salted SHA-256
/// hashes, never as clear text.
class EmbeddedUserList final : public ToolUserList {
public:
    explicit EmbeddedUserList(Connection& connection, Where where = Where::current());

    qint16 Count(Where where = Where::current()) const override;
    QString UniqueID(qint16 index, Where where = Where::current()) const override;
    QString Name(qint16 index, Where where = Where::current()) const override;

    /// Adds a user (an empty password: none); returns the user's unique id.
    QString addUser(const QString& name, const QString& password, Where where = Where::current()) override;
    /// True when the name (any case) and password match a user; a user without password matches
    /// the empty password only.
    bool matches(const QString& name, const QString& password) const;
    /// True when any user has a password.
    bool anyPassword() const;
    /// The stored name of a user (the case as stored), "" when none.
    QString storedName(const QString& name) const override;

private:
    struct User {
        QString uid;
        QString name;
        QString salt;
        QString hash;
    };
    void load(Where where);
    const User& user(qint16 index, Where where) const;

    Connection& m_connection;
    QList<User> m_users;
};

} // namespace valdora::host::embedded
