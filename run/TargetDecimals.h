#pragma once

#include "core/TextLocale.h"

#include <QString>

namespace valdora::run {

/// A numeric value written with a fixed number of decimal places in the user's number format ("3" in
/// 2 places is "3.00"); text that is no number comes back as it is.
QString inDecimalPlaces(const TextLocale& locale, const QString& value, int places);

} // namespace valdora::run
