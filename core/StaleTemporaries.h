#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <optional>

namespace valdora {

/// A temporary older than this is taken for left over whoever wrote it: a replace takes
/// milliseconds, so only a writer that was killed, or one whose id was reused since, leaves one
/// this old.
inline constexpr std::chrono::minutes StaleTemporaryAge{5};

/// The mkstemp() template of the temporary file that replaces `target` (an absolute path):
/// ".<name>.<pid>.XXXXXX" in the same folder. Hidden, so no listing of "~" files ever sees it; the
/// writer's process id tells other processes whether its writer still runs.
QByteArray temporaryTemplate(const QString& target);

/// The writer of `entry` when that names a temporary of the file `targetName` (both names without a
/// folder): its process id, or 0 for a temporary named without one (".<name>.XXXXXX", as earlier
/// versions wrote them). nullopt when `entry` is anything else.
std::optional<qint64> temporaryWriter(QByteArrayView entry, QByteArrayView targetName);

/// Removes the temporaries of `target` that writers killed before their rename left beside it:
/// those whose writer no longer runs on this machine and those older than StaleTemporaryAge. A
/// temporary that a running writer may still rename is kept. So that a run replacing one file per
/// contact does not list its folder each time, a process sweeps a target once per
/// StaleTemporaryAge. Failures are ignored: a temporary that cannot be removed only takes space.
void removeStaleTemporaries(const QString& target);

} // namespace valdora
