// Valdora's start-up windows under the offscreen platform: their named controls and texts, what
// their buttons store or answer, their file dialogs, and a screenshot of each in English and German.
#include "StartupSession.h"

#include "bar/startup/windows/LanguageWindow.h"
#include "bar/startup/windows/SplashWindow.h"
#include "bar/startup/windows/StartOptionsWindow.h"
#include "bar/startup/windows/UpgradeSaveWindow.h"
#include "bar/startup/windows/UpgradeWindow.h"
#include "bar/startup/windows/WindowUpgradeScreens.h"

#include "core/testsupport/QtPrinters.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

using namespace valdora::test;

/// Clicks a radio button or check box on its indicator, as a user aims at it. Its centre lies past its
/// text once a longer text elsewhere widens the window, and a click there does not toggle it.
void clickIndicator(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

class StartupWindowsTest : public valdora::test::StartupSession {
protected:
    ScriptedPlatform m_recording;
};

template <typename Widget> Widget* child(const QWidget& window, const char* name)
{
    auto* found = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control " << name;
    return found;
}

QString labelText(const QWidget& window, const char* name)
{
    const auto* label = child<QLabel>(window, name);
    return label ? label->text() : QString();
}

void click(const QWidget& window, const char* name)
{
    if (auto* button = child<QPushButton>(window, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

void showAndWait(QWidget& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
}

// ---------------------------------------------------------------------------------------------------
// frmLanguage

TEST_F(StartupWindowsTest, LanguageWindowAtTheFirstRunHasNoCancelAndOkStoresTheChosenLanguage)
{
    LanguageWindow window(m_session, languageWindowState(m_session));
    showAndWait(window);

    EXPECT_EQ(window.objectName(), QStringLiteral("frmLanguage"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Valdora"));
    EXPECT_EQ(labelText(window, "Label1"), QStringLiteral("Pick your language/Choisissez une langue :"));
    EXPECT_FALSE(child<QPushButton>(window, "cmdCancel")->isVisible());
    auto* languages = child<QComboBox>(window, "cmbLanguage");
    ASSERT_EQ(languages->count(), 3);
    EXPECT_EQ(languages->itemText(1), QStringLiteral("Français"));
    EXPECT_EQ(languages->currentIndex(), 0);
    expectNothingClipped(window);

    languages->setCurrentIndex(1);
    click(window, "cmdOK");

    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.stored());
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language")), QStringLiteral("1"));
}

TEST_F(StartupWindowsTest, LanguageWindowLaterShowsItsRowsAndCancelClosesWithoutStoring)
{
    store(QStringLiteral("Settings"), QStringLiteral("Installed"), QStringLiteral("1"));
    store(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("0"));
    LanguageWindow window(m_session, languageWindowState(m_session));
    showAndWait(window);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Language"));
    EXPECT_EQ(labelText(window, "Label1"), QStringLiteral("Pick your language :"));
    EXPECT_EQ(child<QPushButton>(window, "cmdOK")->text(), QStringLiteral("&OK"));
    EXPECT_EQ(child<QPushButton>(window, "cmdCancel")->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(child<QPushButton>(window, "cmdCancel")->isVisible());

    child<QComboBox>(window, "cmbLanguage")->setCurrentIndex(2);
    click(window, "cmdCancel");

    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.stored());
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language")), QStringLiteral("0"));
}

TEST_F(StartupWindowsTest, LanguageWindowClosedByItsCloseBoxStoresNothing)
{
    LanguageWindow window(m_session, languageWindowState(m_session));
    showAndWait(window);
    window.close();
    EXPECT_FALSE(window.stored());
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
}

TEST_F(StartupWindowsTest, ChooseShowsTheWindowModallyAndSaysWhetherAChoiceWasStored)
{
    inNextModal([](QWidget& modal) {
        modal.findChild<QComboBox*>(QStringLiteral("cmbLanguage"))->setCurrentIndex(2);
        QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    EXPECT_TRUE(LanguageWindow::choose(m_session));
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language")), QStringLiteral("2"));

    inNextModal([](QWidget& modal) { modal.close(); });
    EXPECT_FALSE(LanguageWindow::choose(m_session));
    EXPECT_EQ(stored(QStringLiteral("Options"), QStringLiteral("Language")), QStringLiteral("2"));
}

// ---------------------------------------------------------------------------------------------------
// frmStart

TEST_F(StartupWindowsTest, StartOptionsWindowShowsItsRowsAndTheStoredOptions)
{
    store(QStringLiteral("Settings"), QStringLiteral("startBar"), QStringLiteral("1"));
    store(QStringLiteral("Settings"), QStringLiteral("NotClose"), QStringLiteral("1"));
    StartOptionsWindow window(m_session);
    showAndWait(window);

    EXPECT_EQ(window.objectName(), QStringLiteral("frmStart"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("System Tray"));
    EXPECT_EQ(child<QGroupBox>(window, "Frame1")->title(), QStringLiteral("Startup Options"));
    EXPECT_EQ(child<QGroupBox>(window, "Frame2")->title(), QStringLiteral("Close Option"));
    EXPECT_EQ(child<QRadioButton>(window, "optStart_0")->text(),
              QStringLiteral("Always view Valdora Bar at startup"));
    EXPECT_EQ(child<QRadioButton>(window, "optStart_1")->text(),
              QStringLiteral("Always start minimized in System Tray"));
    EXPECT_EQ(child<QCheckBox>(window, "chkClose")->text(),
              QStringLiteral(
                  "Minimize to system tray icon when Close (X) button clicked (Exit only with ContactHost)"));
    EXPECT_TRUE(child<QRadioButton>(window, "optStart_1")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(window, "chkClose")->isChecked());
    expectNothingClipped(window);
}

TEST_F(StartupWindowsTest, StartOptionsWindowOkStoresTheOptions)
{
    StartOptionsWindow window(m_session);
    showAndWait(window);
    EXPECT_TRUE(child<QRadioButton>(window, "optStart_0")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(window, "chkClose")->isChecked());

    clickIndicator(child<QRadioButton>(window, "optStart_1"));
    clickIndicator(child<QCheckBox>(window, "chkClose"));
    click(window, "cmdOK");

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("startBar")), QStringLiteral("1"));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("NotClose")), QStringLiteral("1"));
}

TEST_F(StartupWindowsTest, StartOptionsWindowCancelStoresNothing)
{
    StartOptionsWindow window(m_session);
    showAndWait(window);
    clickIndicator(child<QRadioButton>(window, "optStart_1"));
    click(window, "cmdCancel");

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("startBar"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("NotClose"), QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
}

TEST_F(StartupWindowsTest, EditShowsTheStartOptionsModally)
{
    inNextModal([](QWidget& modal) {
        QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    StartOptionsWindow::edit(m_session);
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("startBar")), QStringLiteral("0"));
    EXPECT_EQ(stored(QStringLiteral("Settings"), QStringLiteral("NotClose")), QStringLiteral("0"));
}

// ---------------------------------------------------------------------------------------------------
// frmUpgrade and frmUpgradeSave

TEST_F(StartupWindowsTest, UpgradeWindowShowsItsFixedTexts)
{
    UpgradeWindow window(m_recording);
    showAndWait(window);

    EXPECT_EQ(window.objectName(), QStringLiteral("frmUpgrade"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Valdora Upgrade"));
    EXPECT_EQ(labelText(window, "lblExpl"),
              QStringLiteral("The settings of this workstation are not up-to-date."));
    EXPECT_EQ(labelText(window, "lblExpl1"), QStringLiteral("Do you want to update them?"));
    EXPECT_EQ(child<QPushButton>(window, "cmdYes")->text(), QStringLiteral("Yes"));
    EXPECT_EQ(child<QPushButton>(window, "cmdNo")->text(), QStringLiteral("No"));
    EXPECT_TRUE(
        labelText(window, "lblYes").startsWith(QStringLiteral("Click Yes if you are not using Valdora")));
    EXPECT_TRUE(labelText(window, "lblNo")
                    .endsWith(QStringLiteral("the Settings file that you have already created.")));
    expectNothingClipped(window);
}

TEST_F(StartupWindowsTest, UpgradeWindowYesAnswersYes)
{
    UpgradeWindow window(m_recording);
    showAndWait(window);
    click(window, "cmdYes");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.answer(), UpgradeAnswer::yes());
    EXPECT_TRUE(m_recording.openFileRequests().isEmpty());
}

TEST_F(StartupWindowsTest, UpgradeWindowNoAsksForTheSettingsFileAndClosesWithIt)
{
    m_recording.answerNextOpenFile(QStringLiteral("/srv/shared/valdora.ini"));
    UpgradeWindow window(m_recording);
    showAndWait(window);
    click(window, "cmdNo");

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.answer(), UpgradeAnswer::existing(QStringLiteral("/srv/shared/valdora.ini")));
    ASSERT_EQ(m_recording.openFileRequests().size(), 1);
    EXPECT_EQ(m_recording.openFileRequests().front().title,
              QStringLiteral("Please select the Valdora Settings file for this workstation"));
    EXPECT_EQ(m_recording.openFileRequests().front().filter, QStringLiteral("ini files (*.ini)|*.ini"));
}

TEST_F(StartupWindowsTest, UpgradeWindowNoWithTheFileDialogCancelledStaysOpen)
{
    m_recording.answerNextOpenFile(std::nullopt);
    UpgradeWindow window(m_recording);
    showAndWait(window);
    click(window, "cmdNo");

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.answer(), UpgradeAnswer::cancelled());
    click(window, "cmdYes");
    EXPECT_EQ(window.answer(), UpgradeAnswer::yes());
}

TEST_F(StartupWindowsTest, UpgradeWindowClosedByItsCloseBoxCancels)
{
    UpgradeWindow window(m_recording);
    showAndWait(window);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.answer(), UpgradeAnswer::cancelled());
}

TEST_F(StartupWindowsTest, UpgradeSaveWindowSavesWhereTheUserChose)
{
    m_recording.answerNextSaveFile(QStringLiteral("/srv/shared/valdora.ini"));
    UpgradeSaveWindow window(m_recording, QStringLiteral("/opt/valdora"));
    showAndWait(window);

    EXPECT_EQ(window.objectName(), QStringLiteral("frmUpgradeSave"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Saving your new Settings File"));
    EXPECT_EQ(labelText(window, "Label1"), QStringLiteral("Valdora needs to create a Settings file."));
    EXPECT_EQ(labelText(window, "Label2"),
              QStringLiteral("Click Save to choose a location for your settings file and save it."));
    EXPECT_TRUE(
        labelText(window, "Label3").startsWith(QStringLiteral("Note : if you are in a network environment")));
    EXPECT_EQ(child<QPushButton>(window, "cmdOK")->text(), QStringLiteral("&Save"));
    expectNothingClipped(window);

    click(window, "cmdOK");

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.location(), std::optional<QString>(QStringLiteral("/srv/shared/valdora.ini")));
    ASSERT_EQ(m_recording.saveFileRequests().size(), 1);
    const FileRequest& request = m_recording.saveFileRequests().front();
    EXPECT_EQ(request.filter, QStringLiteral("Ini file (*.ini)|*.ini"));
    EXPECT_EQ(request.folder, QStringLiteral("/opt/valdora/Settings"));
    EXPECT_EQ(request.fileName, QStringLiteral("valdora.ini"));
}

TEST_F(StartupWindowsTest, UpgradeSaveWindowStaysOpenWhenTheSaveDialogIsCancelledAndCloseCancels)
{
    m_recording.answerNextSaveFile(std::nullopt);
    UpgradeSaveWindow window(m_recording, QStringLiteral("/opt/valdora"));
    showAndWait(window);
    click(window, "cmdOK");
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.location(), std::nullopt);

    window.close();
    EXPECT_EQ(window.location(), std::nullopt);
}

TEST_F(StartupWindowsTest, WindowUpgradeScreensAskModally)
{
    ProgramSession session(m_recording, QStringLiteral("Valdora"), path(QStringLiteral("program")),
                           UserSettings(path(QStringLiteral("user"))));
    WindowUpgradeScreens screens(session);

    inNextModal([](QWidget& modal) {
        QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("cmdYes")), Qt::LeftButton);
    });
    EXPECT_EQ(screens.askUpgrade(), UpgradeAnswer::yes());

    m_recording.answerNextSaveFile(path(QStringLiteral("valdora.ini")));
    inNextModal([](QWidget& modal) {
        QTest::mouseClick(modal.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    EXPECT_EQ(screens.askSettingsFileLocation(), std::optional<QString>(path(QStringLiteral("valdora.ini"))));

    inNextModal([](QWidget& modal) { modal.close(); });
    EXPECT_EQ(screens.askSettingsFileLocation(), std::nullopt);
}

// ---------------------------------------------------------------------------------------------------
// frmSplash

TEST_F(StartupWindowsTest, SplashIsFramelessCentredAndPaintedAtOnce)
{
    SplashWindow window;
    window.showNow();

    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.objectName(), QStringLiteral("frmSplash"));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window.isModal());
    EXPECT_EQ(labelText(window, "Label1"), QStringLiteral("Loading... Please Wait!"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window.frameGeometry().center() - screen.center()).manhattanLength(), 2);
    expectNothingClipped(window);
}

TEST_F(StartupWindowsTest, SplashStepsAsideForAQuestion)
{
    // The first start asks for the language while the splash is up: the question must not be hidden.
    SplashWindow splash;
    splash.showNow();
    ASSERT_TRUE(splash.isVisible());
    LanguageWindow question(m_session, languageWindowState(m_session));
    question.show();
    EXPECT_FALSE(splash.isVisible()) << "the splash stays over the question";
}

// ---------------------------------------------------------------------------------------------------
// Screenshots in each language the window may show

struct ScreenshotCase {
    const char* name;
    qint16 languageBase;
    const char* language;
};

class StartupScreenshotTest : public StartupWindowsTest,
                              public ::testing::WithParamInterface<ScreenshotCase> {
protected:
    void SetUp() override
    {
        store(QStringLiteral("Settings"), QStringLiteral("Installed"), QStringLiteral("1"));
        store(QStringLiteral("Options"), QStringLiteral("Language"),
              QString::fromLatin1(GetParam().language));
        m_session.messages().setLanguageBase(GetParam().languageBase);
    }
    QString shotName(const char* window) const
    {
        return QString::fromLatin1(window) + QLatin1Char('_') + QString::fromLatin1(GetParam().name);
    }
};

TEST_P(StartupScreenshotTest, EveryWindowReadsWell)
{
    {
        LanguageWindow window(m_session, languageWindowState(m_session));
        showAndWait(window);
        expectNothingClipped(window);
        saveScreenshot(window, shotName("frmLanguage"));
    }
    {
        StartOptionsWindow window(m_session);
        showAndWait(window);
        expectNothingClipped(window);
        saveScreenshot(window, shotName("frmStart"));
    }
    // The upgrade windows and the splash have fixed texts: the same in every language.
    {
        UpgradeWindow window(m_recording);
        showAndWait(window);
        expectNothingClipped(window);
        saveScreenshot(window, shotName("frmUpgrade"));
    }
    {
        UpgradeSaveWindow window(m_recording, m_session.dataFolder());
        showAndWait(window);
        expectNothingClipped(window);
        saveScreenshot(window, shotName("frmUpgradeSave"));
    }
    {
        SplashWindow window;
        window.showNow();
        expectNothingClipped(window);
        saveScreenshot(window, shotName("frmSplash"));
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, StartupScreenshotTest,
                         ::testing::Values(ScreenshotCase{"English", 300, "0"},
                                           ScreenshotCase{"German", 2300, "2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupWindowsTest, FirstRunLanguageWindowScreenshot)
{
    LanguageWindow window(m_session, languageWindowState(m_session));
    showAndWait(window);
    saveScreenshot(window, QStringLiteral("frmLanguage_FirstRun"));
}

} // namespace
} // namespace valdora::bar
