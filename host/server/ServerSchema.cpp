#include "ServerSchema.h"

#include "host/StandardFields.h"
#include "host/UniqueIds.h"

#include <QRandomGenerator>

namespace valdora::host::server {

void createServerSchema(ServerConnection& connection, Where where)
{
    ServerTransaction transaction(connection, where);
    {
        const ServerRows tables =
            connection.exec("SELECT count(*) FROM pg_tables WHERE schemaname = current_schema()", {}, where);
        if (tables.integer(0, 0) != 0)
            throw HostFailure(
                int(ErrorNumber::FileAlreadyOpen),
                QStringLiteral("The database %1 is not empty; the contact tables are made in a new, empty "
                               "database (createdb NAME on the server)")
                    .arg(connection.location()),
                where);
    }
    connection.run(
        "CREATE TABLE meta(key text PRIMARY KEY, value text NOT NULL);"
        "CREATE TABLE fields(id integer PRIMARY KEY, name text NOT NULL, type integer NOT NULL,"
        " decimals integer NOT NULL DEFAULT 0, entry_trigger text NOT NULL DEFAULT '',"
        " exit_trigger text NOT NULL DEFAULT '');"
        "CREATE UNIQUE INDEX fields_name ON fields(lower(name));"
        "CREATE TABLE contacts(record bigserial PRIMARY KEY, uid text NOT NULL UNIQUE);"
        "CREATE TABLE vals(record bigint NOT NULL REFERENCES contacts ON DELETE CASCADE,"
        " field integer NOT NULL, value text NOT NULL, PRIMARY KEY(record, field));"
        "CREATE TABLE users(uid text PRIMARY KEY, name text NOT NULL, salt text NOT NULL DEFAULT '',"
        " hash text NOT NULL DEFAULT '', ordinal integer NOT NULL);"
        "CREATE UNIQUE INDEX users_name ON users(lower(name));"
        "CREATE SEQUENCE unique_serial;",
        where);
    const quint64 prefix = QRandomGenerator::system()->bounded(quint64(36 * 36 * 36 * 36));
    connection.exec("INSERT INTO meta(key, value) VALUES('schema_version', $1), ('id_prefix', $2)",
                    {QByteArray::number(ServerSchemaVersion), base36(prefix, 4).toLatin1()}, where);
    for (const StandardField& field : StandardFields)
        connection.exec("INSERT INTO fields(id, name, type, decimals) VALUES($1, $2, $3, $4)",
                        {QByteArray::number(field.id), QByteArray(field.name), QByteArray::number(field.type),
                         QByteArray::number(field.decimals)},
                        where);
    transaction.commit(where);
}

void checkServerSchema(ServerConnection& connection, Where where)
{
    const ServerRows present = connection.exec(
        "SELECT to_regclass('meta') IS NOT NULL AND to_regclass('vals') IS NOT NULL", {}, where);
    if (present.text(0, 0) != QLatin1String("t"))
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The database %1 holds no contact database: make its tables with "
                                         "ContactHost.exe create %1")
                              .arg(connection.location()),
                          where);
    const ServerRows version =
        connection.exec("SELECT value FROM meta WHERE key = 'schema_version'", {}, where);
    const QString number = version.count() == 1 ? version.text(0, 0) : QString();
    if (number.toInt() != ServerSchemaVersion)
        throw HostFailure(
            HostError::DatabaseFailure,
            QStringLiteral("The contact database %1 has layout version %2; this program reads "
                           "version %3")
                .arg(connection.location(), number.isEmpty() ? QStringLiteral("(none)") : number)
                .arg(ServerSchemaVersion),
            where);
}

QString nextServerUniqueId(ServerConnection& connection, Where where)
{
    // A sequence hands every workstation its own numbers without a lock held until commit.
    const ServerRows next = connection.exec(
        "SELECT (SELECT value FROM meta WHERE key = 'id_prefix'), nextval('unique_serial') - 1", {}, where);
    return next.text(0, 0) + base36(quint64(next.integer(0, 1)), 8);
}

} // namespace valdora::host::server
