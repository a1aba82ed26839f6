#include "SettingsTestSupport.h"

#include "settings/ButtonModel.h"
#include "settings/RunSchemeReaders.h"

#include <optional>

namespace valdora::test {
namespace {

// What a run reads from the keys it reads otherwise than the editor: one column per reader.
struct RunReading {
    bool constantOperand;
    QString addBetween;
    QString addJoining;
    QString multiplyOperator;
    QString conditionOperator;
    QString nowOperator;
    int nowFormat;
    QString autoSeparator;
    QString truncateDigits;
    std::optional<QString> counterFile;
};

struct RunReadCase {
    const char* name;
    QStringList lines;
    RunReading run;
};

void PrintTo(const RunReadCase& c, std::ostream* out)
{
    *out << c.name;
}

const QStringList EmptyKeys = {
    "CalcTextOption0=", "CalcOperator0=", "CalcOperator=",   "Operator0=",  "NowOperator=",
    "NowFormatDate0=",  "AutoSep=",       "TruncateDigits=", "AutoIniFile="};

class RunSchemeReaders : public SettingsTest, public ::testing::WithParamInterface<RunReadCase> {};

TEST_P(RunSchemeReaders, ReadAsARunReadsThem)
{
    const RunReadCase& c = GetParam();
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), buttonFileText(c.lines)));
    EXPECT_EQ(readRunConstantOperand(file, 0), c.run.constantOperand);
    const RunAddOperators add = readRunAddOperators(file);
    EXPECT_EQ(add.between[0], c.run.addBetween);
    EXPECT_EQ(add.joining[0], c.run.addJoining);
    EXPECT_EQ(readRunMultiplyOperator(file), c.run.multiplyOperator);
    EXPECT_EQ(readRunConditionOperator(file, 0), c.run.conditionOperator);
    EXPECT_EQ(readRunNowOperator(file), c.run.nowOperator);
    EXPECT_EQ(readRunNowFormat(file), c.run.nowFormat);
    EXPECT_EQ(readRunAutoSeparator(file), c.run.autoSeparator);
    EXPECT_EQ(readRunTruncateDigits(file), c.run.truncateDigits);
    EXPECT_EQ(readStoredCounterFile(file), c.run.counterFile);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RunSchemeReaders,
    ::testing::Values(
        RunReadCase{"NoKeys", {}, {false, "", "0", "", "-1", "0", 1, "-", "0", std::nullopt}},
        RunReadCase{"EmptyKeys", EmptyKeys, {false, "", "0", "", "-1", "0", 1, "-", "0", std::nullopt}},
        RunReadCase{"Damaged",
                    {"CalcTextOption0=yes", "CalcOperator0=x", "CalcOperator=x", "Operator0=x",
                     "NowOperator=x", "NowFormatDate0=x", "NowFormatDate2=yes"},
                    {false, "x", "x", "x", "x", "x", 1, "-", "0", std::nullopt}},
        RunReadCase{"Stored",
                    {"CalcTextOption0=1", "CalcOperator0=1", "CalcOperator=1", "Operator0=6", "NowOperator=1",
                     "NowFormatDate2=1", "AutoSep=/", "TruncateDigits=3", "AutoIniFile=/data/C.num"},
                    {true, "1", "1", "1", "6", "1", 2, "/", "3", QStringLiteral("/data/C.num")}},
        // Where the editor shows the last option on, a run goes by the first it tests.
        RunReadCase{"BothOptionsOn",
                    {"CalcTextOption0=1", "CalcFieldOption0=1", "NowFormatDate0=1", "NowFormatDate2=1"},
                    {true, "", "0", "", "-1", "0", 0, "-", "0", std::nullopt}}),
    [](const auto& info) { return std::string(info.param.name); });

using RunSchemeReadersTest = SettingsTest;

// The run's defaults are its own: the editor reads the same files otherwise.
TEST_F(RunSchemeReadersTest, DefaultsDifferFromTheEditors)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), buttonFileText({"Name=Inv", "CalcTextOption0=1", "CalcFieldOption0=1",
                                                       "NowFormatDate0=1", "NowFormatDate2=1"})));
    const auto autoNumber =
        std::get<AutoNumberKeys>(loadSchemeKeys(file, Scheme::AutoNumber, QStringLiteral("/p/")));
    EXPECT_EQ(autoNumber.separator, QString());
    EXPECT_EQ(readRunAutoSeparator(file), u"-");
    EXPECT_EQ(autoNumber.truncateDigits, 254);
    EXPECT_EQ(readRunTruncateDigits(file), u"0");
    EXPECT_EQ(autoNumber.counterFile, u"/p/AutoNumber_Inv.num");
    EXPECT_EQ(readStoredCounterFile(file), std::nullopt);
    const auto add = std::get<AddSubtractKeys>(loadSchemeKeys(file, Scheme::AddSubtract, {}));
    EXPECT_EQ(add.operands[0].source, Operand::Field);
    EXPECT_TRUE(readRunConstantOperand(file, 0));
    EXPECT_EQ(add.operators[0], 0);
    EXPECT_EQ(readRunAddOperators(file).between[0], QString());
    const auto now = std::get<NowKeys>(loadSchemeKeys(file, Scheme::Now, {}));
    EXPECT_EQ(now.format, 2);
    EXPECT_EQ(readRunNowFormat(file), 0);
}

} // namespace
} // namespace valdora::test
