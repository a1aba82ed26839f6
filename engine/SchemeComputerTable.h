#pragma once

#include "Calculator.h"
#include "EngineContext.h"
#include "SchemeComputer.h"

#include "settings/SchemeTable.h"

#include <memory>

namespace valdora::engine {

/// The computing object of a scheme code for one engine; null for a code that computes nothing
/// (Combo, which only runs its members, or a number that names no scheme).
std::unique_ptr<SchemeComputer> makeSchemeComputer(qint16 code, EngineContext& context,
                                                   Calculator& calculator);

} // namespace valdora::engine
