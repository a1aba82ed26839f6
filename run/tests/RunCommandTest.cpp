#include "bar/RunCommand.h"

#include "core/testsupport/TestEnvironment.h"

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

struct ParseCase {
    const char* name;
    QStringList arguments;
    QString button; // empty: refused
    run::Scope scope;
    QString error;
};

class RunCommandParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(RunCommandParseTest, ReadsButtonAndScopeOrExplains)
{
    const test::TemporaryUserSettings settings;
    QString error;
    const std::optional<RunRequest> request = RunCommand::parse(GetParam().arguments, error);
    if (GetParam().button.isEmpty()) {
        EXPECT_FALSE(request);
        EXPECT_EQ(error.toStdString(), GetParam().error.toStdString());
        return;
    }
    ASSERT_TRUE(request) << error.toStdString();
    EXPECT_EQ(request->buttonFileName.toStdString(), GetParam().button.toStdString());
    EXPECT_EQ(request->scope, GetParam().scope);
}

using run::Scope;
INSTANTIATE_TEST_SUITE_P(
    Arguments, RunCommandParseTest,
    ::testing::Values(
        ParseCase{"FileName", {"--run", "~100.ini", "--scope", "all"}, "~100.ini", Scope::AllContacts, {}},
        ParseCase{"Identifier", {"--run", "~100", "--scope", "lookup"}, "~100.ini", Scope::CurrentLookup, {}},
        ParseCase{"ScopeFirst", {"--scope", "current", "--run", "~7"}, "~7.ini", Scope::CurrentContact, {}},
        ParseCase{
            "NoScope", {"--run", "~100"}, {}, Scope::AllContacts, "--scope current|lookup|all is missing"},
        ParseCase{"BadScope",
                  {"--run", "~100", "--scope", "some"},
                  {},
                  Scope::AllContacts,
                  "unknown scope 'some' (current, lookup or all)"},
        ParseCase{"NoButton", {"--scope", "all"}, {}, Scope::AllContacts, "--run BUTTON is missing"},
        ParseCase{"ValueMissing", {"--run", "--scope", "all"}, {}, Scope::AllContacts, "--run needs a value"},
        ParseCase{"PathRefused",
                  {"--run", "~../../etc/x", "--scope", "all"},
                  {},
                  Scope::AllContacts,
                  "'~../../etc/x' is not a button name (like ~100.ini or ~100)"},
        ParseCase{"NotAButton",
                  {"--run", "valdora.ini", "--scope", "all"},
                  {},
                  Scope::AllContacts,
                  "'valdora.ini' is not a button name (like ~100.ini or ~100)"},
        ParseCase{"Unknown",
                  {"--run", "~1", "--scope", "all", "-x"},
                  {},
                  Scope::AllContacts,
                  "unknown argument '-x'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunCommandTest, SummaryLineAndExitCode)
{
    const test::TemporaryUserSettings settings;
    run::RunSummary summary{true, false, 12, 9, 2, 1};
    EXPECT_EQ(RunCommand::summaryLine("~100.ini", summary),
              QStringLiteral("~100.ini: 12 contacts in scope, 9 written, 2 left unchanged, 1 failed"));
    EXPECT_EQ(RunCommand::exitCode(summary), 1);
    summary.failed = 0;
    EXPECT_EQ(RunCommand::exitCode(summary), 0);
    EXPECT_EQ(RunCommand::exitCode(run::RunSummary{}), 2);
    EXPECT_EQ(RunCommand::exitCode(run::RunSummary{false, true, 0, 0, 0, 0}), 0);
}

} // namespace
} // namespace valdora::bar
