#include "CounterFile.h"

#include "core/Failure.h"
#include "core/StaleTemporaries.h"
#include "core/TextSemantics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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

} // namespace valdora::engine::CounterFile

namespace valdora::engine {

CounterSync::~CounterSync()
{
    // Nothing can be reported from here; a failed flush leaves the content the system holds.
    for (const QString& path : m_pending)
        syncFile(path);
}

void CounterSync::advanced(const QString& path)
{
    if (m_pending.empty())
        m_sinceFirst.start();
    m_pending.insert(path);
    ++m_sinceSync;
    if (m_sinceSync >= m_batch || m_sinceFirst.elapsed() >= m_intervalMs)
        syncAll();
}

void CounterSync::syncAll()
{
    QStringList failed;
    for (const QString& path : m_pending)
        if (!syncFile(path))
            failed << path;
    m_pending.clear();
    m_sinceSync = 0;
    if (!failed.isEmpty())
        throw accessError(failed.join(QStringLiteral(", ")));
}

std::shared_ptr<FileLock> CounterLocks::acquire(const QString& path)
{
    const QString key = QFileInfo(path).absoluteFilePath();
    if (std::shared_ptr<FileLock> held = m_locks[key].lock())
        return held;
    // The lock lives beside the file: without its folder there is nothing to lock, and no one else
    // holds it.
    CounterFile::checkFolder(path);
    auto lock = std::make_shared<FileLock>(path, m_timeoutMs);
    if (!lock->isLocked())
        throw Failure(ErrorNumber::PermissionDenied,
                      QStringLiteral("Permission denied (the counter file is in use): ") + path);
    m_locks[key] = lock;
    return lock;
}

} // namespace valdora::engine
