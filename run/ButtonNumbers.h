#pragma once

#include "settings/ButtonFile.h"

#include <QString>

namespace valdora::run {

/// A key of a button file that holds a whole number (a field id, a field type, decimal places), read
/// with its default when absent or empty. Throws Failure(TypeMismatch) naming the button and the key
/// when it holds any other text: a damaged definition must stop the run before it writes, not stand
/// for 0 (field 0, no decimals).
qint16 wholeNumberKey(const ButtonFile& button, const QString& key, qint16 defaultValue);

} // namespace valdora::run
