#pragma once

#include "Connection.h"
#include "host/StandardFields.h"

namespace valdora::host::embedded {

/// The version of the file layout this build writes; a file of another version is refused.
inline constexpr int SchemaVersion = 1;

/// Makes the tables and the standard field set in an empty file.
void createSchema(Connection& connection, Where where = Where::current());
/// Checks that the file is a contact database of a version this build reads.
void checkSchema(Connection& connection, Where where = Where::current());
/// A new unique id, 12 characters, never given before in this database (call inside a transaction).
QString nextUniqueId(Connection& connection, Where where = Where::current());

} // namespace valdora::host::embedded
