#pragma once

#include "host/FieldList.h"

namespace valdora::run {

/// The highest field id of the database: numbers 1, 2, ... are asked for until as many fields were
/// found as the field list counts. 0 for a database without fields.
int countFields(const host::FieldList& fields);

} // namespace valdora::run
