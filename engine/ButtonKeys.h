#pragma once

#include "settings/ButtonDefinition.h"

namespace valdora::engine {

/// The keys of one button file, each read with the default named at the read.
using ButtonKeys = ButtonFile;

} // namespace valdora::engine
