// Adding triggers to a real database file while no host runs, each result read back through a
// second opening of the file, as the host would find it.
#include "ScriptedQuestions.h"

#include "triggers/TriggerCreation.h"
#include "triggers/TriggerText.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/ContactTable.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::triggers::test {
namespace {

const QString Folder = QStringLiteral("/opt/Keel brook");

class TriggerOnDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("Contacts.dbf"));
        host::createSampleDatabase(m_path, 3);
        m_database = host::createDatabase();
        m_database->OpenEx(m_path);
    }
    host::FieldList& fields() { return m_database->Contact().Fields(); }
    /// The trigger as a fresh opening of the file reads it.
    QString storedTrigger(TriggerKind kind)
    {
        const auto other = host::createDatabase();
        other->OpenEx(m_path);
        const QString text = readTrigger(other->Contact().Fields(), Field, kind);
        other->Close();
        return text;
    }
    std::optional<RememberedTrigger> add(const TriggerTarget& target,
                                         CheckResult conflictChoice = CheckResult::Nothing, bool yes = false,
                                         TriggerKind kind = TriggerKind::Exit)
    {
        ScriptedQuestions questions;
        questions.conflictChoice = conflictChoice;
        questions.yes = yes;
        return createTrigger(fields(), Field, kind, target, Folder, questions, m_trace);
    }

    static constexpr host::FieldId Field = host::FieldNumber::Company;
    valdora::test::TemporaryUserSettings m_settings;
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<host::Database> m_database;
    KeelbrookTrace m_trace;
};

TEST_F(TriggerOnDatabaseTest, QueuesAndOverwritesButtons)
{
    const QString first = QStringLiteral("/opt/Keel brook/ValdoraAuto.exe ~100");
    EXPECT_EQ(add(TriggerTarget::button(QStringLiteral("~100"))),
              (RememberedTrigger{Field, TriggerKind::Exit, first}));
    EXPECT_EQ(storedTrigger(TriggerKind::Exit), first);
    EXPECT_EQ(storedTrigger(TriggerKind::Entry), u"");

    EXPECT_EQ(add(TriggerTarget::button(QStringLiteral("~101")), CheckResult::Nothing), std::nullopt);
    EXPECT_EQ(storedTrigger(TriggerKind::Exit), first);

    const QString queue = first + QStringLiteral(",~101");
    EXPECT_EQ(add(TriggerTarget::button(QStringLiteral("~101")), CheckResult::Queue),
              (RememberedTrigger{Field, TriggerKind::Exit, queue}));
    EXPECT_EQ(storedTrigger(TriggerKind::Exit), queue);

    EXPECT_EQ(add(TriggerTarget::button(QStringLiteral("~100")), CheckResult::Queue), std::nullopt);
    EXPECT_EQ(storedTrigger(TriggerKind::Exit), queue);

    const QString overwritten = QStringLiteral("/opt/Keel brook/ValdoraAuto.exe ~103");
    EXPECT_EQ(add(TriggerTarget::button(QStringLiteral("~103")), CheckResult::Write),
              (RememberedTrigger{Field, TriggerKind::Exit, overwritten}));
    EXPECT_EQ(storedTrigger(TriggerKind::Exit), overwritten);
    EXPECT_TRUE(m_trace.path().endsWith(u"check_trigger(25)/"));
}

TEST_F(TriggerOnDatabaseTest, AMacroStaysUnlessTheUserOverwritesIt)
{
    const QString macro = QStringLiteral("/home/u/macros/fill.mpr");
    EXPECT_TRUE(add(TriggerTarget::programOrMacro(macro), CheckResult::Nothing, false, TriggerKind::Entry));
    EXPECT_EQ(storedTrigger(TriggerKind::Entry), macro);

    EXPECT_EQ(
        add(TriggerTarget::button(QStringLiteral("~100")), CheckResult::Nothing, false, TriggerKind::Entry),
        std::nullopt);
    EXPECT_EQ(storedTrigger(TriggerKind::Entry), macro);

    EXPECT_TRUE(
        add(TriggerTarget::button(QStringLiteral("~100")), CheckResult::Nothing, true, TriggerKind::Entry));
    EXPECT_EQ(storedTrigger(TriggerKind::Entry), TriggerText::forButtons(Folder, {QStringLiteral("~100")}));
    EXPECT_EQ(storedTrigger(TriggerKind::Exit), u"");
}

} // namespace
} // namespace valdora::triggers::test
