#pragma once

#include "settings/ButtonFile.h"

#include <QString>

namespace valdora::run {

/// The whole number that the key `key` of a button file holds as `text` (a field id, a field type,
/// decimal places), `defaultValue` when the text is empty. Throws Failure(TypeMismatch) naming the
/// button and the key when it holds any other text: a damaged definition must stop the run before it
/// writes, not stand for 0 (field 0, no decimals).
qint16 wholeNumber(const ButtonFile& button, const QString& key, const QString& text, qint16 defaultValue);

} // namespace valdora::run
