#pragma once

#include "Application.h"
#include "AuxCommands.h"
#include "Database.h"
#include "EventControl.h"

#include <memory>

namespace valdora::host {

/// The host objects of the embedded host. The database object opens database files directly; the
/// application, auxiliary commands and event control talk to the running host program.
std::unique_ptr<Database> createDatabase();
std::unique_ptr<Application> createApplication();
std::unique_ptr<AuxCommands> createAuxCommands();
std::unique_ptr<EventControl> createEventControl(QObject* parent = nullptr);

} // namespace valdora::host
