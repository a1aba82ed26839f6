#include "CounterFile.h"
#include "CounterStartValue.h"

#include "core/Failure.h"
#include "core/FileReplaceFaults.h"
#include "core/StaleTemporaries.h"
#include "core/TextLocale.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdora::engine {
namespace {

// The failure of a counter file that could not be written or flushed.
Failure accessError(const QString& paths)
{
    return Failure(ErrorNumber::PathFileAccessError, QStringLiteral("Path/File access error: ") + paths);
}

QString unusable(const QString& path, const QString& reason)
{
    return QStringLiteral("The counter file %1 cannot be used: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// Whether a counter file can be replaced in its folder. Read-only as the user means it: no write bit,
// even for a superuser whom the system would let write.
bool folderTakesNewFiles(const QString& counterPath)
{
    const QFileInfo counter(counterPath);
    const QByteArray name = QFile::encodeName(counter.absolutePath());
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    if (::access(name.constData(), W_OK | X_OK) != 0)
        return false;
    // A read-only mount passes both tests above: only a real file says so. It is named as a temporary
    // of the counter file, so that one left by a killed process goes at the counter's next replace.
    QByteArray probe = temporaryTemplate(counter.absoluteFilePath());
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.constData());
    return true;
}

// The first line of an open file, without its line end.
QString firstLineOf(QFile& file)
{
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLatin1(line);
}

} // namespace
} // namespace valdora::engine

namespace valdora::engine::CounterFile {

QString counterOf(const QString& line, const QString& path)
{
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    const QString counter = line.trimmed();
    if (whole.match(counter).hasMatch())
        return counter;
    const QString held =
        counter.isEmpty()
            ? QStringLiteral("no number")
            : QStringLiteral("\"%1\", which is not a whole number of 0 or more").arg(counter.left(40));
    throw Failure(ErrorNumber::TypeMismatch, unusable(path, QStringLiteral("it holds ") + held));
}

void checkFolder(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw Failure(
            ErrorNumber::PathNotFound,
            unusable(path,
                     QStringLiteral("its folder %1 does not exist").arg(QDir::toNativeSeparators(folder))));
}

void checkUsable(const QString& path)
{
    checkFolder(path);
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (info.isDir())
        throw Failure(ErrorNumber::PathFileAccessError, unusable(path, QStringLiteral("it is a folder")));
    if (!folderTakesNewFiles(path))
        throw Failure(
            ErrorNumber::PermissionDenied,
            unusable(path,
                     QStringLiteral("its folder %1 is read-only").arg(QDir::toNativeSeparators(folder))));
    if (!info.exists())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(ErrorNumber::PermissionDenied, unusable(path, file.errorString()));
    counterOf(firstLineOf(file), path);
}

std::optional<QString> startValue(const QString& path, const TextLocale& locale)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString line = firstLineOf(file);
    if (!locale.isNumeric(line))
        return std::nullopt;
    return line.trimmed();
}

QByteArray initialContent()
{
    return QByteArrayLiteral(" 1 \r\n");
}

QString readFirstLine(const QString& path)
{
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        throw Failure(ErrorNumber::PathNotFound, QStringLiteral("Path not found: ") + path);
    if (info.isDir())
        throw Failure(ErrorNumber::PathFileAccessError, unusable(path, QStringLiteral("it is a folder")));
    if (!info.exists() && !replaceFileAtomically(path, initialContent()))
        throw accessError(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(ErrorNumber::PermissionDenied, QStringLiteral("Permission denied: ") + path);
    return firstLineOf(file);
}

namespace {

// Adds one to a run of decimal digits, keeping its leading zeros: "0099" -> "0100", "999" -> "1000".
QString incrementDigits(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = u'0';
    }
    return QStringLiteral("1") + digits;
}

QString padded(QString number, qsizetype width)
{
    while (number.size() < width)
        number.prepend(u'0');
    return number;
}

} // namespace

QString next(const QString& counter, const TextLocale& locale)
{
    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression signedWhole(QStringLiteral("^[+-][0-9]{1,18}$"));
    if (digitsOnly.match(counter).hasMatch())
        return incrementDigits(counter);
    if (signedWhole.match(counter).hasMatch())
        return padded(QString::number(counter.toLongLong() + 1), counter.size());
    // Any other numeric text (a decimal fraction, an exponent) advances as a number.
    return padded(locale.fromDouble(locale.toDouble(counter) + 1), counter.size());
}

void write(const QString& path, const QString& counter, FileSync sync)
{
    if (!replaceFileAtomically(path, counter.toLatin1() + QByteArrayLiteral("\r\n"), sync))
        throw accessError(path);
}

void writeStartValue(const QString& path, const QString& number)
{
    write(path, number);
}

} // namespace valdora::engine::CounterFile

namespace valdora::engine {

OpenCounterFile::~OpenCounterFile()
{
    close();
}

void OpenCounterFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_writable = false;
}

bool OpenCounterFile::follow()
{
    const QByteArray name = QFile::encodeName(m_path);
    struct stat now {};
    if (::stat(name.constData(), &now) != 0 || !S_ISREG(now.st_mode)) {
        close();
        return false;
    }
    if (m_fd >= 0 && quint64(now.st_dev) == m_device && quint64(now.st_ino) == m_inode) {
        m_size = now.st_size;
        return true;
    }
    close();
    // Numbers are written in place, so no replace of this file sweeps away what writers killed while
    // creating it (or probing its folder) left beside it: the first open does.
    removeStaleTemporaries(QFileInfo(m_path).absoluteFilePath());
    m_writable = true;
    m_fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (m_fd < 0 && errno == EACCES) {
        // A counter file without write permission in a folder that takes new files is replaced as a
        // whole, as the editor does.
        m_writable = false;
        m_fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    }
    struct stat opened {};
    if (m_fd < 0 || ::fstat(m_fd, &opened) != 0) {
        close();
        return false;
    }
    m_device = quint64(opened.st_dev);
    m_inode = quint64(opened.st_ino);
    m_size = opened.st_size;
    return true;
}

QString OpenCounterFile::readFirstLine()
{
    // A missing file is created, and anything that is no readable file is said, as on the first read.
    if (!follow())
        return CounterFile::readFirstLine(m_path);
    QByteArray line;
    char chunk[128];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(m_fd, chunk, sizeof chunk, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Failure(ErrorNumber::PermissionDenied, QStringLiteral("Permission denied: ") + m_path);
        if (n == 0)
            break;
        const auto* end = static_cast<const char*>(std::memchr(chunk, '\n', static_cast<size_t>(n)));
        line.append(chunk, end ? end - chunk : n);
        if (end)
            break;
        offset += n;
    }
    while (line.endsWith('\r'))
        line.chop(1);
    return QString::fromLatin1(line);
}

void OpenCounterFile::write(const QString& counter)
{
    if (!follow() || !m_writable) {
        CounterFile::write(m_path, counter, FileSync::Later);
        return;
    }
    const QByteArray content = counter.toLatin1() + QByteArrayLiteral("\r\n");
    if (!FileReplaceFaults::allows(ReplaceStep::Write))
        throw accessError(m_path);
    // One write of a few bytes at the start of the file: a process killed around it leaves either the
    // old line or the new one, never a mix of both.
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t n = ::pwrite(m_fd, content.constData() + written,
                                   static_cast<size_t>(content.size() - written), off_t(written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw accessError(m_path);
        written += n;
    }
    // What a longer line left behind the new line end is no part of the counter; cutting it off only
    // keeps the file as users expect it, so a failure here changes nothing that counts.
    if (m_size > content.size() && ::ftruncate(m_fd, off_t(content.size())) != 0)
        return;
    m_size = content.size();
}

CounterSync::~CounterSync()
{
    // Nothing can be reported from here; a failed flush leaves the content the system holds.
    try {
        syncAll();
    } catch (const Failure&) {
    }
}

void CounterSync::advanced(const QString& path)
{
    if (m_pending.empty())
        m_sinceFirst.start();
    m_pending.insert(path);
    ++m_sinceSync;
    if (m_sinceSync >= m_batch || m_sinceFirst.elapsed() >= m_intervalMs)
        handOver();
    reportFailedFlushes();
}

void CounterSync::handOver()
{
    m_sinceSync = 0;
    if (m_pending.empty())
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_handedOver.merge(m_pending);
    }
    m_pending.clear();
    if (!m_flusher.joinable())
        m_flusher = std::jthread([this](const std::stop_token& stop) { flushWhenHandedOver(stop); });
    m_handedOverChanged.notify_one();
}

void CounterSync::flushWhenHandedOver(const std::stop_token& stop)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        // Files handed over before a stop are still flushed.
        if (!m_handedOverChanged.wait(lock, stop, [this] { return !m_handedOver.empty(); }))
            return;
        std::set<QString> files;
        files.swap(m_handedOver);
        m_flushing = true;
        lock.unlock();
        QStringList failed;
        for (const QString& path : files)
            if (!syncFile(path))
                failed << path;
        lock.lock();
        m_failed += failed;
        m_flushing = false;
        m_idle.notify_all();
    }
}

void CounterSync::reportFailedFlushes()
{
    QStringList failed;
    {
        const std::lock_guard lock(m_mutex);
        failed.swap(m_failed);
    }
    if (!failed.isEmpty())
        throw accessError(failed.join(QStringLiteral(", ")));
}

void CounterSync::syncAll()
{
    handOver();
    if (m_flusher.joinable()) {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_handedOver.empty() && !m_flushing; });
    }
    reportFailedFlushes();
}

std::shared_ptr<FileLock> CounterLocks::acquire(const QString& path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    if (std::shared_ptr<FileLock> held = m_locks[key].lock())
        return held;
    auto lock = std::make_shared<FileLock>(path, m_timeoutMs);
    // The lock lives beside the file: without its folder there is nothing to lock, and no one else
    // holds it. Asked only when the lock was not taken, since a run takes it once per contact.
    if (!lock->isLocked())
        CounterFile::checkFolder(path);
    if (!lock->isLocked())
        throw Failure(ErrorNumber::PermissionDenied,
                      QStringLiteral("Permission denied (the counter file is in use): ") + path);
    m_locks[key] = lock;
    return lock;
}

} // namespace valdora::engine
