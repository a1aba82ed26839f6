#include "SettingsTestSupport.h"

#include "settings/ProgramSession.h"
#include "settings/SettingsLocation.h"

#include "core/testsupport/AnotherUser.h"

#include <QDir>

namespace valdora::test {
namespace {

using SettingsLocationTest = SettingsTest;

TEST_F(SettingsLocationTest, FirstStartCreatesTheDefaultFolderWithOneBlankLine)
{
    const QString program = path(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_TRUE(SettingsLocation::ensureDefaultSettingsFolder(program));
    EXPECT_EQ(readFile(program + QStringLiteral("/Settings/valdora.ini")), " \r\n");
    // Nothing is written to the per-user store.
    EXPECT_TRUE(UserSettings().sections(Application::Valdora).isEmpty());
}

TEST_F(SettingsLocationTest, AnExistingFolderIsLeftAlone)
{
    const QString program = path(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/Settings")));
    EXPECT_TRUE(SettingsLocation::ensureDefaultSettingsFolder(program));
    EXPECT_FALSE(QFileInfo::exists(program + QStringLiteral("/Settings/valdora.ini")));
}

TEST_F(SettingsLocationTest, DefaultSettingsFileIsTheOneTheFolderWasCreatedWith)
{
    const QString program = path(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_EQ(SettingsLocation::defaultSettingsFilePath(program, QStringLiteral("Valdora")),
              program + QStringLiteral("/Settings/Valdora.ini"));
    ASSERT_TRUE(SettingsLocation::ensureDefaultSettingsFolder(program));
    EXPECT_EQ(SettingsLocation::defaultSettingsFilePath(program, QStringLiteral("Valdora")),
              program + QStringLiteral("/Settings/valdora.ini"));
    EXPECT_EQ(SettingsLocation::settingsFilePathAtStartUp(UserSettings(), program, QStringLiteral("Valdora")),
              program + QStringLiteral("/Settings/valdora.ini"));
}

TEST_F(SettingsLocationTest, StoredLocationNamesTheSettingsFileAndButtonFolder)
{
    const UserSettings store;
    const QString program = path(QStringLiteral("program"));
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("IniLocation"),
                          QStringLiteral("/net/share/team.ini")));
    const QString settings =
        SettingsLocation::settingsFilePathAtStartUp(store, program, QStringLiteral("Valdora"));
    EXPECT_EQ(settings, u"/net/share/team.ini");
    EXPECT_EQ(SettingsLocation::buttonFolderOf(settings), u"/net/share/");
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("IniLocation"),
                          QString()));
    EXPECT_EQ(SettingsLocation::settingsFilePathAtStartUp(store, program, QStringLiteral("Valdora")),
              program + QStringLiteral("/Settings/Valdora.ini"));
    EXPECT_EQ(SettingsLocation::buttonFolderOf(QStringLiteral("valdora.ini")), u"");
    EXPECT_EQ(SettingsLocation::defaultCounterFolder(QStringLiteral("/prog")), u"/prog/");
}

struct DataFolderCase {
    const char* name;
    int programMode;
    bool besideThePrograms; ///< else in the user's data folder
};

void PrintTo(const DataFolderCase& row, std::ostream* os)
{
    *os << row.name;
}

class DefaultSettingsOfAProgramFolder : public ::testing::TestWithParam<DataFolderCase> {};

// The first start as a user who does not own the program folder: the default settings folder and
// its file are made in the session's data folder, and start-up finds them there.
TEST_P(DefaultSettingsOfAProgramFolder, LieInTheSessionsDataFolder)
{
    const DataFolderCase& row = GetParam();
    const ProgramFolderTree tree(row.programMode);
    const PinnedDataHome pinned(tree.openHome());
    const QString folder =
        row.besideThePrograms ? tree.program() : tree.openHome() + QStringLiteral("/Valdora");
    const QString expected = folder + QStringLiteral("/Settings/valdora.ini");
    ScriptedPlatform platform;
    EXPECT_TRUE(asAnotherUser([&] {
        const ProgramSession session(platform, QStringLiteral("Valdora"), tree.program());
        return session.dataFolder() == folder &&
               SettingsLocation::ensureDefaultSettingsFolder(session.dataFolder()) &&
               SettingsLocation::defaultSettingsFilePath(session.dataFolder(), QStringLiteral("Valdora")) ==
                   expected;
    }));
    EXPECT_EQ(readFile(expected), " \r\n");
    EXPECT_EQ(QFileInfo::exists(tree.program() + QStringLiteral("/Settings")), row.besideThePrograms);
}

INSTANTIATE_TEST_SUITE_P(Folders, DefaultSettingsOfAProgramFolder,
                         ::testing::Values(DataFolderCase{"PortableCopy", 0777, true},
                                           DataFolderCase{"Installed", 0555, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::test
