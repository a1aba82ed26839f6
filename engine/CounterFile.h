#pragma once

#include "core/FileLock.h"
#include "core/TextSemantics.h"

#include <QElapsedTimer>
#include <QString>

#include <map>
#include <memory>
#include <set>

namespace valdora::engine {

/// The counter files of AutoNumber buttons: one line, the next number as decimal digits (leading
/// zeros and surrounding blanks allowed).
namespace CounterFile {

/// The content of a new counter file: " 1 " and a line end.
QByteArray initialContent();
/// The first line of a counter file; creates a missing file holding " 1 " first. Throws Failure
/// when the file cannot be created or read.
QString readFirstLine(const QString& path);
/// The counter a first line holds: its digits with the blanks around them trimmed. Throws Failure
/// naming the file and what it holds when that is not a whole number of 0 or more: a counter that
/// restarted from 0 would hand out numbers that were surely handed out before.
QString counterOf(const QString& line, const QString& path);
/// Throws Failure naming the file when its folder does not exist.
void checkFolder(const QString& path);
/// Checks, before a run writes anything, that a counter file can be read and replaced: its folder
/// exists and takes new files, the path is no folder, and a present file holds a counter. A missing
/// file is fine (it starts at 1). Throws Failure naming the file and the reason.
void checkUsable(const QString& path);
/// The counter after `counter`: exact for any number of digits, its width kept ("0099" -> "0100",
/// "9999" -> "10000", "-1" -> "0"). A text that is not a whole number is advanced as a number.
QString next(const QString& counter, const TextLocale& locale);
/// Replaces a counter file's content by one line, atomically. Throws Failure when it cannot.
void write(const QString& path, const QString& counter, FileSync sync = FileSync::Now);

} // namespace CounterFile

/// Counter files advanced without waiting for the disk. A disk flush per number would cost a run of
/// many contacts far more than the numbers themselves, so the files are synced in batches: after
/// `batch` advances, after `intervalMs`, and when the object is synced or destroyed. Each advance is
/// still an atomic replace, so only a power loss can take back the numbers since the last sync.
class CounterSync {
public:
    explicit CounterSync(int batch = 100, int intervalMs = 1000) : m_batch(batch), m_intervalMs(intervalMs) {}
    ~CounterSync();
    CounterSync(const CounterSync&) = delete;
    CounterSync& operator=(const CounterSync&) = delete;

    /// Notes a counter file just replaced with FileSync::Later; syncs every pending file when due.
    /// Throws Failure when a file cannot be synced.
    void advanced(const QString& path);
    /// Syncs every pending file. Throws Failure when one cannot be synced (the others still are).
    void syncAll();
    /// Files replaced since the last sync.
    std::size_t pending() const { return m_pending.size(); }

private:
    int m_batch;
    int m_intervalMs;
    int m_sinceSync = 0;
    QElapsedTimer m_sinceFirst;
    std::set<QString> m_pending;
};

/// Locks on counter files shared by the members of one engine: members that use the same file hold
/// one lock between them, since a second lock of the same file in one process would wait for itself.
class CounterLocks {
public:
    explicit CounterLocks(int timeoutMs) : m_timeoutMs(timeoutMs) {}

    /// The lock of a counter file, taken when no member holds it yet. Throws Failure when another
    /// process keeps it longer than the timeout.
    std::shared_ptr<FileLock> acquire(const QString& path);

private:
    int m_timeoutMs;
    std::map<QString, std::weak_ptr<FileLock>> m_locks;
};

} // namespace valdora::engine
