#pragma once

#include "core/FileLock.h"
#include "core/TextLocale.h"

#include <QElapsedTimer>
#include <QString>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stop_token>
#include <thread>
#include <utility>

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

/// A counter file that the holder of its lock reads and rewrites in place, one number after another.
/// A replace by rename per number would cost a run far more than its numbers (the file system
/// flushes and frees a file at each rename); an in-place write of the whole line at offset 0 is one
/// system call that a killed process either made or not, so the first line is always a whole
/// counter. Whatever a shorter line leaves behind its line end is cut off, and readers look at the
/// first line only. A file that someone replaced meanwhile (the editor saves a counter by rename) is
/// opened anew, so the last writer still wins.
class OpenCounterFile {
public:
    explicit OpenCounterFile(QString path) : m_path(std::move(path)) {}
    ~OpenCounterFile();
    OpenCounterFile(const OpenCounterFile&) = delete;
    OpenCounterFile& operator=(const OpenCounterFile&) = delete;

    const QString& path() const { return m_path; }
    /// The first line, without its line end; creates a missing file holding " 1 " first. Throws
    /// Failure when the file cannot be created or read.
    QString readFirstLine();
    /// Rewrites the file as one line holding `counter`, its disk flush left to the caller. Throws
    /// Failure when it cannot; the file then still holds its earlier line.
    void write(const QString& counter);

private:
    /// Opens the file the path names now, unless that is the one already open. False when it is
    /// missing.
    bool follow();
    void close();

    QString m_path;
    int m_fd = -1;
    bool m_writable = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    qint64 m_size = 0;
};

/// Counter files advanced without waiting for the disk. A disk flush per number would cost a run of
/// many contacts far more than the numbers themselves, so the files are synced in batches: after
/// `batch` advances, after `intervalMs`, and when the object is synced or destroyed. Each advance is
/// still written whole, so only a power loss can take back the numbers since the last sync.
///
/// A batch's flush runs on a thread of its own, started at the first batch: on a busy disk one flush
/// takes as long as a hundred contacts' writes, and the run has nothing to wait for (the numbers are
/// already in the files). A flush that fails is reported at the next advance or sync.
class CounterSync {
public:
    explicit CounterSync(int batch = 100, int intervalMs = 1000) : m_batch(batch), m_intervalMs(intervalMs) {}
    /// Waits for the flushes under way and syncs what is still pending.
    ~CounterSync();
    CounterSync(const CounterSync&) = delete;
    CounterSync& operator=(const CounterSync&) = delete;

    /// Notes a counter file just written without a flush; hands every pending file to the flush when
    /// due. Throws Failure when an earlier flush could not sync a file.
    void advanced(const QString& path);
    /// Syncs every pending file and waits for the flushes under way. Throws Failure when one cannot be
    /// synced (the others still are).
    void syncAll();
    /// Files written since they were last handed to the flush.
    std::size_t pending() const { return m_pending.size(); }

private:
    /// Gives the pending files to the flushing thread, starting it when it does not run yet.
    void handOver();
    /// Throws Failure naming the files that flushes could not sync, once.
    void reportFailedFlushes();
    void flushWhenHandedOver(const std::stop_token& stop);

    int m_batch;
    int m_intervalMs;
    int m_sinceSync = 0;
    QElapsedTimer m_sinceFirst;
    std::set<QString> m_pending;

    std::mutex m_mutex;
    std::condition_variable_any m_handedOverChanged;
    std::condition_variable m_idle;
    std::set<QString> m_handedOver; ///< guarded by m_mutex
    bool m_flushing = false;        ///< guarded by m_mutex
    QStringList m_failed;           ///< guarded by m_mutex
    /// Last, so that it is stopped and joined before the members it uses go.
    std::jthread m_flusher;
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
