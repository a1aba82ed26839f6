#pragma once

#include <QtGlobal>

namespace valdora {

/// Whether a process with this id runs on this machine now: true for a process of another user
/// too, false for a process that has ended (also while it waits as a zombie for its parent) and for
/// an id that is not a process id at all (0 or less).
bool isProcessRunning(qint64 pid);

} // namespace valdora
