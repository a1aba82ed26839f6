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

// Reads a whole regular file and how it stood when read; false when it cannot be read.
bool readFile(const QByteArray& path, QByteArray& content, IniCache::Stamp& stamp)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        stamp = stampOf(info);
        content.resize(static_cast<qsizetype>(info.st_size));
        qsizetype done = 0;
        while (ok) {
            if (done == content.size())
                content.resize(done + 4096); // the file grew while being read
            const ssize_t n = ::read(fd, content.data() + done, static_cast<size_t>(content.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            ok = n >= 0;
            if (n <= 0)
                break;
            done += n;
        }
        content.resize(done);
    }
    ::close(fd);
    return ok;
}

} // namespace

IniCache::IniCache(IniEncoding encoding, qsizetype maxFiles) : m_encoding(encoding), m_maxFiles(maxFiles) {}

std::shared_ptr<const IniDocument> IniCache::document(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    const bool exists = ::stat(name.constData(), &info) == 0;
    const std::lock_guard lock(m_mutex);
    if (!exists) {
        m_entries.remove(path);
        return nullptr;
    }
    const auto found = m_entries.constFind(path);
    if (found != m_entries.cend() && found->stamp == stampOf(info) && isSettled(found->stamp))
        return found->document;

    QByteArray content;
    Stamp stamp;
    if (!readFile(name, content, stamp)) {
        m_entries.remove(path);
        return nullptr;
    }
    auto document = std::make_shared<const IniDocument>(IniDocument::parse(content, m_encoding));
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
