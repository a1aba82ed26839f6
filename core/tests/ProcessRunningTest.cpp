#include "core/ProcessRunning.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace valdora {
namespace {

TEST(ProcessRunning, ThisProcessRuns)
{
    EXPECT_TRUE(isProcessRunning(::getpid()));
    EXPECT_TRUE(isProcessRunning(1)) << "init runs, even when it is another user's";
}

TEST(ProcessRunning, IdsThatNameNoSingleProcessDoNotRun)
{
    // kill() takes these for process groups: the check must not.
    for (const qint64 pid : {qint64(0), qint64(-1), qint64(-2), qint64(1) << 40})
        EXPECT_FALSE(isProcessRunning(pid)) << pid;
}

TEST(ProcessRunning, KilledChildRunsNoMoreAlsoBeforeItIsReaped)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    EXPECT_TRUE(isProcessRunning(child));
    ::kill(child, SIGKILL);
    // Until waitpid() the child is a zombie: still in the table, but no longer running.
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_FALSE(isProcessRunning(child));
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(isProcessRunning(child));
}

} // namespace
} // namespace valdora
