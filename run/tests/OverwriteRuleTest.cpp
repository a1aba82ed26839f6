#include "run/OverwriteRule.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "settings/ProgramSession.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

struct RuleCase {
    const char* name;
    QList<QPair<QString, QString>> keys; // written into the button file
    QString present;
    QString computed;
    QString expected;
    bool used;
};

class OverwriteRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(OverwriteRuleTest, CombinesPresentAndComputedValue)
{
    const test::TemporaryUserSettings settings;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ScriptedPlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), folder.path(), UserSettings(settings.path()));
    const ButtonFile button(session.ini(), folder.filePath(QStringLiteral("~101.ini")));
    ASSERT_TRUE(button.write(ButtonKey::Type, QStringLiteral("4")));
    for (const auto& [key, value] : GetParam().keys)
        ASSERT_TRUE(button.write(key, value));

    const OverwriteResult result =
        OverwriteRule::fromButton(button).apply(GetParam().present, GetParam().computed);
    EXPECT_EQ(result.text.toStdString(), GetParam().expected.toStdString());
    EXPECT_EQ(result.valueUsed, GetParam().used);
}

const QString One = QStringLiteral("1");
const QString Zero = QStringLiteral("0");
const QString Empty;

INSTANTIATE_TEST_SUITE_P(
    Modes, OverwriteRuleTest,
    ::testing::Values(
        RuleCase{"FillOnlyEmpty_Empty", {{"Over0", One}, {"Over1", Zero}}, Empty, "7", "7", true},
        RuleCase{"FillOnlyEmpty_Filled", {{"Over0", One}, {"Over1", Zero}}, "A", "7", "A", false},
        RuleCase{"AppendWithSeparator",
                 {{"Over0", Zero}, {"Over1", One}, {"AppenSep", "/"}},
                 "A",
                 "7",
                 "A/7",
                 true},
        RuleCase{"AppendDefaultSeparator", {{"Over0", Zero}, {"Over1", One}}, "A", "7", "A-7", true},
        RuleCase{"AppendEmptySeparatorKey", {{"Over1", One}, {"AppenSep", Empty}}, "A", "7", "A-7", true},
        RuleCase{"AppendToEmpty", {{"Over0", Zero}, {"Over1", One}}, Empty, "7", "7", true},
        RuleCase{"AppendNothing", {{"Over0", Zero}, {"Over1", One}}, "A", Empty, "A", false},
        RuleCase{"OverwriteNeverEmpty_Empty",
                 {{"Over0", Zero}, {"Over1", Zero}, {"Over2", One}},
                 "A",
                 Empty,
                 "A",
                 false},
        RuleCase{"OverwriteNeverEmpty_Value",
                 {{"Over0", Zero}, {"Over1", Zero}, {"Over2", One}},
                 "A",
                 "B",
                 "B",
                 true},
        RuleCase{"AlwaysOverwrite_Empty",
                 {{"Over0", Zero}, {"Over1", Zero}, {"Over3", One}},
                 "A",
                 Empty,
                 Empty,
                 true},
        RuleCase{
            "AlwaysOverwrite_Value", {{"Over0", Zero}, {"Over1", Zero}, {"Over3", One}}, "A", "B", "B", true},
        RuleCase{"NoKeysBehavesAsAppend", {}, "A", "7", "A-7", true},
        RuleCase{"FillOnlyWithoutOver1Zero", {{"Over0", One}}, "A", "7", "A-7", true},
        RuleCase{"BlankIsNotEmpty", {{"Over0", One}, {"Over1", Zero}}, " ", "7", " ", false},
        RuleCase{"NoOptionKeepsField",
                 {{"Over0", Zero}, {"Over1", Zero}, {"Over2", Zero}, {"Over3", "x"}},
                 "A",
                 "7",
                 "A",
                 false},
        RuleCase{"NoOptionKeepsEmptyField", {{"Over0", "yes"}, {"Over1", Zero}}, Empty, "7", Empty, false},
        // Files with several options on: each option on replaces the text in turn, and the value
        // counts as used when any of them took it.
        RuleCase{"NoKeysNothingToWrite", {}, Empty, Empty, Empty, true},
        RuleCase{"NoKeysAppendNothing", {}, "A", Empty, "A", false},
        RuleCase{"FillAndOverwrite_Filled", {{"Over1", Zero}, {"Over2", One}}, "A", "B", "B", true},
        RuleCase{
            "FillAndOverwrite_NothingToWrite", {{"Over1", Zero}, {"Over2", One}}, Empty, Empty, Empty, true},
        RuleCase{"AppendAndOverwrite_Empty", {{"Over0", Zero}, {"Over2", One}}, "A", Empty, "A", false},
        RuleCase{"AppendAndOverwrite_Value", {{"Over0", Zero}, {"Over2", One}}, "A", "B", "B", true},
        RuleCase{"AppendAndAlways", {{"Over0", Zero}, {"Over3", One}}, "A", "7", "7", true},
        RuleCase{"EveryOption", {{"Over2", One}, {"Over3", One}}, "A", Empty, Empty, true},
        RuleCase{
            "AlwaysAfterNoText", {{"Over0", "x"}, {"Over1", Empty}, {"Over3", One}}, "A", "7", "7", true}),
    [](const auto& info) { return std::string(info.param.name); });

// A file the editor saved with one mode gives the rule of that mode alone, with its separator.
struct SavedModeCase {
    const char* name;
    OverwriteMode mode;
};

class OverwriteRuleOfMode : public ::testing::TestWithParam<SavedModeCase> {};

TEST_P(OverwriteRuleOfMode, IsTheRuleOfTheSavedMode)
{
    const test::TemporaryUserSettings settings;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ScriptedPlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), folder.path(), UserSettings(settings.path()));
    const ButtonFile button(session.ini(), folder.filePath(QStringLiteral("~101.ini")));
    ASSERT_TRUE(writeOverwriteMode(button, GetParam().mode));
    ASSERT_TRUE(button.write(ButtonKey::AppenSep, QStringLiteral("/")));

    const OverwriteRule rule = OverwriteRule::fromButton(button);
    EXPECT_EQ(rule.mode(), GetParam().mode);
    EXPECT_EQ(rule.options, OverwriteRule::of(GetParam().mode).options);
    EXPECT_EQ(rule.separator, u"/");
}

INSTANTIATE_TEST_SUITE_P(Modes, OverwriteRuleOfMode,
                         ::testing::Values(SavedModeCase{"NeverOverwrite", OverwriteMode::NeverOverwrite},
                                           SavedModeCase{"Append", OverwriteMode::Append},
                                           SavedModeCase{"OverwriteUnlessEmpty",
                                                         OverwriteMode::OverwriteUnlessEmpty},
                                           SavedModeCase{"AlwaysOverwrite", OverwriteMode::AlwaysOverwrite}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::run
