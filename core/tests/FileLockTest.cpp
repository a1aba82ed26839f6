#include "core/FileLock.h"

#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace valdora {
namespace {

// Another process that takes the lock, says so through a pipe, and keeps it for `holdMs` (or until
// it is killed).
class LockHolder {
public:
    LockHolder(const QString& file, int holdMs)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const FileLock lock(file, 1000);
            const char state = lock.isLocked() ? 'L' : 'F';
            [[maybe_unused]] const auto written = ::write(fds[1], &state, 1);
            ::usleep(static_cast<useconds_t>(holdMs) * 1000);
            ::_exit(0);
        }
        ::close(fds[1]);
        char state = 0;
        m_locked = ::read(fds[0], &state, 1) == 1 && state == 'L';
        ::close(fds[0]);
    }
    ~LockHolder() { kill(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool locked() const { return m_locked; }
    void kill()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

class FileLockTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QStringList entries() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    QTemporaryDir m_dir;
};

TEST_F(FileLockTest, LockLivesOnAHiddenCompanion)
{
    const QString file = path(QStringLiteral("~100.ini"));
    {
        const FileLock lock(file);
        EXPECT_TRUE(lock.isLocked());
    }
    EXPECT_EQ(entries(), QStringList{QStringLiteral(".~100.ini.lock")});
    const FileLock again(file, 0);
    EXPECT_TRUE(again.isLocked()); // released by the first holder
}

TEST_F(FileLockTest, SecondProcessHoldingTheLockMakesUsWaitThenGiveUp)
{
    const QString file = path(QStringLiteral("~100.ini"));
    LockHolder holder(file, 30000);
    ASSERT_TRUE(holder.locked());
    QElapsedTimer timer;
    timer.start();
    const FileLock lock(file, 200);
    EXPECT_FALSE(lock.isLocked());
    EXPECT_GE(timer.elapsed(), 150);
}

TEST_F(FileLockTest, HolderThatEndsHandsTheLockOver)
{
    const QString file = path(QStringLiteral("~100.ini"));
    LockHolder holder(file, 300);
    ASSERT_TRUE(holder.locked());
    const FileLock lock(file, 10000);
    EXPECT_TRUE(lock.isLocked());
}

TEST_F(FileLockTest, KilledHolderLeavesNoLockBehind)
{
    const QString file = path(QStringLiteral("~100.ini"));
    LockHolder holder(file, 30000);
    ASSERT_TRUE(holder.locked());
    holder.kill();
    const FileLock lock(file, 0);
    EXPECT_TRUE(lock.isLocked());
}

TEST_F(FileLockTest, MissingFolderCannotBeLocked)
{
    const FileLock lock(path(QStringLiteral("missing/~100.ini")), 0);
    EXPECT_FALSE(lock.isLocked());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));
}

TEST_F(FileLockTest, ReplaceWritesTheWholeContentAndKeepsTheMode)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(test::writeFile(file, "old content, longer than the new"));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_TRUE(replaceFileAtomically(file, "[Settings]\r\n"));
    EXPECT_EQ(test::readFile(file), "[Settings]\r\n");
    EXPECT_EQ(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_EQ(entries(), QStringList{QStringLiteral("~100.ini")}); // no temporary file left
    EXPECT_TRUE(replaceFileAtomically(path(QStringLiteral("new.ini")), QByteArray()));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("new.ini"))).isFile());
}

TEST_F(FileLockTest, ReplaceSyncedLaterIsStillWholeAndAtomic)
{
    const QString file = path(QStringLiteral("Invoice.num"));
    ASSERT_TRUE(test::writeFile(file, "0001\r\n"));
    EXPECT_TRUE(replaceFileAtomically(file, "0002\r\n", FileSync::Later));
    EXPECT_EQ(test::readFile(file), "0002\r\n");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("Invoice.num")});
    EXPECT_TRUE(syncFile(file));
    EXPECT_FALSE(syncFile(path(QStringLiteral("missing.num"))));
}

TEST_F(FileLockTest, FailedReplaceLeavesTheTargetAndNoTemporaryFile)
{
    EXPECT_FALSE(replaceFileAtomically(path(QStringLiteral("missing/~100.ini")), "x"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));

    // A folder in the way of the rename: the rename fails, the folder and its content stay.
    const QString inTheWay = path(QStringLiteral("~101.ini"));
    ASSERT_TRUE(test::writeFile(inTheWay + QStringLiteral("/kept.txt"), "kept"));
    EXPECT_FALSE(replaceFileAtomically(inTheWay, "x"));
    EXPECT_EQ(test::readFile(inTheWay + QStringLiteral("/kept.txt")), "kept");
    EXPECT_EQ(entries(), QStringList{QStringLiteral("~101.ini")});
}

TEST_F(FileLockTest, UnwritableFolderFailsToReplace)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "a superuser writes into any folder";
    const QString folder = path(QStringLiteral("locked"));
    ASSERT_TRUE(test::writeFile(folder + QStringLiteral("/~100.ini"), "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    EXPECT_FALSE(replaceFileAtomically(folder + QStringLiteral("/~100.ini"), "new"));
    EXPECT_FALSE(FileLock(folder + QStringLiteral("/~101.ini"), 0).isLocked());
    EXPECT_EQ(test::readFile(folder + QStringLiteral("/~100.ini")), "old");
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

} // namespace
} // namespace valdora
