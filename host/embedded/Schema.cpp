#include "Schema.h"

#include <QRandomGenerator>

namespace valdora::host::embedded {

namespace {

constexpr StandardField StandardFields[] = {
    {1, "Unique Id", FieldType::Character, 0},
    {2, "Create Date", FieldType::DateTime, 0},
    {3, "Edit Date", FieldType::DateTime, 0},
    {4, "Created By", FieldType::User, 0},
    {5, "Edited By", FieldType::User, 0},
    {6, "Record Manager", FieldType::User, 0},
    {7, "Phone", FieldType::Character, 0},
    {8, "E-mail", FieldType::Character, 0},
    {9, "Web Site", FieldType::Url, 0},
    {10, "Address", FieldType::Character, 0},
    {11, "City", FieldType::Character, 0},
    {12, "Zip", FieldType::Character, 0},
    {13, "Birth Date", FieldType::Date, 0},
    {14, "Call Time", FieldType::Time, 0},
    {15, "Last Meeting", FieldType::DateTime, 0},
    {16, "Amount", FieldType::Numeric, 2},
    {17, "Price", FieldType::Currency, 2},
    {18, "Count", FieldType::Numeric, 0},
    {19, "Invoice Number", FieldType::Character, 0},
    {20, "Notes", FieldType::Character, 0},
    {21, "Title", FieldType::Character, 0},
    {22, "Department", FieldType::Character, 0},
    {23, "Fax", FieldType::Character, 0},
    {24, "Salutation", FieldType::Character, 0},
    {25, "Company", FieldType::Character, 0},
    {26, "Contact", FieldType::Character, 0},
    {27, "User 1", FieldType::Character, 0},
    {28, "User 2", FieldType::Character, 0},
    {29, "User 3", FieldType::Character, 0},
    {30, "User 4", FieldType::Character, 0},
    {31, "User 5", FieldType::Character, 0},
};

constexpr char Digits36[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

QString base36(quint64 value, int width)
{
    QString text(width, u'0');
    for (int i = width - 1; i >= 0; --i) {
        text[i] = QLatin1Char(Digits36[value % 36]);
        value /= 36;
    }
    return text;
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

bool isTargetFieldId(int id)
{
    return (id >= 7 && id <= 24) || (id >= 27 && id <= 40) || (id >= 45 && id <= 77) ||
           (id >= 94 && id <= 124) || (id >= 126 && id <= 199) || (id >= 204 && id <= 499) || id >= 503;
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
