#include "UserSockets.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace valdora {

namespace {

constexpr mode_t PrivateFolderMode = 0700;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

/// Makes the folder when it is missing, then accepts it only when it is a real folder (not a link),
/// owned by this user and closed to everyone else.
QString privateFolderProblem(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), PrivateFolderMode) == 0) {
        // The umask may have taken bits away; the owner needs all three.
        ::chmod(native.constData(), PrivateFolderMode);
    } else if (errno != EEXIST) {
        return QStringLiteral("The folder for this user's sockets \"%1\" cannot be made: %2")
            .arg(path, systemError());
    }
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        return QStringLiteral("The folder for this user's sockets \"%1\" cannot be read: %2")
            .arg(path, systemError());
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("The folder for this user's sockets \"%1\" is not a folder").arg(path);
    if (info.st_uid != ::geteuid())
        return QStringLiteral("The folder for this user's sockets \"%1\" belongs to another user (%2)")
            .arg(path, describeUser(info.st_uid));
    if ((info.st_mode & 07777) != PrivateFolderMode)
        return QStringLiteral("The folder for this user's sockets \"%1\" is open to other users (mode %2, "
                              "not 0700)")
            .arg(path, QString::number(info.st_mode & 07777, 8).rightJustified(4, u'0'));
    return {};
}

} // namespace

SocketPlace userSocketFolder()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/valdora-runtime-") + QString::number(currentUserId());
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    QString problem = privateFolderProblem(folder);
    if (!problem.isEmpty())
        return {QString(), problem};
    return {folder, QString()};
}

SocketPlace userSocketPath(const QString& name)
{
    if (name.isEmpty() || name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String(".."))
        return {QString(), QStringLiteral("The socket name \"%1\" is not a plain name").arg(name)};
    SocketPlace place = userSocketFolder();
    if (place.problem.isEmpty())
        place.path += u'/' + name;
    return place;
}

uint currentUserId()
{
    return ::geteuid();
}

std::optional<uint> peerUserId(qintptr descriptor)
{
    if (descriptor < 0)
        return std::nullopt;
    struct ucred credentials {};
    socklen_t size = sizeof credentials;
    if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return std::nullopt;
    return credentials.uid;
}

std::optional<uint> fileOwnerId(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return info.st_uid;
}

QString describeUser(uint userId)
{
    // getpwuid_r: another thread may look up users at the same time.
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid_t(userId), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QStringLiteral("%1, uid %2").arg(QString::fromLocal8Bit(found->pw_name)).arg(userId);
    return QStringLiteral("uid %1").arg(userId);
}

QString foreignSocketMessage(const QString& path, uint ownerId)
{
    return QStringLiteral("The socket \"%1\" belongs to another user (%2): nothing is sent to it")
        .arg(path, describeUser(ownerId));
}

} // namespace valdora
