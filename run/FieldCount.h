#pragma once

#include "host/FieldList.h"
#include "settings/UserSettings.h"

namespace valdora::run {

/// The highest field id of the database: numbers 1, 2, ... are asked for until as many fields were
/// found as the field list counts. 0 for a database without fields.
int countFields(const host::FieldList& fields);

/// Leaves the highest field id in the per-user settings, for ValdoraAuto, which cannot count them.
void storeMaxFields(const UserSettings& settings, int maxFields);
/// The highest field id that Valdora's last run left; `whenAbsent` when none did.
int storedMaxFields(const UserSettings& settings, int whenAbsent = 0);

} // namespace valdora::run
