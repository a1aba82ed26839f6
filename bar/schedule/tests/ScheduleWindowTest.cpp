// The schedule window offscreen: what it shows for a button with and without a schedule, the choices
// written through OK, the checks before a write, and its texts in the three languages (with
// screenshots into the build's screenshot folder).
#include "RecordingCommands.h"

#include "bar/schedule/windows/ScheduleWindow.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace valdora::schedule {
namespace {

using valdora::test::Language;

class ScheduleWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora"), m_dir.path(),
                                                     UserSettings(m_settings.path()),
                                                     TextLocale(QLocale(QStringLiteral("en_US"))));
        m_database = m_dir.filePath(QStringLiteral("Sales.dbf"));
        m_lookup = m_dir.filePath(QStringLiteral("North.LKU"));
        ASSERT_TRUE(valdora::test::writeFile(m_lookup, "ValdoraLookup 1\n"));
    }

    std::unique_ptr<ScheduleForm> form()
    {
        return std::make_unique<ScheduleForm>(*m_session, m_scheduler, QStringLiteral("~100.ini"), m_database,
                                              QStringLiteral("/usr/lib/valdora/Valdora.exe"));
    }

    static void show(QDialog& window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    }
    template <typename Widget> static Widget* child(QWidget& window, const char* name)
    {
        auto* found = window.findChild<Widget*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    /// Button ~100.ini scheduled every day at `time` over the saved lookup, as an earlier visit of the
    /// window would have left it.
    void scheduleDailyOverTheLookup(QTime time)
    {
        Schedule schedule;
        schedule.button = QStringLiteral("~100.ini");
        schedule.kind = ScheduleKind::Daily;
        schedule.time = time;
        schedule.lookupFile = m_lookup;
        schedule.database = m_database;
        schedule.program = QStringLiteral("/usr/lib/valdora/Valdora.exe");
        ASSERT_TRUE(m_scheduler.apply(schedule).done);
    }

    QTemporaryDir m_dir;
    valdora::test::TemporaryUserSettings m_settings;
    ScriptedPlatform m_platform;
    std::unique_ptr<ProgramSession> m_session;
    test::RecordingCommands m_commands{m_dir.filePath(QStringLiteral("crontab"))};
    Scheduler m_scheduler{m_commands, m_dir.filePath(QStringLiteral("systemd/user"))};
    QString m_database;
    QString m_lookup;
};

TEST_F(ScheduleWindowTest, AButtonWithoutScheduleIsOffAndOkWritesTheChosenOne)
{
    const std::unique_ptr<ScheduleForm> logic = form();
    ScheduleWindow window(*m_session, *logic);
    show(window);
    EXPECT_TRUE(child<QRadioButton>(window, "optOff")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(window, "optAll")->isChecked());
    EXPECT_FALSE(child<QTimeEdit>(window, "txtTime")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(window, "txtLookup")->isEnabled());
    EXPECT_EQ(child<QLabel>(window, "lblDatabase")->text(), QStringLiteral("Database: Sales.dbf"));
    EXPECT_EQ(child<QLabel>(window, "lblState")->text(), QStringLiteral("Not scheduled."));

    child<QRadioButton>(window, "optDaily")->click();
    EXPECT_TRUE(child<QTimeEdit>(window, "txtTime")->isEnabled());
    child<QTimeEdit>(window, "txtTime")->setTime(QTime(3, 15));
    child<QPushButton>(window, "OKButton")->click();

    EXPECT_EQ(window.result(), QDialog::Accepted);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(
        m_platform.messages()[0].text.startsWith(QStringLiteral("~100.ini is scheduled. Runs next: ")))
        << m_platform.messages()[0].text.toStdString();
    const std::optional<FoundSchedule> found = m_scheduler.scheduleOf(QStringLiteral("~100.ini"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->schedule.kind, ScheduleKind::Daily);
    EXPECT_EQ(found->schedule.time, QTime(3, 15));
    EXPECT_EQ(found->schedule.database, m_database);
    EXPECT_TRUE(found->schedule.lookupFile.isEmpty());
    // The run uses the same per-user store as the window that scheduled it.
    EXPECT_TRUE(valdora::test::readFile(m_scheduler.servicePath(QStringLiteral("~100.ini")))
                    .contains("Environment=\"VALDORA_USER_SETTINGS=" + m_settings.path().toUtf8() + "\""));
}

TEST_F(ScheduleWindowTest, ASavedLookupMustBeChosenAndThere)
{
    const std::unique_ptr<ScheduleForm> logic = form();
    ScheduleWindow window(*m_session, *logic);
    show(window);
    child<QRadioButton>(window, "optHourly")->click();
    child<QRadioButton>(window, "optLookup")->click();
    child<QPushButton>(window, "OKButton")->click();
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("Choose the saved lookup file the run covers.")});
    EXPECT_TRUE(child<QLineEdit>(window, "txtLookup")->hasFocus());
    EXPECT_FALSE(window.result() == QDialog::Accepted);

    const QString gone = m_dir.filePath(QStringLiteral("gone.LKU"));
    child<QLineEdit>(window, "txtLookup")->setText(gone);
    child<QPushButton>(window, "OKButton")->click();
    EXPECT_EQ(m_platform.messageTexts().last(), QStringLiteral("The lookup file %1 is not there.").arg(gone));
    EXPECT_FALSE(m_scheduler.scheduleOf(QStringLiteral("~100.ini")));
    EXPECT_TRUE(m_commands.systemctlCalls().isEmpty()) << "nothing was to be written yet";
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("crontab"))));

    m_platform.answerNextOpenFile(m_lookup);
    child<QPushButton>(window, "cmdBrowse")->click();
    EXPECT_EQ(child<QLineEdit>(window, "txtLookup")->text(), m_lookup);
    child<QPushButton>(window, "OKButton")->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const std::optional<FoundSchedule> found = m_scheduler.scheduleOf(QStringLiteral("~100.ini"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->schedule.kind, ScheduleKind::Hourly);
    EXPECT_EQ(found->schedule.lookupFile, m_lookup);
}

TEST_F(ScheduleWindowTest, ShowsTheScheduleItHasAndOffRemovesIt)
{
    ASSERT_NO_FATAL_FAILURE(scheduleDailyOverTheLookup(QTime(22, 45)));

    const std::unique_ptr<ScheduleForm> logic = form();
    ScheduleWindow window(*m_session, *logic);
    show(window);
    EXPECT_TRUE(child<QRadioButton>(window, "optDaily")->isChecked());
    EXPECT_EQ(child<QTimeEdit>(window, "txtTime")->time(), QTime(22, 45));
    EXPECT_TRUE(child<QRadioButton>(window, "optLookup")->isChecked());
    EXPECT_EQ(child<QLineEdit>(window, "txtLookup")->text(), m_lookup);
    EXPECT_TRUE(
        child<QLabel>(window, "lblState")->text().endsWith(QStringLiteral("Kept as a systemd user timer.")));

    child<QRadioButton>(window, "optOff")->click();
    EXPECT_FALSE(child<QLineEdit>(window, "txtLookup")->isEnabled());
    child<QPushButton>(window, "OKButton")->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(m_platform.messageTexts(), QStringList{QStringLiteral("~100.ini is no longer scheduled.")});
    EXPECT_FALSE(m_scheduler.scheduleOf(QStringLiteral("~100.ini")));
    EXPECT_FALSE(QFileInfo::exists(m_scheduler.timerPath(QStringLiteral("~100.ini"))));
}

TEST_F(ScheduleWindowTest, AFailedWriteIsSaidAndTheWindowStays)
{
    m_commands.systemctlFails = 1;
    const std::unique_ptr<ScheduleForm> logic = form();
    ScheduleWindow window(*m_session, *logic);
    show(window);
    child<QRadioButton>(window, "optLogin")->click();
    child<QPushButton>(window, "OKButton")->click();
    EXPECT_EQ(m_platform.messageTexts(),
              QStringList{QStringLiteral("The schedule of ~100.ini was not written: systemctl --user enable "
                                         "valdora-run-100.service failed: Failed to connect to bus")});
    EXPECT_TRUE(window.isVisible());
}

class ScheduleWindowLanguage : public ScheduleWindowTest, public ::testing::WithParamInterface<Language> {};

TEST_P(ScheduleWindowLanguage, TextsFitInEachLanguage)
{
    const Language& language = GetParam();
    m_session->messages().setLanguageBase(language.base);
    ASSERT_NO_FATAL_FAILURE(scheduleDailyOverTheLookup(QTime(2, 30)));
    const std::unique_ptr<ScheduleForm> logic = form();
    ScheduleWindow window(*m_session, *logic);
    show(window);
    const auto text = [&](ScheduleText id) { return scheduleText(language.base, id); };
    EXPECT_EQ(window.windowTitle(), text(ScheduleText::WindowTitle).arg(QStringLiteral("~100.ini")));
    EXPECT_EQ(child<QRadioButton>(window, "optDaily")->text(), text(ScheduleText::EveryDay));
    EXPECT_EQ(child<QRadioButton>(window, "optLogin")->text(), text(ScheduleText::AtLogin));
    EXPECT_EQ(child<QGroupBox>(window, "fraContacts")->title(), text(ScheduleText::ContactsGroup));
    EXPECT_EQ(child<QPushButton>(window, "OKButton")->text(), valdora::test::rowText(language, 301));
    EXPECT_EQ(child<QPushButton>(window, "CancelButton")->text(), valdora::test::rowText(language, 302));
    valdora::test::expectNothingClipped(window);
    EXPECT_LE(window.width(), 600);
    EXPECT_LE(window.height(), 520);
    valdora::test::saveScreenshot(window,
                                  QStringLiteral("frmSchedule-%1").arg(QString::fromLatin1(language.name)));
}

INSTANTIATE_TEST_SUITE_P(Languages, ScheduleWindowLanguage,
                         ::testing::Values(valdora::test::English, valdora::test::French,
                                           valdora::test::German),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScheduleTextsTest, EveryTextIsThereInEveryLanguage)
{
    for (const qint16 base : {300, 1300, 2300})
        for (int id = 0; id < static_cast<int>(ScheduleText::Count); ++id)
            EXPECT_FALSE(scheduleText(base, static_cast<ScheduleText>(id)).isEmpty()) << base << " " << id;
    EXPECT_EQ(scheduleText(300, ScheduleText::MenuSchedule), QStringLiteral("Sc&hedule..."));
}

} // namespace
} // namespace valdora::schedule
