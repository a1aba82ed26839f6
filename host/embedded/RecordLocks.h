#pragma once

#include "host/HostTypes.h"

#include <QString>

namespace valdora::host::embedded {

/// Record locks between processes: one byte per record in a side file (DB-locks), locked with
/// open-file-description locks. The kernel drops a holder's locks when it ends in any way (crash,
/// kill), so a lock never outlives its holder and a reused pid is never mistaken for it.
class RecordLocks {
public:
    /// Opens (or makes) the side file of the database at `databasePath`.
    explicit RecordLocks(const QString& databasePath, Where where = Where::current());
    ~RecordLocks();
    RecordLocks(const RecordLocks&) = delete;
    RecordLocks& operator=(const RecordLocks&) = delete;

    /// Takes the record's lock for this object; false when someone else holds it.
    bool tryLock(qint64 record);
    /// Releases this object's lock of the record (nothing when it holds none).
    void unlock(qint64 record);
    /// True while someone other than this object holds the record's lock.
    bool heldByOther(qint64 record) const;

private:
    int m_fd = -1;
};

} // namespace valdora::host::embedded
