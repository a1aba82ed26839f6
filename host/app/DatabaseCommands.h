#pragma once

#include "CommandTable.h"

namespace valdora::host::app {

/// Adds the database commands (create, fields, add-field, contacts, get, set, import, export,
/// add-user, trigger, lock) to the table.
void addDatabaseCommands(CommandTable& table);

} // namespace valdora::host::app
