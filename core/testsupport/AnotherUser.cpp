#include "AnotherUser.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

namespace valdora::test {

namespace {

constexpr char Ready = 'r';
constexpr char Accepted = 'c';
constexpr char Received = 'd';
constexpr int QuietMs = 500;

/// A folder that "nobody" may enter and write in, for a socket to be bound or linked in.
QString openFolder()
{
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    setMode(dir.path(), 0777);
    return dir.path();
}

bool becomeNobody()
{
    return setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0;
}

sockaddr_un addressOf(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(),
                std::min<std::size_t>(path.size(), sizeof address.sun_path - 1));
    return address;
}

bool readable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}

// The child's part of a ForeignServer: only system calls, no Qt, after the fork.
[[noreturn]] void serveAsNobody(const QByteArray& path, int events)
{
    // A test that dies does not leave its squatter behind.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const sockaddr_un address = addressOf(path);
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (!becomeNobody() || server < 0 ||
        ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(server, 16) != 0)
        _exit(CouldNotChangeUser);
    if (::write(events, &Ready, 1) != 1)
        _exit(1);
    for (;;) {
        const int client = ::accept(server, nullptr, nullptr);
        if (client < 0)
            continue;
        if (::write(events, &Accepted, 1) != 1)
            _exit(1);
        char byte = 0;
        if (readable(client, QuietMs) && ::read(client, &byte, 1) == 1 && ::write(events, &Received, 1) != 1)
            _exit(1);
        ::close(client);
    }
}

} // namespace

bool canActAsAnotherUser()
{
    return geteuid() == 0;
}

ForeignServer::ForeignServer(const QString& path) : m_path(path), m_folder(openFolder())
{
    const QByteArray bound = QFile::encodeName(m_folder + QStringLiteral("/s"));
    int pipeEnds[2] = {-1, -1};
    if (::pipe(pipeEnds) != 0)
        return;
    const pid_t child = fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        serveAsNobody(bound, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    m_events = pipeEnds[0];
    m_pid = child;
    char first = 0;
    if (child < 0 || !readable(m_events, 5000) || ::read(m_events, &first, 1) != 1 || first != Ready)
        return;
    m_listening = ::rename(bound.constData(), QFile::encodeName(path).constData()) == 0;
}

ForeignServer::~ForeignServer()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (m_events >= 0)
        ::close(m_events);
    if (m_listening)
        QFile::remove(m_path);
    QDir(m_folder).removeRecursively();
}

void ForeignServer::collect()
{
    char byte = 0;
    while (m_events >= 0 && readable(m_events, 0) && ::read(m_events, &byte, 1) == 1) {
        if (byte == Accepted)
            ++m_connections;
        else if (byte == Received)
            ++m_sent;
    }
}

int ForeignServer::connections()
{
    collect();
    return m_connections;
}

int ForeignServer::connectionsThatSent()
{
    // A connection's bytes are looked for during a short while after it was accepted.
    QThread::msleep(QuietMs + 100);
    collect();
    return m_sent;
}

ForeignVisit visitAsAnotherUser(const QString& path, const QByteArray& request, int timeoutMs)
{
    ForeignVisit visit;
    const QString folder = openFolder();
    const QByteArray linked = QFile::encodeName(folder + QStringLiteral("/s"));
    const QByteArray target = QFile::encodeName(path);
    struct stat info {};
    if (::stat(target.constData(), &info) != 0 || ::link(target.constData(), linked.constData()) != 0)
        return visit;
    // Only the server's own check is to stand in the way: the file's mode is opened for the visit.
    ::chmod(target.constData(), 0777);
    const auto cleanUp = qScopeGuard([&] {
        ::chmod(target.constData(), info.st_mode & 07777);
        QDir(folder).removeRecursively();
    });
    int pipeEnds[2] = {-1, -1};
    if (::pipe(pipeEnds) != 0)
        return visit;
    const pid_t child = fork();
    if (child == 0) {
        // Reports one byte of outcome (bit 0: connected, bit 1: closed by the server), then the answer.
        ::close(pipeEnds[0]);
        const sockaddr_un address = addressOf(linked);
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (!becomeNobody() || socket < 0)
            _exit(CouldNotChangeUser);
        char outcome = 0;
        QByteArrayView answer;
        char buffer[4096];
        std::size_t received = 0;
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            outcome |= 1;
            // A server that drops the connection may make the write fail: that is an answer too.
            ::signal(SIGPIPE, SIG_IGN);
            [[maybe_unused]] const auto written =
                ::write(socket, request.constData(), std::size_t(request.size()));
            while (received < sizeof buffer && readable(socket, timeoutMs)) {
                const auto got = ::read(socket, buffer + received, sizeof buffer - received);
                if (got <= 0) {
                    outcome |= 2;
                    break;
                }
                received += std::size_t(got);
            }
        }
        answer = QByteArrayView(buffer, qsizetype(received));
        if (::write(pipeEnds[1], &outcome, 1) != 1 ||
            ::write(pipeEnds[1], answer.data(), std::size_t(answer.size())) != answer.size())
            _exit(1);
        _exit(0);
    }
    ::close(pipeEnds[1]);
    if (child < 0) {
        ::close(pipeEnds[0]);
        return visit;
    }
    // The server may be this process: its event loop must run while the visit waits.
    QElapsedTimer timer;
    timer.start();
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (timer.elapsed() > timeoutMs + 5000) {
            ::kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QByteArray report;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, got);
    ::close(pipeEnds[0]);
    if (!report.isEmpty()) {
        visit.connected = (report[0] & 1) != 0;
        visit.closed = (report[0] & 2) != 0;
        visit.answer = report.mid(1);
    }
    return visit;
}

} // namespace valdora::test
