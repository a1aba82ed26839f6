#include "RecordLocks.h"

#include <fcntl.h>
#include <unistd.h>

namespace valdora::host::embedded {

namespace {

struct flock byteOf(qint64 record, short type)
{
    struct flock region = {};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    region.l_start = off_t(record);
    region.l_len = 1;
    region.l_pid = 0;
    return region;
}

} // namespace

RecordLocks::RecordLocks(const QString& databasePath, Where where)
{
    const QByteArray path = (databasePath + QStringLiteral("-locks")).toLocal8Bit();
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0)
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The record lock file %1 cannot be opened: check that its folder "
                                         "can be written")
                              .arg(QString::fromLocal8Bit(path)),
                          where);
}

RecordLocks::~RecordLocks()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RecordLocks::tryLock(qint64 record)
{
    struct flock region = byteOf(record, F_WRLCK);
    return ::fcntl(m_fd, F_OFD_SETLK, &region) == 0;
}

void RecordLocks::unlock(qint64 record)
{
    struct flock region = byteOf(record, F_UNLCK);
    ::fcntl(m_fd, F_OFD_SETLK, &region);
}

bool RecordLocks::heldByOther(qint64 record) const
{
    struct flock region = byteOf(record, F_WRLCK);
    if (::fcntl(m_fd, F_OFD_GETLK, &region) != 0)
        return false;
    return region.l_type != F_UNLCK;
}

} // namespace valdora::host::embedded
