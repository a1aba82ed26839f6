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

} // namespace valdora::test
