#pragma once

#include "host/Database.h"

#include <memory>

namespace valdora::host {

/// The database object of the embedded host: it opens database files directly (SQLite); the
/// database of the running host is found through the client.
std::unique_ptr<Database> createDatabase();

} // namespace valdora::host
