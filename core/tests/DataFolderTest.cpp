// Where the files a program writes beside itself go: the program folder when the user can write
// there, else the suite's folder in the user's data home.
#include "core/DataFolder.h"

#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::test {
namespace {

TEST(ChooseDataFolder, TheProgramFolderWhenWritableElseTheUsersDataFolder)
{
    const QString user = QStringLiteral("/home/u/.local/share/Valdora");
    EXPECT_EQ(chooseDataFolder(QStringLiteral("/opt/v"), true, user), u"/opt/v");
    EXPECT_EQ(chooseDataFolder(QStringLiteral("/opt/v"), false, user), user);
}

struct WritableCase {
    const char* name;
    int programMode;
    const char* below; ///< appended to the program folder
    bool isFile;       ///< the path names a file, not a folder
    bool expected;
};

void PrintTo(const WritableCase& row, std::ostream* os)
{
    *os << row.name;
}

class CanCreateFilesIn : public ::testing::TestWithParam<WritableCase> {};

TEST_P(CanCreateFilesIn, AsAUserWhoDoesNotOwnTheFolder)
{
    const WritableCase& row = GetParam();
    const ProgramFolderTree tree(row.isFile ? 0777 : row.programMode);
    const QString path = tree.program() + QString::fromUtf8(row.below);
    if (row.isFile) {
        ASSERT_TRUE(writeFile(path, "x"));
        setMode(path, 0666);
    }
    EXPECT_EQ(asAnotherUser([&] { return canCreateFilesIn(path); }), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, CanCreateFilesIn,
    ::testing::Values(WritableCase{"OpenToAll", 0777, "", false, true},
                      WritableCase{"ReadOnly", 0555, "", false, false},
                      WritableCase{"ReadOnlyWithTrailingSeparator", 0555, "/", false, false},
                      WritableCase{"MissingBelowAnOpenFolder", 0777, "/a/b", false, true},
                      WritableCase{"MissingBelowAReadOnlyFolder", 0555, "/a/b", false, false},
                      WritableCase{"AFileNotAFolder", 0777, "/file", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanCreateFilesInNothing, NoFolderNamed)
{
    EXPECT_FALSE(canCreateFilesIn(QString()));
}

TEST(UserDataFolder, FollowsTheDataHome)
{
    const QTemporaryDir home;
    const PinnedDataHome pinned(home.path());
    EXPECT_EQ(userDataFolder(), QDir::toNativeSeparators(home.path() + QStringLiteral("/Valdora")));
}

TEST(DataFolderFor, AWritableProgramFolderKeepsItsFiles)
{
    const ProgramFolderTree tree(0755);
    const PinnedDataHome pinned(tree.path() + QStringLiteral("/home"));
    EXPECT_EQ(dataFolderFor(tree.program()), tree.program());
    // Nothing is made in the data home of a user who does not need it.
    EXPECT_FALSE(QFileInfo::exists(tree.path() + QStringLiteral("/home")));
}

TEST(DataFolderFor, AnInstalledProgramFolderSendsTheFilesToTheUsersDataFolder)
{
    const ProgramFolderTree tree(0555);
    const PinnedDataHome pinned(tree.openHome());
    const QString expected = QDir::toNativeSeparators(tree.openHome() + QStringLiteral("/Valdora"));
    EXPECT_TRUE(asAnotherUser([&] {
        // Made at once, since the files that go there are opened in it directly.
        return dataFolderFor(tree.program()) == expected && QFileInfo(expected).isDir();
    }));
    EXPECT_TRUE(QFileInfo(expected).isDir());
}

} // namespace
} // namespace valdora::test
