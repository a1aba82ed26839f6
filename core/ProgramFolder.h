#pragma once

#include <QString>

namespace valdora {

/// The program folder: the folder of the running executable, read once when first asked, or the
/// folder named by VALDORA_PROGRAM_FOLDER when that is set (tests and the demo set it). Without a
/// trailing separator, as the platform gives it.
QString programFolder();

/// Appends the native separator to a folder that does not end with one.
QString withTrailingSeparator(const QString& folder);

} // namespace valdora
