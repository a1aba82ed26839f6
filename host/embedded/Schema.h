#pragma once

#include "Connection.h"

namespace valdora::host::embedded {

/// The version of the file layout this build writes; a file of another version is refused.
inline constexpr int SchemaVersion = 1;

/// One field of the standard set every new database carries.
struct StandardField {
    FieldId id;
    const char* name;
    qint16 type;
    qint16 decimals;
};

/// Makes the tables and the standard field set in an empty file.
void createSchema(Connection& connection, Where where = Where::current());
/// Checks that the file is a contact database of a version this build reads.
void checkSchema(Connection& connection, Where where = Where::current());
/// True for the ids a button may write to (the others are system, name and reserved fields).
bool isTargetFieldId(int id);
/// A new unique id, 12 characters, never given before in this database (call inside a transaction).
QString nextUniqueId(Connection& connection, Where where = Where::current());

} // namespace valdora::host::embedded
