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

struct SummaryCase {
    const char* name;
    run::RunSummary summary;
    const char* line;
    int exitCode;
};

void PrintTo(const SummaryCase& row, std::ostream* os)
{
    *os << row.name;
}

class SummaryTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryTest, LineAndExitCode)
{
    EXPECT_EQ(RunCommand::summaryLine("~100.ini", GetParam().summary), QString::fromUtf8(GetParam().line));
    EXPECT_EQ(RunCommand::exitCode(GetParam().summary), GetParam().exitCode);
}

run::RunSummary summaryOf(int inScope, int written, int unchanged, int failed, bool reported = false,
                          bool stopped = false)
{
    run::RunSummary summary;
    summary.started = true;
    summary.inScope = inScope;
    summary.written = written;
    summary.unchanged = unchanged;
    summary.failed = failed;
    summary.failureReported = reported;
    summary.stopped = stopped;
    return summary;
}

run::RunSummary handedOver()
{
    run::RunSummary summary;
    summary.handedOver = true;
    return summary;
}

// A run that did not do all it was asked never exits 0, and its counts always add up to the scope.
INSTANTIATE_TEST_SUITE_P(
    Summaries, SummaryTest,
    ::testing::Values(
        SummaryCase{"AllDone", summaryOf(12, 10, 2, 0),
                    "~100.ini: 12 contacts in scope, 10 written, 2 left unchanged, 0 failed", 0},
        SummaryCase{"OneFailed", summaryOf(12, 9, 2, 1),
                    "~100.ini: 12 contacts in scope, 9 written, 2 left unchanged, 1 failed", 1},
        SummaryCase{"FailureReportedOnTheWay", summaryOf(3, 3, 0, 0, true),
                    "~100.ini: 3 contacts in scope, 3 written, 0 left unchanged, 0 failed", 1},
        SummaryCase{"StoppedHalfway", summaryOf(20000, 8038, 0, 1, true, true),
                    "~100.ini: 20000 contacts in scope, 8038 written, 0 left unchanged, 1 failed, "
                    "11961 not reached",
                    1},
        SummaryCase{"EndedWithoutReport", summaryOf(5, 2, 0, 0),
                    "~100.ini: 5 contacts in scope, 2 written, 0 left unchanged, 0 failed, 3 not reached", 1},
        SummaryCase{"NotRun", run::RunSummary{}, "~100.ini: not run", 2},
        SummaryCase{"HandedOver", handedOver(), "~100.ini: handed to ValdoraAuto.exe for the current contact",
                    0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar
