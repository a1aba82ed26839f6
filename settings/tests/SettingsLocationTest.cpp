#include "SettingsTestSupport.h"

#include "settings/SettingsLocation.h"

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

} // namespace
} // namespace valdora::test
