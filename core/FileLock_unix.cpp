#include "FileLock.h"

#include "FileReplaceFaults.h"
#include "StaleTemporaries.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdora {

namespace {

QString companionLockPath(const QString& lockedFile)
{
    const QFileInfo info(lockedFile);
    return info.absolutePath() + QLatin1Char('/') + QLatin1Char('.') + info.fileName() +
           QStringLiteral(".lock");
}

} // namespace

FileLock::FileLock(const QString& lockedFile, int timeoutMs)
{
    const QByteArray path = QFile::encodeName(companionLockPath(lockedFile));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    // flock locks die with their holder, so a crashed process never leaves the file locked.
    QDeadlineTimer deadline(timeoutMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
            ::close(fd);
            return;
        }
        QThread::usleep(500);
    }
    m_fd = fd;
}

FileLock::~FileLock()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
}

bool replaceFileAtomically(const QString& path, const QByteArray& content, FileSync sync)
{
    const QFileInfo target(path);
    const QString absolute = target.absoluteFilePath();
    removeStaleTemporaries(absolute);
    const QByteArray finalName = QFile::encodeName(absolute);
    QByteArray tempName = temporaryTemplate(absolute);
    if (!FileReplaceFaults::allows(ReplaceStep::CreateTemporary))
        return false;
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return false;
    bool ok = FileReplaceFaults::allows(ReplaceStep::Write);
    qsizetype written = 0;
    while (ok && written < content.size()) {
        const ssize_t n =
            ::write(fd, content.constData() + written, static_cast<size_t>(content.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        written += n > 0 ? n : 0;
    }
    if (ok) {
        struct stat existing {};
        const mode_t mode = ::stat(finalName.constData(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
        ok = ::fchmod(fd, mode) == 0;
    }
    ok = ok &&
         (sync == FileSync::Later || (FileReplaceFaults::allows(ReplaceStep::Flush) && ::fdatasync(fd) == 0));
    ok = (::close(fd) == 0) && ok;
    ok = ok && FileReplaceFaults::allows(ReplaceStep::Rename) &&
         ::rename(tempName.constData(), finalName.constData()) == 0;
    if (!ok)
        ::unlink(tempName.constData());
    return ok;
}

bool syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fdatasync(fd) == 0;
    return (::close(fd) == 0) && ok;
}

} // namespace valdora
