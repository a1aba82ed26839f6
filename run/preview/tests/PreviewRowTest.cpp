#include "run/preview/PreviewRow.h"

#include "core/testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

struct ActionCase {
    const char* name;
    OverwriteRule rule;
    QString present;
    QString computed;
    PreviewAction action;
};

// A rule with the options "Over0" to "Over3" on or off.
OverwriteRule rule(bool fillEmpty, bool append, bool overwrite, bool alwaysWrite)
{
    OverwriteRule made;
    made.options = {};
    const std::pair<bool, OverwriteMode> options[] = {{fillEmpty, OverwriteMode::NeverOverwrite},
                                                      {append, OverwriteMode::Append},
                                                      {overwrite, OverwriteMode::OverwriteUnlessEmpty},
                                                      {alwaysWrite, OverwriteMode::AlwaysOverwrite}};
    for (const auto& [on, mode] : options) {
        if (on)
            made.options = made.options.with(mode);
    }
    return made;
}

class PreviewActionTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(PreviewActionTest, TellsWhatTheRuleDid)
{
    const ActionCase& c = GetParam();
    const QString result = c.rule.apply(c.present, c.computed).text;
    EXPECT_EQ(previewActionText(previewAction(c.rule, c.present, c.computed, result)),
              previewActionText(c.action));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PreviewActionTest,
    ::testing::Values(
        ActionCase{"FillEmpty", rule(true, false, false, false), "", "7", PreviewAction::Write},
        ActionCase{"FillEmptySkipsAFilledTarget", rule(true, false, false, false), "x", "7",
                   PreviewAction::SkipNotEmpty},
        ActionCase{"Append", rule(false, true, false, false), "x", "7", PreviewAction::Append},
        ActionCase{"AppendKeepsWithoutAValue", rule(false, true, false, false), "x", "", PreviewAction::Keep},
        ActionCase{"Overwrite", rule(false, false, true, false), "x", "7", PreviewAction::Overwrite},
        ActionCase{"OverwriteSameValue", rule(false, false, true, false), "7", "7", PreviewAction::Unchanged},
        ActionCase{"AlwaysWriteEmpties", rule(false, false, false, true), "x", "", PreviewAction::Overwrite},
        ActionCase{"NothingOnEmpty", rule(false, false, true, false), "", "", PreviewAction::Unchanged},
        ActionCase{"FillEmptyKeepsWithoutAValue", rule(true, false, false, false), "x", "",
                   PreviewAction::Keep},
        ActionCase{"AlwaysWriteFills", rule(false, false, false, true), "", "7", PreviewAction::Write},
        ActionCase{"NoOptionKeeps", rule(false, false, false, false), "x", "7", PreviewAction::Unchanged},
        ActionCase{"FillAndAppendAppends", rule(true, true, false, false), "x", "7", PreviewAction::Append},
        ActionCase{"FillAndOverwriteOverwrites", rule(true, false, true, false), "x", "7",
                   PreviewAction::Overwrite},
        ActionCase{"AppendAndAlwaysOverwrites", rule(false, true, false, true), "x", "7",
                   PreviewAction::Overwrite},
        ActionCase{"AppendAndOverwriteKeeps", rule(false, true, true, false), "x", "", PreviewAction::Keep}),
    [](const auto& info) { return std::string(info.param.name); });

// The preview's action of each mode for a target that holds a value and is given another one.
struct ModeActionCase {
    const char* name;
    OverwriteMode mode;
    PreviewAction action;
};

class PreviewModeAction : public ::testing::TestWithParam<ModeActionCase> {};

TEST_P(PreviewModeAction, NamesWhatTheModeDoesToAFilledTarget)
{
    const OverwriteRule rule = OverwriteRule::of(GetParam().mode);
    const QString result = rule.apply(QStringLiteral("x"), QStringLiteral("7")).text;
    EXPECT_EQ(previewActionText(previewAction(rule, QStringLiteral("x"), QStringLiteral("7"), result)),
              previewActionText(GetParam().action));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PreviewModeAction,
    ::testing::Values(
        ModeActionCase{"NeverOverwrite", OverwriteMode::NeverOverwrite, PreviewAction::SkipNotEmpty},
        ModeActionCase{"Append", OverwriteMode::Append, PreviewAction::Append},
        ModeActionCase{"OverwriteUnlessEmpty", OverwriteMode::OverwriteUnlessEmpty, PreviewAction::Overwrite},
        ModeActionCase{"AlwaysOverwrite", OverwriteMode::AlwaysOverwrite, PreviewAction::Overwrite}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewRowTest, CountsContactsNotRows)
{
    std::vector<PreviewRow> rows{{"1", "", "", "User 1", "", "a", PreviewAction::Write},
                                 {"1", "", "", "User 2", "b", "b", PreviewAction::Unchanged},
                                 {"2", "", "", "User 1", "b", "b", PreviewAction::Unchanged},
                                 {"2", "", "", "User 2", "b", "b", PreviewAction::Unchanged},
                                 {"3", "", "", "User 1", "", "c", PreviewAction::Locked}};
    const PreviewCounts counts = previewCounts(rows);
    EXPECT_EQ(counts.wouldWrite, 1);
    EXPECT_EQ(counts.unchanged, 1);
    EXPECT_EQ(counts.lockedNow, 1);
}

TEST(PreviewRowTest, CsvQuotesWhatNeedsIt)
{
    const QString csv =
        previewCsv({{"1", "Smith, Anna", "Acme \"Ltd\"", "User 1", "", "a\nb", PreviewAction::Write}});
    EXPECT_EQ(csv, QStringLiteral("Contact,Company,Field,Present value,Would write,Action\r\n"
                                  "\"Smith, Anna\",\"Acme \"\"Ltd\"\"\",User 1,,\"a\nb\",write\r\n"));
}

} // namespace
} // namespace valdora::run
