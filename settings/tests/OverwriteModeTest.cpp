#include "SettingsTestSupport.h"

#include "settings/ButtonModel.h"
#include "settings/OverwriteMode.h"

namespace valdora::test {
namespace {

// The option the editor shows checked: its index in the "Over" group, NoChoice for none.
int shownOption(std::optional<OverwriteMode> overwrite)
{
    return overwrite ? static_cast<int>(*overwrite) : NoChoice;
}

// The editor's reading of the "Over" group of a stored file, damaged ones included.
struct ShownCase {
    const char* name;
    QStringList lines;
    int option;
};

void PrintTo(const ShownCase& c, std::ostream* out)
{
    *out << c.name;
}

class OverwriteShown : public SettingsTest, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(OverwriteShown, LastOptionOnIsChecked)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(
        writeFile(file.path(), buttonFileText(QStringList{QStringLiteral("Type=4")} + GetParam().lines)));
    EXPECT_EQ(shownOption(loadButton(file, QStringLiteral("/prog/")).overwrite), GetParam().option);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OverwriteShown,
    ::testing::Values(ShownCase{"NoKeys", {}, 0},
                      ShownCase{"Never", {"Over0=1", "Over1=0", "Over2=0", "Over3=0"}, 0},
                      ShownCase{"Append", {"Over0=0", "Over1=1", "Over2=0", "Over3=0"}, 1},
                      ShownCase{"UnlessEmpty", {"Over0=0", "Over1=0", "Over2=1", "Over3=0"}, 2},
                      ShownCase{"Always", {"Over0=0", "Over1=0", "Over2=0", "Over3=1"}, 3},
                      ShownCase{"AppendOverAnAbsentFirst", {"Over1=1"}, 1},
                      ShownCase{"SeveralTheLastWins", {"Over0=1", "Over2=1", "Over1=1"}, 2},
                      ShownCase{"EveryOption", {"Over0=1", "Over1=1", "Over2=1", "Over3=1"}, 3},
                      ShownCase{"NoneOn", {"Over0=0"}, NoChoice},
                      ShownCase{"OnlyOneReadsOn", {"Over0=yes", "Over1=0", "Over3=-1"}, NoChoice},
                      ShownCase{"EmptyFirstReadsOn", {"Over0="}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// One row of the mode table, and what its step makes of a filled target, an empty one and an empty
// value (separator "/").
struct ModeCase {
    const char* name;
    OverwriteMode mode;
    const char* key;
    MessageId caption;
    FilledTargetAction filledTarget;
    OverwriteResult onFilled;  // "A" given "7"
    OverwriteResult onEmpty;   // "" given "7"
    OverwriteResult onNothing; // "A" given ""
};

void PrintTo(const ModeCase& c, std::ostream* out)
{
    *out << c.name;
}

const std::array ModeCases{
    ModeCase{"NeverOverwrite",
             OverwriteMode::NeverOverwrite,
             "Over0",
             MessageId::NeverOverwrite,
             FilledTargetAction::Skip,
             {"A", false},
             {"7", true},
             {"A", false}},
    ModeCase{"Append",
             OverwriteMode::Append,
             "Over1",
             MessageId::AppendWithSeparator,
             FilledTargetAction::Append,
             {"A/7", true},
             {"7", true},
             {"A", false}},
    ModeCase{"OverwriteUnlessEmpty",
             OverwriteMode::OverwriteUnlessEmpty,
             "Over2",
             MessageId::OverwriteUnlessEmpty,
             FilledTargetAction::Replace,
             {"7", true},
             {"7", true},
             {"A", false}},
    ModeCase{"AlwaysOverwrite",
             OverwriteMode::AlwaysOverwrite,
             "Over3",
             MessageId::AlwaysOverwrite,
             FilledTargetAction::Replace,
             {"7", true},
             {"7", true},
             {"", true}},
};

class OverwriteModeRows : public SettingsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(OverwriteModeRows, KeyModeAndRowAgree)
{
    const ModeCase& c = GetParam();
    const OverwriteModeRow& row = rowOf(c.mode);
    EXPECT_EQ(row.mode, c.mode);
    EXPECT_EQ(keyOf(c.mode), QString::fromLatin1(c.key));
    EXPECT_EQ(overwriteModeOfKey(QString::fromLatin1(c.key)), c.mode);
    EXPECT_EQ(overwriteModeOfKey(QString::fromLatin1(c.key).toLower()), c.mode);
    EXPECT_EQ(overwriteModeAt(static_cast<int>(c.mode)), c.mode);
    EXPECT_EQ(row.caption, c.caption);
    EXPECT_EQ(row.filledTarget, c.filledTarget);
}

TEST_P(OverwriteModeRows, StepCombinesPresentAndComputed)
{
    const ModeCase& c = GetParam();
    const OverwriteStep step = rowOf(c.mode).step;
    const QString separator = QStringLiteral("/");
    EXPECT_EQ(step(QStringLiteral("A"), QStringLiteral("7"), separator), c.onFilled);
    EXPECT_EQ(step(QString(), QStringLiteral("7"), separator), c.onEmpty);
    EXPECT_EQ(step(QStringLiteral("A"), QString(), separator), c.onNothing);
}

// What the editor writes, the editor and a run read back as that one mode.
TEST_P(OverwriteModeRows, WrittenModeReadsBackAlike)
{
    const ModeCase& c = GetParam();
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeOverwriteMode(file, c.mode));
    for (const OverwriteModeRow& row : OverwriteModes)
        EXPECT_EQ(file.read(keyOf(row.mode)), row.mode == c.mode ? u"1" : u"0")
            << keyOf(row.mode).toStdString();
    EXPECT_EQ(readOverwriteMode(file), c.mode);
    EXPECT_EQ(readRunOverwriteOptions(file), OverwriteOptions{c.mode});
}

INSTANTIATE_TEST_SUITE_P(Modes, OverwriteModeRows, ::testing::ValuesIn(ModeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OverwriteModeTable, NamesNoModeOutsideTheGroup)
{
    EXPECT_EQ(overwriteModeAt(NoChoice), std::nullopt);
    EXPECT_EQ(overwriteModeAt(static_cast<int>(OverwriteModes.size())), std::nullopt);
    EXPECT_EQ(overwriteModeOfKey(QStringLiteral("Over4")), std::nullopt);
    EXPECT_EQ(overwriteModeOfKey(ButtonKey::Over), std::nullopt);
    for (std::size_t i = 0; i < OverwriteModes.size(); ++i)
        EXPECT_EQ(static_cast<std::size_t>(OverwriteModes[i].mode), i);
}

using OverwriteModeFile = SettingsTest;

TEST_F(OverwriteModeFile, WithoutAModeEveryOptionIsWrittenOff)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), buttonFileText({QStringLiteral("Over2=1")})));
    ASSERT_TRUE(writeOverwriteMode(file, std::nullopt));
    EXPECT_EQ(readOverwriteMode(file), std::nullopt);
    EXPECT_TRUE(readRunOverwriteOptions(file).empty());
}

} // namespace
} // namespace valdora::test
