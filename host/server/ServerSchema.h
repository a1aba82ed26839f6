#pragma once

#include "ServerConnection.h"

namespace valdora::host::server {

/// The version of the table layout this build writes; a database of another version is refused.
inline constexpr int ServerSchemaVersion = 1;

/// The first of the two keys of every record lock this suite takes (advisory locks); the second is
/// the record. Other programs that use advisory locks in the same database keep out of this space.
inline constexpr int RecordLockSpace = 0x5644;

/// The channel on which every write of a contact is announced, with the contact's id as payload.
inline constexpr char ChangeChannel[] = "valdora_contacts";

/// Makes the tables and the standard field set in an existing empty database; fails, changing
/// nothing, when the database holds tables already.
void createServerSchema(ServerConnection& connection, Where where = Where::current());
/// Checks that the database holds the contact tables of a version this build reads.
void checkServerSchema(ServerConnection& connection, Where where = Where::current());
/// A new unique id, 12 characters, never given before in this database.
QString nextServerUniqueId(ServerConnection& connection, Where where = Where::current());

} // namespace valdora::host::server
