#include "EmbeddedDatabase.h"

#include "Schema.h"
#include "host/client/RunningHost.h"

#include <QFile>
#include <QFileInfo>

namespace valdora::host::embedded {

EmbeddedDatabase::EmbeddedDatabase() = default;

EmbeddedDatabase::~EmbeddedDatabase()
{
    Close();
}

void EmbeddedDatabase::create(const QString& path, Where where)
{
    if (QFileInfo::exists(path))
        throw HostFailure(
            int(ErrorNumber::FileAlreadyOpen),
            QStringLiteral("%1 already exists; choose another name for the new database").arg(path), where);
    try {
        Connection connection(path, true, where);
        createSchema(connection, where);
    } catch (const HostFailure&) {
        // A half-made file would later be refused as "not a contact database": leave none behind.
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(path + suffix);
        throw;
    }
}

void EmbeddedDatabase::OpenEx(const QString& path, Where where)
{
    openSession(path, !path.isEmpty(), where);
}

DatabaseSession::Parts EmbeddedDatabase::connect(const QString& path, Where where)
{
    QString target = path;
    if (target.isEmpty()) {
        const std::optional<QString> running = runningHostDatabasePath();
        if (!running)
            throw HostFailure(
                HostError::NoHostRunning,
                QStringLiteral("No contact host is running with a database open: start ContactHost.exe "
                               "and open a database first"),
                where);
        target = *running;
    }
    target = QFileInfo(target).absoluteFilePath();
    auto connection = std::make_unique<Connection>(target, false, where);
    const int version = checkSchema(*connection, where);
    connection->useWal(where);
    bool sortKeys = version == SchemaVersion;
    if (sortKeys)
        tryFillSortKeys(*connection, where);
    else
        sortKeys = addSortKeys(*connection, where);
    Parts parts;
    auto fields = std::make_unique<EmbeddedFieldList>(*connection, where);
    parts.users = std::make_unique<EmbeddedUserList>(*connection, where);
    parts.contacts = std::make_unique<EmbeddedContactTable>(*connection, *fields, sortKeys, where);
    parts.fields = std::move(fields);
    parts.location = target;
    m_connection = std::move(connection);
    return parts;
}

void EmbeddedDatabase::disconnect()
{
    m_connection.reset();
}

void EmbeddedDatabase::refuseChanges(const QString& reason, Where where) const
{
    m_connection->refuseChanges(reason, where);
}

EmbeddedContactTable& EmbeddedDatabase::contacts(Where where)
{
    // The parts are this kind's own: connect made them.
    return static_cast<EmbeddedContactTable&>(contactTable(where));
}

EmbeddedFieldList& EmbeddedDatabase::fields(Where where)
{
    return static_cast<EmbeddedFieldList&>(fieldList(where));
}

EmbeddedUserList& EmbeddedDatabase::users(Where where)
{
    return static_cast<EmbeddedUserList&>(userList(where));
}

Connection& EmbeddedDatabase::connection(Where where)
{
    requireOpen(where);
    return *m_connection;
}

} // namespace valdora::host::embedded
