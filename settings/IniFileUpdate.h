#pragma once

#include "IniDocument.h"

#include <QString>

#include <functional>

namespace valdora {

/// What a change made to a document.
enum class IniChange { Refused, Unchanged, Changed };

/// Applies a change to an INI file as one step between processes: under the file's lock, reads the
/// file as it is now (a missing file is an empty document), applies `change`, and replaces the file
/// atomically when the change changed something. True when the file holds the change afterwards;
/// false, and the file as it was, when the change was refused, the lock could not be taken, the
/// file is read-only or the folder cannot be written (a missing folder is not created).
bool updateIniFile(const QString& path, IniEncoding encoding,
                   const std::function<IniChange(IniDocument&)>& change);

} // namespace valdora
