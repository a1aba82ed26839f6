#pragma once

#include "host/Application.h"
#include "host/AuxCommands.h"
#include "host/EventControl.h"

#include <memory>

namespace valdora::host {

/// The host objects that talk to the running host program over its local socket: the application,
/// the auxiliary commands and the event control.
std::unique_ptr<Application> createApplication();
std::unique_ptr<AuxCommands> createAuxCommands();
std::unique_ptr<EventControl> createEventControl(QObject* parent = nullptr);

} // namespace valdora::host
