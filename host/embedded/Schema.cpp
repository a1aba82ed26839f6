#include "Schema.h"

#include "host/UniqueIds.h"

#include <QRandomGenerator>

namespace valdora::host::embedded {

void createSchema(Connection& connection, Where where)
{
    Transaction transaction(connection, where);
    connection.exec(
        "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;"
        "CREATE TABLE fields(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
        " type INTEGER NOT NULL, decimals INTEGER NOT NULL DEFAULT 0,"
        " entry_trigger TEXT NOT NULL DEFAULT '', exit_trigger TEXT NOT NULL DEFAULT '');"
        "CREATE TABLE contacts(record INTEGER PRIMARY KEY, uid TEXT NOT NULL UNIQUE);"
        "CREATE TABLE vals(record INTEGER NOT NULL REFERENCES contacts ON DELETE CASCADE,"
        " field INTEGER NOT NULL, value TEXT NOT NULL, PRIMARY KEY(record, field)) WITHOUT ROWID;"
        "CREATE TABLE users(uid TEXT PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
        " salt TEXT NOT NULL DEFAULT '', hash TEXT NOT NULL DEFAULT '', ordinal INTEGER NOT NULL);",
        where);
    const quint64 prefix = QRandomGenerator::system()->bounded(quint64(36 * 36 * 36 * 36));
    {
        Statement meta = connection.prepare("INSERT INTO meta(key, value) VALUES(?, ?)", where);
        meta.bind(1, QStringLiteral("schema_version")).bind(2, QString::number(SchemaVersion));
        meta.step(where);
    }
    {
        Statement meta = connection.prepare("INSERT INTO meta(key, value) VALUES(?, ?)", where);
        meta.bind(1, QStringLiteral("id_prefix")).bind(2, base36(prefix, 4));
        meta.step(where);
    }
    {
        Statement meta = connection.prepare("INSERT INTO meta(key, value) VALUES(?, ?)", where);
        meta.bind(1, QStringLiteral("next_serial")).bind(2, QStringLiteral("1"));
        meta.step(where);
    }
    for (const StandardField& field : StandardFields) {
        Statement insert =
            connection.prepare("INSERT INTO fields(id, name, type, decimals) VALUES(?, ?, ?, ?)", where);
        insert.bind(1, field.id).bind(2, QString::fromLatin1(field.name)).bind(3, field.type);
        insert.bind(4, field.decimals);
        insert.step(where);
    }
    transaction.commit(where);
}

void checkSchema(Connection& connection, Where where)
{
    QString version;
    try {
        Statement read = connection.prepare("SELECT value FROM meta WHERE key = 'schema_version'", where);
        if (read.step(where))
            version = read.text(0);
    } catch (const HostFailure&) {
        version.clear();
    }
    if (version.isEmpty())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("%1 is not a contact database").arg(connection.path()), where);
    if (version.toInt() != SchemaVersion)
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The contact database %1 has layout version %2; this program reads "
                                         "version %3")
                              .arg(connection.path(), version)
                              .arg(SchemaVersion),
                          where);
}

QString nextUniqueId(Connection& connection, Where where)
{
    QString prefix;
    quint64 serial = 0;
    {
        Statement read = connection.prepare("SELECT (SELECT value FROM meta WHERE key = 'id_prefix'), "
                                            "(SELECT value FROM meta WHERE key = 'next_serial')",
                                            where);
        if (read.step(where)) {
            prefix = read.text(0);
            serial = read.text(1).toULongLong();
        }
    }
    Statement advance = connection.prepare("UPDATE meta SET value = ? WHERE key = 'next_serial'", where);
    advance.bind(1, QString::number(serial + 1));
    advance.step(where);
    return prefix + base36(serial, 8);
}

} // namespace valdora::host::embedded
