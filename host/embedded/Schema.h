#pragma once

#include "Connection.h"
#include "host/StandardFields.h"

namespace valdora::host::embedded {

/// The version of the file layout this build writes: each contact keeps its place in the default
/// sort (a key with an index), so that all contacts are read in that order without sorting them.
inline constexpr int SchemaVersion = 2;
/// The layout before the sort keys: still read and written as it is (sorted in memory), and brought
/// up to SchemaVersion when it is opened and can be written. Any other version is refused.
inline constexpr int UnsortedSchemaVersion = 1;

/// Makes the tables and the standard field set in an empty file.
void createSchema(Connection& connection, Where where = Where::current());
/// Checks that the file is a contact database of a version this build reads; returns its version.
int checkSchema(Connection& connection, Where where = Where::current());
/// Brings a file of UnsortedSchemaVersion up to SchemaVersion, every contact's key filled in, in one
/// transaction. False, with nothing changed, when the file cannot be written now (read-only, or
/// held by a writer for longer than the busy timeout).
bool addSortKeys(Connection& connection, Where where = Where::current());
/// Fills in the sort keys that are missing: contacts added, and names changed, since the last fill
/// (the file's triggers clear a key whatever program changes the names). Call inside a transaction.
void fillSortKeys(Connection& connection, Where where = Where::current());
/// fillSortKeys in a transaction of its own, when keys are missing and the file can be written now;
/// otherwise the contacts are sorted in memory until a later write fills them in.
void tryFillSortKeys(Connection& connection, Where where = Where::current());
/// A new unique id, 12 characters, never given before in this database (call inside a transaction).
QString nextUniqueId(Connection& connection, Where where = Where::current());

} // namespace valdora::host::embedded
