#pragma once

#include <QString>

#include <functional>

namespace valdora::test {

/// Runs `check` as a user who owns none of the test's folders and gives its answer. Root may write
/// anywhere, so when the tests run as root the check runs in a child process that has given up root
/// for the account "nobody"; otherwise it runs here, and the test's folders are the user's own.
/// The check must not use GoogleTest's assertions: only its answer comes back.
bool asAnotherUser(const std::function<bool()>& check);

/// Sets the permission bits of a file or folder, such as 0555 for a folder no one may write in.
void setMode(const QString& path, int mode);

/// A temporary folder that another user may pass through, holding one folder "program" with the
/// given mode (made writable again at the end, so that it can be removed).
class ProgramFolderTree {
public:
    explicit ProgramFolderTree(int programMode);
    ~ProgramFolderTree();
    ProgramFolderTree(const ProgramFolderTree&) = delete;
    ProgramFolderTree& operator=(const ProgramFolderTree&) = delete;

    QString path() const { return m_path; }
    QString program() const { return m_path + QStringLiteral("/program"); }
    /// A folder "home" beside the program folder that everyone may write in: a data home.
    QString openHome() const;

private:
    QString m_path;
};

/// Points XDG_DATA_HOME at a folder for the lifetime of the object, then restores it.
class PinnedDataHome {
public:
    explicit PinnedDataHome(const QString& folder);
    ~PinnedDataHome();
    PinnedDataHome(const PinnedDataHome&) = delete;
    PinnedDataHome& operator=(const PinnedDataHome&) = delete;

private:
    QByteArray m_previous;
};

/// True when a test can act as another user: the tests run as root, who may become "nobody".
bool canActAsAnotherUser();

/// A local server of another user ("nobody") at `path`, as a user squatting a socket name would set
/// one up: it listens in a folder of its own that it may enter and is then moved to `path` (root may
/// move it into a folder that user could never enter). It accepts every connection and closes it
/// without a byte, and counts the connections and those that sent it anything. Needs
/// canActAsAnotherUser(); the server ends and its file goes with the object.
class ForeignServer {
public:
    explicit ForeignServer(const QString& path);
    ~ForeignServer();
    ForeignServer(const ForeignServer&) = delete;
    ForeignServer& operator=(const ForeignServer&) = delete;

    /// True once the server listens at the path.
    bool listening() const { return m_listening; }
    /// Connections accepted so far.
    int connections();
    /// Connections that sent at least one byte before they closed.
    int connectionsThatSent();

private:
    void collect();

    QString m_path;
    QString m_folder;
    int m_pid = -1;
    int m_events = -1;
    bool m_listening = false;
    int m_connections = 0;
    int m_sent = 0;
};

/// What another user got when it connected to a server of this user and sent it bytes.
struct ForeignVisit {
    bool connected = false; ///< the connection was made (the kernel takes it before any check)
    QByteArray answer;      ///< what the server sent back before it closed
    bool closed = false;    ///< the server closed the connection (rather than leaving it open)
};

/// Connects to the socket at `path` as another user ("nobody"), reached through a link in a folder
/// that user may enter and with the socket file opened to everyone meanwhile (so that only the
/// server's own check of its client stands in the way), sends `request` and reads until the server
/// closes or `timeoutMs` passes.
/// This process's event loop runs meanwhile, so a server of this process can answer. Needs
/// canActAsAnotherUser().
ForeignVisit visitAsAnotherUser(const QString& path, const QByteArray& request, int timeoutMs = 3000);

} // namespace valdora::test
