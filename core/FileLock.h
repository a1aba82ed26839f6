#pragma once

#include <QString>

namespace valdora {

/// An exclusive lock between processes on one file, held from construction to destruction. The lock
/// lives on a hidden companion file beside the locked one (".<name>.lock", so no listing of "~" files
/// ever sees it) and is released by the system when its holder ends, so a crashed process never
/// leaves a file locked. Waits at most `timeoutMs` for another holder.
class FileLock {
public:
    explicit FileLock(const QString& lockedFile, int timeoutMs = 5000);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    /// False when the lock could not be taken (timeout, unwritable folder).
    bool isLocked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

/// Replaces a file's whole content atomically: writes a temporary file in the same folder, flushes it
/// and renames it over the target. On any failure the target is left as it was and false is returned.
bool replaceFileAtomically(const QString& path, const QByteArray& content);

} // namespace valdora
