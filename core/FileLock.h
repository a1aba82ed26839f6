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

/// When a replaced file's content is forced to the disk.
enum class FileSync {
    Now,  ///< before the rename: the new content survives a power loss once the call returns
    Later ///< by syncFile later: a crash of the process still never tears or loses the file
};

/// Replaces a file's whole content atomically: writes a temporary file in the same folder, flushes it
/// (unless FileSync::Later) and renames it over the target. On any failure the target is left as it
/// was, the temporary removed, and false is returned. Temporaries of the target that writers killed
/// during their replace left behind are removed first (see removeStaleTemporaries); tests can fail
/// any step through FileReplaceFaults.
bool replaceFileAtomically(const QString& path, const QByteArray& content, FileSync sync = FileSync::Now);

/// Forces a file's content to the disk; false when the file cannot be opened or flushed.
bool syncFile(const QString& path);

} // namespace valdora
