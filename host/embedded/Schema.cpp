#include "Schema.h"

#include "host/UniqueIds.h"
#include "host/common/CachedContactTable.h"
#include "host/common/DefaultSort.h"

#include <QRandomGenerator>

#include <utility>
#include <vector>

namespace valdora::host::embedded {

namespace {

static_assert(FieldNumber::Company == 25 && FieldNumber::Contact == 26, "the triggers name the fields");

/// Each contact's key in the default sort, in an index that gives all contacts in that order with
/// their ids. Whatever program changes a company or contact name, or adds a contact, leaves the key
/// empty (NULL, which the index puts first); this build fills it in before its write commits.
constexpr char SortKeysSql[] =
    "ALTER TABLE contacts ADD COLUMN sortkey BLOB;"
    "CREATE TRIGGER sortkey_value_added AFTER INSERT ON vals WHEN NEW.field IN (25, 26)"
    " BEGIN UPDATE contacts SET sortkey = NULL WHERE record = NEW.record AND sortkey IS NOT NULL; END;"
    "CREATE TRIGGER sortkey_value_changed AFTER UPDATE ON vals"
    " WHEN NEW.field IN (25, 26) OR OLD.field IN (25, 26)"
    " BEGIN UPDATE contacts SET sortkey = NULL WHERE record IN (NEW.record, OLD.record) AND sortkey IS NOT "
    "NULL; END;"
    "CREATE TRIGGER sortkey_value_removed AFTER DELETE ON vals WHEN OLD.field IN (25, 26)"
    " BEGIN UPDATE contacts SET sortkey = NULL WHERE record = OLD.record AND sortkey IS NOT NULL; END;"
    "CREATE TRIGGER sortkey_id_changed AFTER UPDATE OF uid ON contacts"
    " BEGIN UPDATE contacts SET sortkey = NULL WHERE record = NEW.record AND sortkey IS NOT NULL; END;";
constexpr char SortIndexSql[] = "CREATE INDEX contacts_order ON contacts(sortkey, uid);";

/// From this many missing keys on (a file brought up to date, a large import), the index is made
/// again after the keys, in one sorted pass, rather than changed at a random place for each key.
constexpr qint64 RebuildIndexFrom = 10000;

void setVersion(Connection& connection, int version, Where where)
{
    Statement write = connection.prepare("UPDATE meta SET value = ? WHERE key = 'schema_version'", where);
    write.bind(1, QString::number(version));
    write.step(where);
}

} // namespace

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
    connection.exec(SortKeysSql, where);
    connection.exec(SortIndexSql, where);
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

int checkSchema(Connection& connection, Where where)
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
    const int number = version.toInt();
    if (number != SchemaVersion && number != UnsortedSchemaVersion)
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The contact database %1 has layout version %2; this program reads "
                                         "versions %3 and %4")
                              .arg(connection.path(), version)
                              .arg(UnsortedSchemaVersion)
                              .arg(SchemaVersion),
                          where);
    return number;
}

bool addSortKeys(Connection& connection, Where where)
{
    try {
        Transaction transaction(connection, where);
        // Another program may have done it since this one read the version.
        if (checkSchema(connection, where) == UnsortedSchemaVersion) {
            connection.exec(SortKeysSql, where);
            connection.exec(SortIndexSql, where);
            fillSortKeys(connection, where);
            setVersion(connection, SchemaVersion, where);
        }
        transaction.commit(where);
        return true;
    } catch (const HostFailure&) {
        return false; // read as it is, sorted in memory; the next open that can write tries again
    }
}

void tryFillSortKeys(Connection& connection, Where where)
{
    try {
        {
            // Most opens find every key there: they need not wait for the file's write lock.
            Statement missing =
                connection.prepare("SELECT 1 FROM contacts WHERE sortkey IS NULL LIMIT 1", where);
            if (!missing.step(where))
                return;
        }
        Transaction transaction(connection, where);
        fillSortKeys(connection, where);
        transaction.commit(where);
    } catch (const HostFailure&) {
        // Read-only, or held by a writer: the keys stay missing, and Query sorts in memory.
    }
}

void fillSortKeys(Connection& connection, Where where)
{
    qint64 missing = 0;
    {
        Statement count = connection.prepare("SELECT count(*) FROM contacts WHERE sortkey IS NULL", where);
        if (count.step(where))
            missing = count.integer(0);
    }
    if (missing == 0)
        return;
    const bool rebuild = missing >= RebuildIndexFrom;
    if (rebuild)
        connection.exec("DROP INDEX contacts_order;", where);
    // A slice at a time in the order of the records, so that the keys of a large file need not be
    // held at once and each slice starts where the last one ended, index or not.
    constexpr std::size_t Slice = 10000;
    std::vector<std::pair<qint64, QByteArray>> keys;
    qint64 after = 0;
    do {
        keys.clear();
        {
            Statement read =
                connection.prepare(VALDORA_ALL_CONTACTS_SQL
                                   " WHERE c.sortkey IS NULL AND c.record > ? ORDER BY c.record LIMIT ?",
                                   where);
            read.bind(1, after).bind(2, qint64(Slice));
            while (read.step(where))
                keys.emplace_back(read.integer(3), defaultSortKey(read.utf8(1), read.utf8(2), read.text(0)));
        }
        for (const auto& [record, key] : keys) {
            Statement write = connection.prepare("UPDATE contacts SET sortkey = ? WHERE record = ?", where);
            write.bindBlob(1, key).bind(2, record);
            write.step(where);
            after = record;
        }
    } while (keys.size() == Slice);
    if (rebuild)
        connection.exec(SortIndexSql, where);
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
