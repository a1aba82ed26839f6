#include "IniCache.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdora {

namespace {

// A cached parse is trusted only for a file left unchanged this long.
constexpr qint64 SettleNs = 2'000'000'000;

qint64 nanoseconds(const timespec& time)
{
    return static_cast<qint64>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

IniCache::Stamp stampOf(const struct stat& info)
{
    return {.device = static_cast<quint64>(info.st_dev),
            .inode = static_cast<quint64>(info.st_ino),
            .size = static_cast<qint64>(info.st_size),
            .modifiedNs = nanoseconds(info.st_mtim),
            .changedNs = nanoseconds(info.st_ctim)};
}

bool isSettled(const IniCache::Stamp& stamp)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // A time in the future (a skewed file server) is not settled either.
    return nanoseconds(now) - std::max(stamp.modifiedNs, stamp.changedNs) >= SettleNs;
}

/// A file opened for reading, closed when this goes.
class OpenedFile {
public:
    explicit OpenedFile(const QByteArray& path) : m_fd(::open(path.constData(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenedFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    /// How the opened file stands; false when nothing is open or it is no regular file.
    bool stat(struct stat& info) const
    {
        return m_fd >= 0 && ::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode);
    }

    /// The whole file from its start, `size` bytes as its stamp says; false when a read fails.
    bool readAll(qint64 size, QByteArray& content) const
    {
        // One byte more than the stamp's size: a read that stops short of the buffer has met the end,
        // so a file that did not grow is read in one call, and one that grew is read on to its end.
        content.resize(static_cast<qsizetype>(size) + 1);
        qsizetype done = 0;
        for (;;) {
            if (done == content.size())
                content.resize(done + 4096);
            const size_t wanted = static_cast<size_t>(content.size() - done);
            const ssize_t n = ::read(m_fd, content.data() + done, wanted);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return false;
            done += n;
            if (n == 0 || (static_cast<size_t>(n) < wanted && done >= size))
                break;
        }
        content.resize(done);
        return true;
    }

private:
    int m_fd;
};

} // namespace

IniCache::IniCache(IniEncoding encoding, qsizetype maxFiles) : m_encoding(encoding), m_maxFiles(maxFiles) {}

std::shared_ptr<const IniDocument> IniCache::document(const QString& path)
{
    // The stamp is taken from the open file, so that what is read is the file the stamp describes,
    // and a file already parsed costs an open, an fstat and a close.
    const OpenedFile file(QFile::encodeName(path));
    struct stat info {};
    if (!file.stat(info)) {
        const std::lock_guard lock(m_mutex);
        m_entries.remove(path);
        return nullptr;
    }
    const Stamp stamp = stampOf(info);
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_entries.constFind(path);
        if (found != m_entries.cend() && found->stamp == stamp && isSettled(found->stamp))
            return found->document;
    }
    QByteArray content;
    if (!file.readAll(stamp.size, content)) {
        const std::lock_guard lock(m_mutex);
        m_entries.remove(path);
        return nullptr;
    }
    auto document = std::make_shared<const IniDocument>(IniDocument::parse(content, m_encoding));
    const std::lock_guard lock(m_mutex);
    if (m_entries.size() >= m_maxFiles && !m_entries.contains(path))
        m_entries.clear();
    m_entries.insert(path, Entry{.stamp = stamp, .document = document});
    return document;
}

void IniCache::forget(const QString& path)
{
    const std::lock_guard lock(m_mutex);
    m_entries.remove(path);
}

} // namespace valdora
