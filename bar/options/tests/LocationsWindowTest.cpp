// The settings-file location window offscreen: choosing another settings file, copying the settings
// and button files to another folder (with and without a settings file there, answered Yes and No),
// an invalid file, a failed copy, and a screenshot in each language.
#include "bar/options/windows/LocationsWindow.h"
#include "bar/options/LocationTexts.h"
#include "bar/startup/tests/StartupSession.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "core/testsupport/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

using namespace valdora::test;

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<absent>");
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

class LocationsWindowTest : public valdora::test::StartupSession {
protected:
    LocationsWindowTest()
    {
        m_old = path(QStringLiteral("old/valdora.ini"));
        EXPECT_TRUE(writeFile(m_old, "[Settings]\r\nShared=old\r\n"));
        EXPECT_TRUE(writeFile(path(QStringLiteral("old/~100.ini")), "[Settings]\r\nName=Invoice\r\n"));
        EXPECT_TRUE(writeFile(path(QStringLiteral("old/~101.ini")), "[Settings]\r\nName=Total\r\n"));
        EXPECT_TRUE(writeFile(path(QStringLiteral("old/AutoNumber_~100.num")), " 42 \r\n"));
        EXPECT_TRUE(QDir().mkpath(path(QStringLiteral("new"))));
        m_session.setSettingsFile(m_old);
    }

    QPushButton* button(QWidget& window, const char* name)
    {
        auto* found = window.findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QWidget& window, const char* name)
    {
        if (auto* found = button(window, name))
            QTest::mouseClick(found, Qt::LeftButton);
    }
    QString pathBox(QWidget& window)
    {
        return window.findChild<QLineEdit*>(QStringLiteral("txtPath"))->text();
    }

    QString m_old;
};

class LocationsWindowLanguages : public LocationsWindowTest,
                                 public ::testing::WithParamInterface<valdora::test::Language> {};

// The window's texts are the same in every language.
TEST_P(LocationsWindowLanguages, OpensOnTheSettingsFileInUseWithItsFixedTexts)
{
    m_session.messages().setLanguageBase(GetParam().base);
    LocationsWindow window(m_session);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    EXPECT_EQ(window.objectName(), QStringLiteral("frmLocations"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Settings File Location"));
    EXPECT_EQ(pathBox(window), m_old);
    EXPECT_EQ(button(window, "cmdBrowse")->text(), QStringLiteral("Select another Settings file"));
    EXPECT_EQ(button(window, "cmdCopy")->text(), QStringLiteral("Copy to another location"));
    EXPECT_EQ(button(window, "cmdOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(button(window, "cmdCancel")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Current location of the Settings File:"));
    EXPECT_EQ(window.findChild<QWidget*>(QStringLiteral("Frame1"))->property("title").toString(),
              QStringLiteral("Network use: sharing your settings"));
    EXPECT_EQ(tabOrder(*window.findChild<QWidget*>(QStringLiteral("txtPath")),
                       {"txtPath", "cmdBrowse", "cmdCopy", "cmdOK", "cmdCancel"}),
              QStringList({"txtPath", "cmdBrowse", "cmdCopy", "cmdOK", "cmdCancel"}));
    expectNothingClipped(window);
    saveScreenshot(window, QStringLiteral("frmLocations-") + QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Languages, LocationsWindowLanguages,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LocationsWindowTest, AMissingSettingsFileIsCreatedWithOneBlankLineWhenTheWindowOpens)
{
    const QString missing = path(QStringLiteral("old/other.ini"));
    m_session.setSettingsFile(missing);
    LocationsWindow window(m_session);
    EXPECT_EQ(contentOf(missing), QByteArray(" \r\n"));
    EXPECT_EQ(pathBox(window), missing);
}

TEST_F(LocationsWindowTest, AnotherSettingsFileIsShownWithTheRestartMessageAndStoredOnOk)
{
    const QString other = path(QStringLiteral("new/shared.ini"));
    ASSERT_TRUE(writeFile(other, " \r\n"));
    LocationsWindow window(m_session);
    window.show();
    m_platform.answerNextOpenFile(other);
    click(window, "cmdBrowse");
    EXPECT_EQ(pathBox(window), other);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages().at(0).text,
              QStringLiteral("You will need to re-start Valdora for the changes to take effect."));
    EXPECT_EQ(m_platform.messages().at(0).icon, MessageIcon::Exclamation);
    EXPECT_EQ(m_platform.messages().at(0).title, QStringLiteral("Valdora"));

    const QString buttonFolder = m_session.buttonFolder();
    click(window, "cmdOK");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation")), other);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniFolder")), path(QStringLiteral("new/")));
    EXPECT_EQ(m_session.settingsFilePath(), other);
    // The buttons stay where the bar listed them until the next start.
    EXPECT_EQ(m_session.buttonFolder(), buttonFolder);
}

TEST_F(LocationsWindowTest, FileDialogsStartInTheFolderOfThePathWithItsNamePreset)
{
    ScriptedPlatform recording;
    ProgramSession session(recording, QStringLiteral("Valdora"), path(QStringLiteral("program")),
                           UserSettings(path(QStringLiteral("user"))));
    session.setSettingsFile(m_old);
    LocationsForm form(session);
    form.Form_Activate();
    recording.answerNextOpenFile(std::nullopt);
    form.cmdBrowse_Click();
    recording.answerNextSaveFile(std::nullopt);
    form.cmdCopy_Click();
    // A settings file in a folder that is gone: the dialogs start in the program folder.
    session.setSettingsFile(path(QStringLiteral("gone/shared.ini")));
    LocationsForm gone(session);
    gone.Form_Activate();
    recording.answerNextOpenFile(std::nullopt);
    gone.cmdBrowse_Click();
    ASSERT_EQ(recording.openFileRequests().size(), 2);
    ASSERT_EQ(recording.saveFileRequests().size(), 1);
    for (const FileRequest& request :
         {recording.openFileRequests().at(0), recording.saveFileRequests().at(0)}) {
        EXPECT_EQ(request.filter, QStringLiteral("ini Files (*.ini)|*.ini"));
        EXPECT_EQ(request.folder, path(QStringLiteral("old")));
        EXPECT_EQ(request.fileName, QStringLiteral("valdora.ini"));
    }
    EXPECT_EQ(recording.openFileRequests().at(1).folder, path(QStringLiteral("program")));
    EXPECT_EQ(recording.openFileRequests().at(1).fileName, QStringLiteral("shared.ini"));
}

TEST_F(LocationsWindowTest, TheSameFileAgainShowsNoMessageAndOkStoresTheSameValues)
{
    LocationsWindow window(m_session);
    m_platform.answerNextOpenFile(m_old);
    click(window, "cmdBrowse");
    EXPECT_TRUE(m_platform.messages().isEmpty());
    click(window, "cmdOK");
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation")), m_old);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniFolder")), path(QStringLiteral("old/")));
}

TEST_F(LocationsWindowTest, CancelledDialogsChangeNothing)
{
    LocationsWindow window(m_session);
    m_platform.answerNextOpenFile(std::nullopt);
    click(window, "cmdBrowse");
    m_platform.answerNextSaveFile(std::nullopt);
    click(window, "cmdCopy");
    EXPECT_EQ(pathBox(window), m_old);
    EXPECT_TRUE(m_platform.messages().isEmpty());
    EXPECT_EQ(window.form().selectedPath(), m_old);
    EXPECT_EQ(QDir(path(QStringLiteral("new"))).entryList(QDir::Files), QStringList());
}

TEST_F(LocationsWindowTest, CopyToAFolderWithoutSettingsFileCopiesTheSettingsAndButtonFilesButNoCounter)
{
    const QString target = path(QStringLiteral("new/valdora.ini"));
    LocationsWindow window(m_session);
    m_platform.answerNextSaveFile(target);
    click(window, "cmdCopy");
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_EQ(pathBox(window), target);
    EXPECT_EQ(contentOf(target), contentOf(m_old));
    EXPECT_EQ(contentOf(path(QStringLiteral("new/~100.ini"))),
              contentOf(path(QStringLiteral("old/~100.ini"))));
    EXPECT_EQ(contentOf(path(QStringLiteral("new/~101.ini"))),
              contentOf(path(QStringLiteral("old/~101.ini"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("new/AutoNumber_~100.num"))));
    click(window, "cmdOK");
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation")), target);
}

/// A copy to a folder that holds a settings file already, answered Yes or No.
struct OverwriteCase {
    const char* name;
    MessageAnswer answer;
    bool copied;
};

void PrintTo(const OverwriteCase& c, std::ostream* out)
{
    *out << c.name;
}

class LocationsOverwrite : public LocationsWindowTest, public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(LocationsOverwrite, AsksFirstWithNoPreset)
{
    const OverwriteCase c = GetParam();
    const QString target = path(QStringLiteral("new/valdora.ini"));
    ASSERT_TRUE(writeFile(target, "[Settings]\r\nShared=new\r\n"));
    ASSERT_TRUE(writeFile(path(QStringLiteral("new/~100.ini")), "[Settings]\r\nName=Theirs\r\n"));
    const QByteArray before = contentOf(target);
    LocationsWindow window(m_session);
    m_platform.answerNextSaveFile(target);
    m_platform.answerNextMessage(c.answer);
    click(window, "cmdCopy");
    ASSERT_EQ(m_platform.messages().size(), 1);
    const MessageRequest& question = m_platform.messages().at(0);
    EXPECT_EQ(question.text,
              QStringLiteral("This location already contains a Valdora settings file. Do you want "
                             "to overwrite it?"));
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.icon, MessageIcon::Exclamation);
    EXPECT_EQ(question.defaultButton, 1);
    EXPECT_EQ(contentOf(target), c.copied ? contentOf(m_old) : before);
    EXPECT_EQ(contentOf(path(QStringLiteral("new/~100.ini"))),
              c.copied ? contentOf(path(QStringLiteral("old/~100.ini")))
                       : QByteArray("[Settings]\r\nName=Theirs\r\n"));
    EXPECT_EQ(QFileInfo::exists(path(QStringLiteral("new/~101.ini"))), c.copied);
    EXPECT_EQ(pathBox(window), c.copied ? target : m_old);
    // No keeps the old choice: OK stores the settings file the window opened with.
    click(window, "cmdOK");
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation")), c.copied ? target : m_old);
}

INSTANTIATE_TEST_SUITE_P(Answers, LocationsOverwrite,
                         ::testing::Values(OverwriteCase{"Yes", MessageAnswer::Yes, true},
                                           OverwriteCase{"No", MessageAnswer::No, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LocationsWindowTest, CopyWithoutAnOldSettingsFileCreatesTheNewOneButKeepsOneThatExists)
{
    LocationsWindow window(m_session);
    // The settings file goes away while the window is open.
    ASSERT_TRUE(QFile::remove(m_old));
    const QString fresh = path(QStringLiteral("new/fresh.ini"));
    m_platform.answerNextSaveFile(fresh);
    click(window, "cmdCopy");
    EXPECT_EQ(contentOf(fresh), QByteArray(" \r\n"));
    EXPECT_EQ(pathBox(window), fresh);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("new/~100.ini"))));

    ASSERT_TRUE(QFile::remove(fresh));
    m_session.setSettingsFile(m_old);
    LocationsWindow again(m_session);
    ASSERT_TRUE(QFile::remove(m_old));
    const QString theirs = path(QStringLiteral("new/theirs.ini"));
    ASSERT_TRUE(writeFile(theirs, "[Settings]\r\nShared=theirs\r\n"));
    m_platform.answerNextSaveFile(theirs);
    click(again, "cmdCopy");
    EXPECT_EQ(contentOf(theirs), QByteArray("[Settings]\r\nShared=theirs\r\n"));
    EXPECT_EQ(pathBox(again), theirs);
}

TEST_F(LocationsWindowTest, OkWithAFileThatIsGoneSaysInvalidFileAndStays)
{
    LocationsWindow window(m_session);
    window.show();
    ASSERT_TRUE(QFile::remove(m_old));
    click(window, "cmdOK");
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages().at(0).text, QStringLiteral("Invalid file specified!"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
}

TEST_F(LocationsWindowTest, AFailedCopyIsReportedAndKeepsTheOldPath)
{
    LocationsWindow window(m_session);
    // A target folder that does not exist: nothing can be written there.
    const QString target = path(QStringLiteral("missing/valdora.ini"));
    m_platform.answerNextSaveFile(target);
    click(window, "cmdCopy");
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(
        m_platform.messages().at(0).text.contains(QStringLiteral("in frmLocations: Sub cmdCopy_Click")))
        << m_platform.messages().at(0).text.toStdString();
    EXPECT_EQ(pathBox(window), m_old);
    EXPECT_EQ(window.form().selectedPath(), m_old);
}

TEST_F(LocationsWindowTest, CancelClosesWithoutStoring)
{
    LocationsWindow window(m_session);
    window.show();
    m_platform.answerNextOpenFile(path(QStringLiteral("old/~100.ini")));
    click(window, "cmdBrowse");
    click(window, "cmdCancel");
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("IniLocation"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
    EXPECT_EQ(m_session.settingsFilePath(), m_old);
}

} // namespace
} // namespace valdora::bar
