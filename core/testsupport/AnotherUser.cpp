#include "AnotherUser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace valdora::test {

namespace {

constexpr uid_t Nobody = 65534;
constexpr int CouldNotChangeUser = 2;

} // namespace

bool asAnotherUser(const std::function<bool()>& check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0)
            _exit(CouldNotChangeUser);
        _exit(check() ? 0 : 1);
    }
    // The check gets a minute; one that hangs is killed and said so, and counts as failed.
    constexpr int LimitMs = 60000;
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && waited.elapsed() < LimitMs)
        QThread::msleep(10);
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        std::fprintf(stderr, "asAnotherUser: the check as another user did not end within %d ms\n", LimitMs);
        return false;
    }
    return ended == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void setMode(const QString& path, int mode)
{
    chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode));
}

ProgramFolderTree::ProgramFolderTree(int programMode)
{
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    m_path = dir.path();
    setMode(m_path, 0755);
    QDir().mkpath(program());
    setMode(program(), programMode);
}

ProgramFolderTree::~ProgramFolderTree()
{
    setMode(program(), 0755);
    QDir(m_path).removeRecursively();
}

QString ProgramFolderTree::openHome() const
{
    const QString home = m_path + QStringLiteral("/home");
    QDir().mkpath(home);
    setMode(home, 0777);
    return home;
}

PinnedDataHome::PinnedDataHome(const QString& folder) : m_previous(qgetenv("XDG_DATA_HOME"))
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
}

PinnedDataHome::~PinnedDataHome()
{
    qputenv("XDG_DATA_HOME", m_previous);
}

} // namespace valdora::test
