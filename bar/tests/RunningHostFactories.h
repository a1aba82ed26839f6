#pragma once

#include "bar/BarStartup.h"

#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"

namespace valdora::bar::test {

/// The bar's host objects as the program makes them: the running host's client for its events, its
/// application and its auxiliary commands, and the database opened by the bar itself.
inline BarHostFactories runningHostFactories()
{
    return {[] { return host::createEventControl(); },
            {&host::createApplication, &host::createDatabase},
            [] { return host::createAuxCommands(); }};
}

} // namespace valdora::bar::test
