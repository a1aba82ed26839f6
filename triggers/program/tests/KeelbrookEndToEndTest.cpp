// From Keelbrook to a filled field: Keelbrook's code opens the database while no host runs, writes a
// button trigger and lists it by the button's caption; then the host starts with its window, the user
// leaves the field, the host starts ValdoraAuto from the trigger, and the button's value is in the
// contact.
#include "triggers/program/DatabaseSelection.h"
#include "triggers/program/KeelbrookState.h"
#include "triggers/program/TriggerListing.h"

#include "host/embedded/DatabaseFactory.h"
#include "run/tests/ProgramOnHostFixture.h"
#include "triggers/TriggerText.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace valdora::keelbrook::test {
namespace {

using run::test::Keys;

const QString TriggerField = QStringLiteral("User 1");
const QString Amount = QStringLiteral("Amount");

class KeelbrookEndToEnd : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        const UserSettings& settings = m_session->userSettings();
        ASSERT_TRUE(settings.set(Application::Valdora, "Settings", "Version", "310"));
        ASSERT_TRUE(
            settings.set(Application::Valdora, "Settings", "IniLocation", m_session->settingsFilePath()));
        ASSERT_TRUE(settings.set(Application::Valdora, "Options", "Language", "0"));
    }

    /// Amount = 3 x 4, written without a warning.
    void multiplyButton(const QString& fileName, host::FieldId amountId)
    {
        writeButton(fileName, Keys{{"Type", "3"},
                                   {"Name", "Invoice total"},
                                   {"Target", Amount},
                                   {"TargetID", QString::number(amountId)},
                                   {"TargetType", QString::number(host::FieldType::Numeric)},
                                   {"TargetDecimals", "2"},
                                   {"Over3", "1"},
                                   {"CalcOperator", "0"},
                                   {"CalcTextOption0", "1"},
                                   {"CalcText0", "3"},
                                   {"CalcTextOption1", "1"},
                                   {"CalcText1", "4"},
                                   {"AutoWarning0", "0"},
                                   {"AutoWarning1", "0"},
                                   {"AutoWarning2", "1"}});
    }

    QString field(const QString& name)
    {
        return run({QStringLiteral("get"), m_database, firstContactId(), name}).out.trimmed();
    }

    bool fieldBecomes(const QString& name, const QString& value, int msecs = 30000)
    {
        const QDeadlineTimer deadline(msecs);
        while (!deadline.hasExpired()) {
            if (field(name) == value)
                return true;
            QThread::msleep(50);
        }
        return false;
    }
};

TEST_F(KeelbrookEndToEnd, ATriggerWrittenByKeelbrookRunsTheButtonWhenTheFieldIsLeft)
{
    // Keelbrook lies beside ValdoraAuto.exe: the trigger names its own folder.
    const QString programFolder = valdora::test::binaryFolder();
    ProgramSession session(m_platform, QStringLiteral("Keelbrook"), programFolder,
                           UserSettings(m_settings->path()), TextLocale(), MessageTable::keelbrook());
    KeelbrookState state(session, &host::createDatabase, QStringLiteral("3.1.3"));
    state.setEndProgram([] {});
    state.settleLanguage();
    state.settleSettingsFile();
    ASSERT_TRUE(openDatabase(state, m_database, [](host::Database&) {}));
    host::FieldList& fields = state.fields();
    multiplyButton(QStringLiteral("~100.ini"), fields.FieldID(Amount));
    const host::FieldId trigger = fields.FieldID(TriggerField);
    fields.ExitTrigger(trigger, TriggerText::forButtons(programFolder, {QStringLiteral("~100")}));

    const Listing listing = listTriggers(state);
    ASSERT_EQ(listing.rows.size(), 1);
    EXPECT_EQ(listing.rows[0].fieldId, trigger);
    EXPECT_EQ(listing.rows[0].description, QStringLiteral("Valdora Button: Invoice total"));
    EXPECT_FALSE(state.ended());
    state.closeDatabase();

    startHost(valdora::test::HostStart::WithWindow);
    ASSERT_EQ(run({QStringLiteral("enter-field"), TriggerField}).code, 0);
    ASSERT_EQ(run({QStringLiteral("leave-field"), TriggerField}).code, 0);
    EXPECT_TRUE(fieldBecomes(Amount, QStringLiteral("12.00"))) << field(Amount).toStdString();
}

} // namespace
} // namespace valdora::keelbrook::test
