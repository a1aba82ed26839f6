#pragma once

#include "bar/BarStartup.h"

namespace valdora::bar {

/// Valdora.exe without arguments: the bar beside the running host, until it is closed or the host
/// goes. The host objects are made by `factories` (the program passes the running host's client).
/// Returns the program's exit code.
int runBarProgram(int argc, char** argv, BarHostFactories factories);

} // namespace valdora::bar
