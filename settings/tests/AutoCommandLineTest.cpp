#include "settings/AutoCommandLine.h"

#include "core/testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace valdora::AutoCommandLine {
namespace {

struct ParseCase {
    const char* name;
    QString text;
    bool directMode;
    QStringList entries;
    QStringList buttonFileNames; // one a entry, "" for an entry that runs nothing
};

class ParseArgumentTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseArgumentTextTest, BuildsTheRunListCharacterByCharacter)
{
    const RunList list = parseArgumentText(GetParam().text);
    EXPECT_EQ(list.directMode, GetParam().directMode);
    EXPECT_EQ(list.entries, GetParam().entries);
    QStringList fileNames;
    for (qsizetype i = 0; i < list.entries.size(); ++i)
        fileNames << list.buttonFileName(i);
    EXPECT_EQ(fileNames, GetParam().buttonFileNames);
}

INSTANTIATE_TEST_SUITE_P(
    ArgumentTexts, ParseArgumentTextTest,
    ::testing::Values(
        ParseCase{"One", "~100", false, {"~100"}, {"~100.ini"}},
        ParseCase{
            "Queue", "~100,~101,~102", false, {"~100", "~101", "~102"}, {"~100.ini", "~101.ini", "~102.ini"}},
        ParseCase{"Direct", "*~100.ini", true, {"~100.ini"}, {"~100.ini"}},
        ParseCase{
            "DirectQueue", "*~100.ini,~101.ini", true, {"~100.ini", "~101.ini"}, {"~100.ini", "~101.ini"}},
        ParseCase{"BlankAfterComma", "~100, ~101", false, {"~100", " ~101"}, {"~100.ini", " ~101.ini"}},
        ParseCase{"BlankBeforeComma", "~100 ,~101", false, {"~100 ", "~101"}, {"~100 .ini", "~101.ini"}},
        ParseCase{"EmptyBetween", "~100,,~101", false, {"~100", "", "~101"}, {"~100.ini", "", "~101.ini"}},
        ParseCase{"LeadingComma", ",~100", false, {"", "~100"}, {"", "~100.ini"}},
        ParseCase{"FinalComma", "~100,", false, {"~100"}, {"~100.ini"}},
        ParseCase{"OnlyCommas", ",,", false, {}, {}}, ParseCase{"Empty", "", false, {}, {}},
        ParseCase{"OnlyTheMark", "*", true, {}, {}},
        // Only the first character is the mark; a later "*" is part of a name.
        ParseCase{"MarkInside", "~100,*~101", false, {"~100", "*~101"}, {"~100.ini", "*~101.ini"}},
        ParseCase{"BlankBeforeMark", " *~100.ini", false, {" *~100.ini"}, {" *~100.ini.ini"}}),
    [](const auto& info) { return info.param.name; });

TEST(RunListTest, AnEntryBeyondTheListNamesNoButton)
{
    EXPECT_EQ(parseArgumentText(QStringLiteral("~100")).buttonFileName(1), QString());
}

struct ArgumentsCase {
    const char* name;
    QStringList arguments;
    QString text;
};

class ArgumentTextTest : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(ArgumentTextTest, KeepsTheTextAsTheCommandLineHeldIt)
{
    EXPECT_EQ(argumentText(GetParam().arguments), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ArgumentTextTest,
                         ::testing::Values(ArgumentsCase{"None", {}, ""},
                                           ArgumentsCase{"One", {"~100,~101"}, "~100,~101"},
                                           ArgumentsCase{"SplitAtTheBlank", {"~100,", "~101"}, "~100, ~101"},
                                           ArgumentsCase{"BlanksInside", {"~100,  ~101 "}, "~100,  ~101 "},
                                           ArgumentsCase{"BlanksAfterTheProgram", {"   ~100"}, "~100"},
                                           ArgumentsCase{"Direct", {"*~100.ini"}, "*~100.ini"}),
                         [](const auto& info) { return info.param.name; });

TEST(AutoCommandLineTest, HandsOneButtonOverInDirectMode)
{
    EXPECT_EQ(directModeArguments(QStringLiteral("~100.ini")), QStringList{QStringLiteral("*~100.ini")});
    EXPECT_EQ(programPath(QStringLiteral("/opt/Valdora")), QStringLiteral("/opt/Valdora/ValdoraAuto.exe"));
}

TEST(AutoCommandLineTest, DirectModeArgumentsReadBackAsTheButton)
{
    const RunList list = parseArgumentText(argumentText(directModeArguments(QStringLiteral("~105.ini"))));
    EXPECT_TRUE(list.directMode);
    EXPECT_EQ(list.entries, QStringList{QStringLiteral("~105.ini")});
    EXPECT_EQ(list.buttonFileName(0), QStringLiteral("~105.ini"));
}

} // namespace
} // namespace valdora::AutoCommandLine
