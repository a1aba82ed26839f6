#pragma once

#include "core/FileLock.h"
#include "core/TextSemantics.h"

#include <QString>

#include <map>
#include <memory>

namespace valdora::engine {

/// The counter files of AutoNumber buttons: one line, the next number as decimal digits (leading
/// zeros and surrounding blanks allowed).
namespace CounterFile {

/// The content of a new counter file: " 1 " and a line end.
QByteArray initialContent();
/// The first line of a counter file; creates a missing file holding " 1 " first. Throws Failure
/// when the file cannot be created or read.
QString readFirstLine(const QString& path);
/// The counter after `counter`: exact for any number of digits, its width kept ("0099" -> "0100",
/// "9999" -> "10000", "-1" -> "0"). A text that is not a whole number is advanced as a number.
QString next(const QString& counter, const TextLocale& locale);
/// Replaces a counter file's content by one line, atomically. Throws Failure when it cannot.
void write(const QString& path, const QString& counter);

} // namespace CounterFile

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
