#pragma once

#include "EngineContext.h"

#include <QString>

namespace valdora::engine {

/// Replaces accented letters by their plain forms by the AutoNumber accent table (33 pairs, applied
/// in order, case-sensitive; "ô", "ö" and "ò" become the capital "O").
QString Remove_Accents(const QString& text);

/// The text before the first blank (the date part of a date-and-time text); the whole text when it
/// holds no blank. Trapped as "Function Extract_Day" of the engine's module.
QString Extract_Day(EngineContext& context, const QString& text);

/// The name of the host user whose unique id is `uniqueId`; "" when no user has it. Without a user
/// list the id itself is returned. Trapped as "Function Get_Username".
QString Get_Username(EngineContext& context, const QString& uniqueId);

} // namespace valdora::engine
