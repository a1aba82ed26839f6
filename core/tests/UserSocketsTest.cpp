#include "core/UserSockets.h"
#include "core/LocalSockets.h"
#include "core/testsupport/AnotherUser.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace valdora::test {
namespace {

/// Sets an environment variable for the lifetime of the object (unset when `value` is null).
class PinnedVariable {
public:
    PinnedVariable(const char* name, const QByteArray& value)
        : m_name(name), m_previous(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~PinnedVariable()
    {
        if (m_had)
            qputenv(m_name, m_previous);
        else
            qunsetenv(m_name);
    }
    PinnedVariable(const PinnedVariable&) = delete;
    PinnedVariable& operator=(const PinnedVariable&) = delete;

private:
    const char* m_name;
    QByteArray m_previous;
    bool m_had;
};

int modeOf(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

/// A temporary folder that everyone may write in, as the shared temporary folder is.
struct SharedTemp {
    SharedTemp() { setMode(dir.path(), 01777); }
    QTemporaryDir dir;
    QString fallback() const
    {
        return dir.path() + QStringLiteral("/valdora-runtime-") + QString::number(currentUserId());
    }
};

struct FolderCase {
    const char* name;
    bool runtimeSet;                                    ///< XDG_RUNTIME_DIR points at `target`
    std::function<bool(const QString& target)> prepare; ///< what is at the folder's place beforehand
    QString problem;                                    ///< the start of the refusal; empty: accepted
};

TEST(UserSocketFolder, OnlyAPrivateFolderOfTheUserIsTaken)
{
    const FolderCase cases[] = {
        {"the runtime folder",
         true,
         [](const QString& t) { return QDir().mkdir(t) && (setMode(t, 0700), true); },
         {}},
        {"a runtime folder not yet made", true, [](const QString&) { return true; }, {}},
        {"a runtime folder others may enter", true,
         [](const QString& t) { return QDir().mkdir(t) && (setMode(t, 0755), true); },
         QStringLiteral("The folder for this user's sockets \"%1\" is open to other users (mode 0755")},
        {"a link in the runtime folder's place", true,
         [](const QString& t) { return QFile::link(QDir::tempPath(), t); },
         QStringLiteral("The folder for this user's sockets \"%1\" is not a folder")},
        {"no runtime folder: one in the temporary folder", false, [](const QString&) { return true; }, {}},
        {"no runtime folder, and the one in the temporary folder is open", false,
         [](const QString& t) { return QDir().mkdir(t) && (setMode(t, 0777), true); },
         QStringLiteral("The folder for this user's sockets \"%1\" is open to other users (mode 0777")},
        {"no runtime folder, and another user made the one in the temporary folder", false,
         [](const QString& t) {
             // Root may make a folder for anyone: a squatter would make it as itself.
             return canActAsAnotherUser()
                        ? asAnotherUser([&] { return QDir().mkdir(t) && (setMode(t, 0700), true); })
                        : true;
         },
         QStringLiteral("The folder for this user's sockets \"%1\" belongs to another user (")},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.problem.contains(QLatin1String("another user")) && !canActAsAnotherUser())
            continue;
        SharedTemp temp;
        const PinnedVariable tmpdir("TMPDIR", QFile::encodeName(temp.dir.path()));
        const QString target = c.runtimeSet ? temp.dir.path() + QStringLiteral("/runtime") : temp.fallback();
        const PinnedVariable runtime("XDG_RUNTIME_DIR",
                                     c.runtimeSet ? QFile::encodeName(target) : QByteArray());
        ASSERT_TRUE(c.prepare(target));
        const SocketPlace place = userSocketFolder();
        if (c.problem.isEmpty()) {
            EXPECT_EQ(place.problem, QString());
            EXPECT_EQ(place.path, target);
            EXPECT_EQ(modeOf(target), 0700);
        } else {
            EXPECT_EQ(place.path, QString());
            EXPECT_TRUE(place.problem.startsWith(c.problem.arg(target))) << place.problem.toStdString();
        }
        const SocketPlace socket = userSocketPath(QStringLiteral("valdora-x"));
        EXPECT_EQ(socket.path, c.problem.isEmpty() ? target + QStringLiteral("/valdora-x") : QString());
    }
}

TEST(UserSocketFolder, ASocketNameIsAPlainName)
{
    for (const char* name : {"", "a/b", "/tmp/x", "..", "."}) {
        SCOPED_TRACE(name);
        const SocketPlace place = userSocketPath(QString::fromUtf8(name));
        EXPECT_EQ(place.path, QString());
        EXPECT_TRUE(place.problem.contains(QLatin1String("is not a plain name")))
            << place.problem.toStdString();
    }
}

TEST(LocalSockets, AServerOfThisUserIsReachedAndTakesOverItsStaleSocket)
{
    const QString name = QStringLiteral("valdora-own-%1").arg(::getpid());
    const QString path = userSocketPath(name).path;
    ASSERT_FALSE(path.isEmpty());
    {
        // A socket file left by a server of this user that ended without closing it.
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    QLocalServer server;
    EXPECT_EQ(listenAsOwnUser(server, name), QString());
    EXPECT_EQ(server.fullServerName(), path);
    EXPECT_EQ(modeOf(path) & 0077, 0);
    QLocalSocket client;
    const LocalReach reach = connectToOwnServer(client, name, 2000);
    EXPECT_EQ(reach.outcome, LocalReach::Outcome::Connected);
    EXPECT_EQ(reach.path, path);
    ASSERT_TRUE(server.waitForNewConnection(2000)) << "the server saw no connection";
    QLocalSocket* accepted = server.nextPendingConnection();
    ASSERT_NE(accepted, nullptr);
    EXPECT_TRUE(admitOwnUserOnly(*accepted));
}

TEST(LocalSockets, NoServerIsNoServer)
{
    QLocalSocket client;
    const LocalReach reach = connectToOwnServer(client, QStringLiteral("valdora-nobody-listens"), 200);
    EXPECT_EQ(reach.outcome, LocalReach::Outcome::NoServer);
    EXPECT_EQ(reach.message, QString());
}

TEST(LocalSockets, AServerOfAnotherUserIsDroppedAndNamed)
{
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    const QString name = QStringLiteral("valdora-foreign-%1").arg(::getpid());
    const QString path = userSocketPath(name).path;
    ForeignServer foreign(path);
    ASSERT_TRUE(foreign.listening());
    QLocalSocket client;
    const LocalReach reach = connectToOwnServer(client, name, 2000);
    EXPECT_EQ(reach.outcome, LocalReach::Outcome::OtherUser);
    EXPECT_EQ(
        reach.message,
        QStringLiteral("The socket \"%1\" belongs to another user (nobody, uid 65534): nothing is sent to it")
            .arg(path));
    EXPECT_EQ(client.state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(foreign.connectionsThatSent(), 0);

    // A server does not take the other user's socket over either.
    QLocalServer server;
    EXPECT_EQ(listenAsOwnUser(server, name), reach.message);
    EXPECT_FALSE(server.isListening());
}

TEST(LocalSockets, AClientOfAnotherUserGetsNothing)
{
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    const QString name = QStringLiteral("valdora-visited-%1").arg(::getpid());
    QLocalServer server;
    ASSERT_EQ(listenAsOwnUser(server, name), QString());
    int admitted = 0;
    int refused = 0;
    QObject::connect(&server, &QLocalServer::newConnection, [&] {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            if (admitOwnUserOnly(*socket)) {
                ++admitted;
                socket->write("welcome\n");
            } else {
                ++refused;
            }
        }
    });
    const ForeignVisit visit = visitAsAnotherUser(server.fullServerName(), "hello\n");
    EXPECT_TRUE(visit.connected);
    EXPECT_TRUE(visit.closed);
    EXPECT_EQ(visit.answer, QByteArray());
    EXPECT_EQ(admitted, 0);
    EXPECT_EQ(refused, 1);
}

} // namespace
} // namespace valdora::test
