#include "bar/JournalCommand.h"
#include "bar/RunCommand.h"
#include "run/UndoAndRetry.h"

#include "core/testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

struct JournalParseCase {
    const char* name;
    QStringList arguments;
    std::optional<JournalAction> action; // absent: refused
    std::optional<qint64> run;
    QString error;
};

class JournalCommandParseTest : public ::testing::TestWithParam<JournalParseCase> {};

TEST_P(JournalCommandParseTest, ReadsTheActionAndRunOrExplains)
{
    const JournalParseCase& c = GetParam();
    EXPECT_TRUE(JournalCommand::isJournalRequest(c.arguments));
    QString error;
    const std::optional<JournalCommandRequest> request = JournalCommand::parse(c.arguments, error);
    if (!c.action) {
        EXPECT_FALSE(request);
        EXPECT_EQ(error, c.error);
        return;
    }
    ASSERT_TRUE(request) << error.toStdString();
    EXPECT_EQ(request->action, *c.action);
    EXPECT_EQ(request->run, c.run);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, JournalCommandParseTest,
    ::testing::Values(
        JournalParseCase{"Runs", {"--runs"}, JournalAction::List, std::nullopt, {}},
        JournalParseCase{"UndoLast", {"--undo"}, JournalAction::Undo, std::nullopt, {}},
        JournalParseCase{"UndoRun", {"--undo", "12"}, JournalAction::Undo, 12, {}},
        JournalParseCase{"RetryRun", {"--retry", "3"}, JournalAction::Retry, 3, {}},
        JournalParseCase{"RetryLast", {"--retry"}, JournalAction::Retry, std::nullopt, {}},
        JournalParseCase{"NotANumber",
                         {"--undo", "last"},
                         std::nullopt,
                         std::nullopt,
                         "'last' is not a run number (see --runs)"},
        JournalParseCase{
            "Zero", {"--retry", "0"}, std::nullopt, std::nullopt, "'0' is not a run number (see --runs)"},
        JournalParseCase{
            "RunsTakesNoRun", {"--runs", "3"}, std::nullopt, std::nullopt, "unknown argument '3'"},
        JournalParseCase{"TooMany", {"--undo", "3", "4"}, std::nullopt, std::nullopt, "unknown argument '4'"},
        JournalParseCase{"ActionFirst", {"3", "--undo"}, std::nullopt, std::nullopt, "unknown argument '3'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunCommandPreviewTest, PreviewIsAFlagOfTheRun)
{
    QString error;
    const std::optional<RunRequest> request =
        RunCommand::parse({"--run", "~100", "--preview", "--scope", "all"}, error);
    ASSERT_TRUE(request) << error.toStdString();
    EXPECT_TRUE(request->preview);
    EXPECT_EQ(request->scope, run::Scope::AllContacts);
    const std::optional<RunRequest> plain = RunCommand::parse({"--run", "~100", "--scope", "all"}, error);
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->preview);
}

TEST(JournalCommandTextTest, UndoTellsWhatItLeftAndThatNumbersStayHandedOut)
{
    journal::UndoReport report;
    report.run = 4;
    report.contacts = 2;
    report.fields = 3;
    report.changedSince.push_back({"C1", "User 1", "by hand", "N-7"});
    report.locked << "C2";
    report.numbers = true;
    EXPECT_EQ(
        run::undoReportText(report, Messages()),
        QStringLiteral(
            "Undo of run 4: 2 contacts written back (3 fields).\n"
            "Left alone, changed since the run: C1, User 1 holds \"by hand\", the run wrote \"N-7\"\n"
            "Locked by another user, not written back: C2 (undo run 4 again to retry)\n"
            "2 contacts of run 4 could not be taken back: 1 locked by another user, 1 changed since the "
            "run, 0 no longer in the database.\n"
            "AutoNumber counters are not rolled back: the numbers this run handed out are never "
            "handed out again."));
    // The bar shows the same report in the user's language.
    const QString french = run::undoReportText(report, Messages(MessageTable::valdora(), 1300));
    EXPECT_TRUE(french.startsWith(
        QStringLiteral("Annulation de l'exécution 4\u00a0: 2 contacts rétablis (3 champs).")))
        << french.toStdString();
    EXPECT_TRUE(french.contains(QStringLiteral("C2 (annulez de nouveau l'exécution 4 pour réessayer)")));
    EXPECT_EQ(JournalCommand::undoExitCode(report), 1);
    EXPECT_EQ(JournalCommand::undoExitCode(journal::UndoReport{}), 0);
}

} // namespace
} // namespace valdora::bar
