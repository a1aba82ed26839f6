#pragma once

#include "CommandTable.h"

namespace valdora::host::app {

/// Adds the commands that talk to the running host: current, show ID, lookup [all | FIELD
/// equals|contains|starts VALUE], enter-field FIELD, leave-field FIELD, type FIELD VALUE, close-db,
/// quit. Each fails with the "no contact host is running" failure when none runs.
void addRunningHostCommands(CommandTable& table);

} // namespace valdora::host::app
