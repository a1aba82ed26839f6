// The upgrade of settings that versions before 3.0.0 kept in the per-user store: when it is due, the
// order of its questions, the button files it writes byte for byte, and what it leaves alone.
#include "StartupSession.h"

#include "bar/startup/SettingsUpgrade.h"

#include "settings/FixedTexts.h"

#include "core/testsupport/ReportedError.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

using test::readFile;
using test::writeFile;

// ---------------------------------------------------------------------------------------------------
// When the upgrade is due

struct DueCase {
    const char* name;
    const char* version;
    bool due;
};

class UpgradeIsDueTest : public ::testing::TestWithParam<DueCase> {};

TEST_P(UpgradeIsDueTest, ComparesTheStoredVersionAsText)
{
    EXPECT_EQ(upgradeIsDue(QString::fromUtf8(GetParam().version)), GetParam().due);
}

INSTANTIATE_TEST_SUITE_P(Versions, UpgradeIsDueTest,
                         ::testing::Values(DueCase{"Empty", "", false}, DueCase{"Version220", "220", true},
                                           DueCase{"Version299", "299", true},
                                           DueCase{"Version300", "300", false},
                                           DueCase{"Version313", "313", false},
                                           DueCase{"Version1000SortsBefore300", "1000", true},
                                           DueCase{"Version21", "21", true}, DueCase{"Version4", "4", false},
                                           DueCase{"Blank", " ", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------
// The upgrade

/// Answers the upgrade's questions from a script and records what was asked.
class ScriptedUpgradeScreens final : public UpgradeScreens {
public:
    explicit ScriptedUpgradeScreens(QString programFolder) : m_programFolder(std::move(programFolder)) {}

    UpgradeAnswer answer = UpgradeAnswer::yes();
    std::optional<QString> location;

    int upgradeAsked = 0;
    int locationAsked = 0;
    bool defaultFolderExistedWhenAsked = false;

    UpgradeAnswer askUpgrade() override
    {
        ++upgradeAsked;
        return answer;
    }
    std::optional<QString> askSettingsFileLocation() override
    {
        ++locationAsked;
        defaultFolderExistedWhenAsked = QFileInfo(m_programFolder + QStringLiteral("/Settings")).isDir();
        return location;
    }

private:
    QString m_programFolder;
};

// The per-user store of a workstation that ran version 2.2: three program sections and four
// button sections, one of them without keys, one combining two buttons (and an empty member slot). It is
// written as the store's file so that a value can hold a CR, as values written by that version could.
const QByteArray OldStore = "[Settings]\r\n"
                            "Version=220\r\n"
                            "Installed=1\r\n"
                            "[Options]\r\n"
                            "Language=1\r\n"
                            "[Progress]\r\n"
                            "Stage=2\r\n"
                            "[~100]\r\n"
                            "Name=Caf\xC3\xA9\r\n"
                            "Type=0\r\n"
                            "TargetField=Contact\r\n"
                            "[~101]\r\n"
                            "Name=Both\r\n"
                            "Type=5\r\n"
                            "ButtonName0=~100\r\n"
                            "buttonname1=~102\r\n"
                            "ButtonName2=\r\n"
                            "[~102]\r\n"
                            "Name=Note\r\n"
                            "Text1=first line\rsecond line\r\r\n"
                            "[~103]\r\n";

const QByteArray Button100 = "[Settings]\r\nName=Caf\xE9\r\nType=0\r\nTargetField=Contact\r\n";
const QByteArray Button101 =
    "[Settings]\r\nName=Both\r\nType=5\r\nButtonName0=~100.ini\r\nbuttonname1=~102.ini\r\n"
    "ButtonName2=\r\n";
const QByteArray Button102 = "[Settings]\r\nName=Note\r\nText1=first line|second line|\r\n";

class SettingsUpgradeTest : public test::StartupSession {
protected:
    SettingsUpgradeTest()
    {
        EXPECT_TRUE(QDir().mkpath(programFolder()));
        EXPECT_TRUE(QDir().mkpath(path(QStringLiteral("shared"))));
        EXPECT_TRUE(writeFile(m_session.userSettings().filePath(Application::Valdora), OldStore));
    }

    QString programFolder() const { return m_session.programFolder(); }
    QString shared(const QString& name) const { return path(QStringLiteral("shared/") + name); }
    QStringList sharedFiles() const
    {
        return QDir(path(QStringLiteral("shared"))).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }

    ScriptedUpgradeScreens m_screens{m_dir.path() + QStringLiteral("/program")};
};

TEST_F(SettingsUpgradeTest, YesConvertsEveryButtonSectionIntoItsFileBesideTheNewSettingsFile)
{
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_EQ(m_screens.upgradeAsked, 1);
    EXPECT_EQ(m_screens.locationAsked, 1);
    EXPECT_EQ(readFile(shared(QStringLiteral("~100.ini"))), Button100);
    EXPECT_EQ(readFile(shared(QStringLiteral("~101.ini"))), Button101);
    EXPECT_EQ(readFile(shared(QStringLiteral("~102.ini"))), Button102);
    // The section without keys and the program's own sections are no buttons; the new settings file
    // is created like the default one.
    EXPECT_EQ(sharedFiles(), (QStringList{QStringLiteral("valdora.ini"), QStringLiteral("~100.ini"),
                                          QStringLiteral("~101.ini"), QStringLiteral("~102.ini")}));
    EXPECT_EQ(readFile(shared(QStringLiteral("valdora.ini"))), QByteArray(" \r\n"));
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(SettingsUpgradeTest, YesStoresTheNewSettingsFileAndMakesItTheSessions)
{
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    ASSERT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation")),
              shared(QStringLiteral("valdora.ini")));
    EXPECT_EQ(m_session.settingsFilePath(), shared(QStringLiteral("valdora.ini")));
    EXPECT_EQ(m_session.buttonFolder(), path(QStringLiteral("shared/")));
}

TEST_F(SettingsUpgradeTest, YesKeepsThePerUserSectionsAndTheProgramsOwnSettings)
{
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    ASSERT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    const QStringList sections = m_session.userSettings().sections(Application::Valdora);
    for (const char* section : {"Settings", "Options", "Progress", "~100", "~101", "~102", "~103"})
        EXPECT_TRUE(sections.contains(QString::fromLatin1(section))) << section;
    EXPECT_EQ(stored(QStringLiteral("~101"), QStringLiteral("ButtonName0")), QStringLiteral("~100"));
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("Version")), QStringLiteral("220"));
}

TEST_F(SettingsUpgradeTest, YesMakesSureTheDefaultSettingsFolderExistsBeforeAskingWhereToSave)
{
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    ASSERT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_TRUE(m_screens.defaultFolderExistedWhenAsked);
    EXPECT_EQ(readFile(programFolder() + QStringLiteral("/Settings/valdora.ini")), QByteArray(" \r\n"));
}

TEST_F(SettingsUpgradeTest, AnExistingDefaultSettingsFolderIsLeftAlone)
{
    ASSERT_TRUE(QDir().mkpath(programFolder() + QStringLiteral("/Settings")));
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    ASSERT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("/Settings/valdora.ini")));
}

TEST_F(SettingsUpgradeTest, AButtonFileOfTheSameNameIsReplacedWhole)
{
    ASSERT_TRUE(writeFile(shared(QStringLiteral("~100.ini")),
                          "; left by hand\r\n[Settings]\r\nName=Old\r\nColor=255\r\n[Other]\r\nKey=1\r\n"));
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    ASSERT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_EQ(readFile(shared(QStringLiteral("~100.ini"))), Button100);
}

TEST_F(SettingsUpgradeTest, AnExistingSettingsFileChosenAsTheNewOneKeepsItsContent)
{
    ASSERT_TRUE(writeFile(shared(QStringLiteral("valdora.ini")), "[Settings]\r\nShared=1\r\n"));
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    ASSERT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_EQ(readFile(shared(QStringLiteral("valdora.ini"))), QByteArray("[Settings]\r\nShared=1\r\n"));
}

TEST_F(SettingsUpgradeTest, ClosingTheQuestionCancelsBeforeAnythingIsWritten)
{
    m_screens.answer = UpgradeAnswer::cancelled();

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Cancelled);

    EXPECT_EQ(m_screens.locationAsked, 0);
    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("/Settings")));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
    EXPECT_TRUE(sharedFiles().isEmpty());
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(SettingsUpgradeTest, ClosingTheSaveWindowCancelsWithoutButtonFilesOrStoredLocation)
{
    m_screens.location = std::nullopt;

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Cancelled);

    EXPECT_EQ(m_screens.locationAsked, 1);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
    EXPECT_TRUE(sharedFiles().isEmpty());
    const QStringList defaultFolder =
        QDir(programFolder() + QStringLiteral("/Settings")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(defaultFolder, QStringList{QStringLiteral("valdora.ini")});
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(SettingsUpgradeTest, NoWithAnExistingFileGoesOnWithThatFileAndConvertsNothing)
{
    ASSERT_TRUE(writeFile(shared(QStringLiteral("office.ini")), " \r\n"));
    m_screens.answer = UpgradeAnswer::existing(shared(QStringLiteral("office.ini")));

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::ExistingSettingsFile);

    EXPECT_EQ(m_screens.locationAsked, 0);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation")),
              shared(QStringLiteral("office.ini")));
    EXPECT_EQ(m_session.settingsFilePath(), shared(QStringLiteral("office.ini")));
    EXPECT_EQ(m_session.buttonFolder(), path(QStringLiteral("shared/")));
    EXPECT_EQ(sharedFiles(), QStringList{QStringLiteral("office.ini")});
    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("/Settings")));
}

TEST_F(SettingsUpgradeTest, AButtonFileThatCannotBeWrittenIsReportedAndTheUpgradeIsNotTakenAsDone)
{
    // A folder where the button file should go: no user, root included, can replace it by a file.
    ASSERT_TRUE(QDir().mkpath(shared(QStringLiteral("~101.ini"))));
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Cancelled);

    ASSERT_EQ(m_platform.messages().size(), 1);
    const QString report = m_platform.messages().front().text;
    EXPECT_TRUE(test::reportsError(75, report));
    EXPECT_TRUE(report.contains(shared(QStringLiteral("~101.ini")))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("in modUpgrade: Sub runUpgrade - Line # ")))
        << report.toStdString();
    // The others are written, and a later upgrade writes them again whole.
    EXPECT_EQ(readFile(shared(QStringLiteral("~100.ini"))), Button100);
    EXPECT_EQ(readFile(shared(QStringLiteral("~102.ini"))), Button102);
}

TEST_F(SettingsUpgradeTest, ANewSettingsFileThatCannotBeCreatedCancelsBeforeConverting)
{
    m_screens.location = path(QStringLiteral("missing-folder/valdora.ini"));

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Cancelled);

    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(test::reportsError(75, m_platform.messages().front().text));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing-folder"))));
}

TEST_F(SettingsUpgradeTest, ASectionNameThatLeadsOutOfTheButtonFolderWritesNothingThereAndIsReported)
{
    ASSERT_TRUE(writeFile(m_session.userSettings().filePath(Application::Valdora),
                          OldStore + "[../escaped]\r\nName=Out\r\n"));
    m_screens.location = shared(QStringLiteral("valdora.ini"));

    EXPECT_EQ(runUpgrade(m_session, m_screens), UpgradeEnd::Converted);

    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("escaped.ini"))));
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(m_platform.messages().front().text.contains(QStringLiteral("../escaped")));
    EXPECT_EQ(readFile(shared(QStringLiteral("~100.ini"))), Button100);
}

// ---------------------------------------------------------------------------------------------------
// The conversion alone

class ConvertButtonSectionsTest : public SettingsUpgradeTest {};

TEST_F(ConvertButtonSectionsTest, ReportsTheFilesWrittenInTheOrderOfTheSections)
{
    const ConversionResult result =
        convertButtonSections(m_session.userSettings(), path(QStringLiteral("shared/")));

    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.written,
              (QStringList{shared(QStringLiteral("~100.ini")), shared(QStringLiteral("~101.ini")),
                           shared(QStringLiteral("~102.ini"))}));
    EXPECT_TRUE(result.refused.isEmpty());
}

TEST_F(ConvertButtonSectionsTest, ProgramSectionsAreKnownWhateverTheirCase)
{
    ASSERT_TRUE(writeFile(m_session.userSettings().filePath(Application::Valdora),
                          "[SETTINGS]\r\nVersion=220\r\n[options]\r\nLanguage=0\r\n[PROGRESS]\r\nTotal=3\r\n"
                          "[lastscope]\r\n~100.ini=2\r\n"));

    const ConversionResult result =
        convertButtonSections(m_session.userSettings(), path(QStringLiteral("shared/")));

    EXPECT_TRUE(result.written.isEmpty());
    EXPECT_TRUE(sharedFiles().isEmpty());
}

TEST_F(ConvertButtonSectionsTest, ARelativeButtonFolderGetsNoFiles)
{
    const ConversionResult result = convertButtonSections(m_session.userSettings(), QString());

    EXPECT_FALSE(result.succeeded());
    EXPECT_TRUE(result.written.isEmpty());
    EXPECT_EQ(result.failed.size(), 3);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("~100.ini")));
}

TEST_F(ConvertButtonSectionsTest, AnEmptyStoreConvertsNothing)
{
    ASSERT_TRUE(QFile::remove(m_session.userSettings().filePath(Application::Valdora)));

    const ConversionResult result =
        convertButtonSections(m_session.userSettings(), path(QStringLiteral("shared/")));

    EXPECT_TRUE(result.succeeded());
    EXPECT_TRUE(result.written.isEmpty());
}

// ---------------------------------------------------------------------------------------------------
// The file dialogs

TEST(UpgradeFileRequestTest, TheExistingFileIsPickedFromIniFiles)
{
    const FileRequest request = existingSettingsFileRequest();
    EXPECT_EQ(request.title, QStringLiteral("Please select the Valdora Settings file for this workstation"));
    EXPECT_EQ(request.filter, QStringLiteral("ini files (*.ini)|*.ini"));
    EXPECT_TRUE(request.fileName.isEmpty());
}

TEST(UpgradeFileRequestTest, TheNewFileIsSavedAsValdoraIniInTheDefaultSettingsFolder)
{
    const FileRequest request = newSettingsFileRequest(QStringLiteral("/opt/valdora"));
    EXPECT_EQ(request.filter, QStringLiteral("Ini file (*.ini)|*.ini"));
    EXPECT_EQ(request.folder, QStringLiteral("/opt/valdora/Settings"));
    EXPECT_EQ(request.fileName, QStringLiteral("valdora.ini"));
}

} // namespace
} // namespace valdora::bar
