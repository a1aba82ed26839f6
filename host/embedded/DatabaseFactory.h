#pragma once

#include "host/Database.h"
#include "host/DatabaseTools.h"

#include <memory>

namespace valdora::host {

/// The database object of the suite's programs: OpenEx opens a database file directly (SQLite) or a
/// database on a PostgreSQL server (a postgresql:// URI or key=value text); "" opens the database
/// that the running host has open, found through the client.
std::unique_ptr<Database> createDatabase();

/// Opens the database at a location (a file path or a server location) for the host's own tools.
std::unique_ptr<ToolDatabase> openToolDatabase(const QString& location, Where where = Where::current());

/// Makes a new, empty contact database at a location: a new file, or the tables in an existing
/// empty database on a server.
void createEmptyDatabase(const QString& location, Where where = Where::current());

} // namespace valdora::host
