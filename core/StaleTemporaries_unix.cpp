#include "StaleTemporaries.h"

#include "ProcessRunning.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <mutex>
#include <unordered_map>

#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdora {

namespace {

// The targets this process swept lately, with the time each is due again: the process-wide state
// of the sweep, shared by every thread.
struct SweptTargets {
    std::mutex mutex;
    std::unordered_map<QString, QDeadlineTimer> nextSweep;
};

SweptTargets& sweptTargets()
{
    static SweptTargets targets;
    return targets;
}

// True once per StaleTemporaryAge for each target.
bool sweepDue(const QString& target)
{
    SweptTargets& swept = sweptTargets();
    const std::scoped_lock lock(swept.mutex);
    QDeadlineTimer& next = swept.nextSweep[target];
    if (!next.hasExpired()) // a target not swept yet has an expired (default) deadline
        return false;
    next = QDeadlineTimer(StaleTemporaryAge);
    return true;
}

// The six characters mkstemp() puts in place of "XXXXXX".
bool isUniqueSuffix(QByteArrayView text)
{
    if (text.size() != 6)
        return false;
    for (const char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

bool isOlderThan(const struct stat& info, std::chrono::seconds age)
{
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - info.st_mtim.tv_sec > age.count();
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

QByteArray temporaryTemplate(const QString& target)
{
    const QFileInfo info(target);
    return QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') +
                             QString::number(::getpid()) + QStringLiteral(".XXXXXX"));
}

std::optional<qint64> temporaryWriter(QByteArrayView entry, QByteArrayView targetName)
{
    if (targetName.isEmpty() || entry.size() < targetName.size() + 2 || entry[0] != '.' ||
        entry.sliced(1, targetName.size()) != targetName || entry[targetName.size() + 1] != '.')
        return std::nullopt;
    const QByteArrayView rest = entry.sliced(targetName.size() + 2);
    if (isUniqueSuffix(rest))
        return 0;
    // "<pid>.XXXXXX": a pid of at most ten digits, the largest a pid_t holds.
    const qsizetype dot = rest.indexOf('.');
    if (dot < 1 || dot > 10 || !isUniqueSuffix(rest.sliced(dot + 1)))
        return std::nullopt;
    qint64 pid = 0;
    for (const char c : rest.first(dot)) {
        if (c < '0' || c > '9')
            return std::nullopt;
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 ? std::optional(pid) : std::nullopt;
}

void removeStaleTemporaries(const QString& target)
{
    const QFileInfo info(target);
    if (!sweepDue(info.absoluteFilePath()))
        return;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(QFile::encodeName(info.absolutePath()).constData()));
    if (!dir)
        return;
    const int folder = ::dirfd(dir.get());
    const QByteArray name = QFile::encodeName(info.fileName());
    while (const struct dirent* entry = ::readdir(dir.get())) {
        const std::optional<qint64> writer = temporaryWriter(entry->d_name, name);
        struct stat file {};
        if (!writer || ::fstatat(folder, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(file.st_mode))
            continue;
        // Without a pid in the name only its age tells that no one will rename it any more.
        const bool writerGone = *writer > 0 && !isProcessRunning(*writer);
        if (writerGone || isOlderThan(file, StaleTemporaryAge))
            ::unlinkat(folder, entry->d_name, 0);
    }
}

} // namespace valdora
