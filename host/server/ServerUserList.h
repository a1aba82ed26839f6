#pragma once

#include "ServerConnection.h"
#include "host/DatabaseTools.h"

namespace valdora::host::server {

/// The users of a database on the server, in the order they were added, with salted password hashes.
class ServerUserList final : public ToolUserList {
public:
    explicit ServerUserList(ServerConnection& connection, Where where = Where::current());

    qint16 Count(Where where = Where::current()) const override;
    QString UniqueID(qint16 index, Where where = Where::current()) const override;
    QString Name(qint16 index, Where where = Where::current()) const override;

    QString addUser(const QString& name, const QString& password, Where where = Where::current()) override;
    QString storedName(const QString& name) const override;
    /// True when the name (any case) and password match a user, as the server holds them now.
    bool matches(const QString& name, const QString& password, Where where = Where::current());
    /// True when any user has a password.
    bool anyPassword() const;

private:
    struct User {
        QString uid;
        QString name;
        QString salt;
        QString hash;
    };
    void load(Where where);
    const User& user(qint16 index, Where where) const;

    ServerConnection& m_connection;
    QList<User> m_users;
};

} // namespace valdora::host::server
