#include "EngineTestBed.h"

#include <gtest/gtest.h>

#include <tuple>

namespace valdora::engine::test {
namespace {

struct CalcCase {
    const char* name;
    const char* expression; ///< "{Amount}" stands for the id of field "Amount"
    FieldValues fields;
    const char* expected;
    QStringList messages;
};

void PrintTo(const CalcCase& row, std::ostream* os)
{
    *os << row.name;
}

// The calculator's own rules: one pass per operator ("*", "/", "+", "-"), one level of parentheses.
const std::vector<CalcCase> CalcCases = {
    {"PlainNumber", "//5", {}, "5", {}},
    {"Spaces", "//  2 * 3  ", {}, "6", {}},
    {"FieldReference", "//[{Amount}]*2", {{"Amount", "21"}}, "42", {}},
    {"EmptyFieldIsZero", "//[{Amount}]*2", {}, "0", {}},
    {"FieldNameIsNotAnId", "//[Phone]", {}, "", {"Invalid calculation"}},
    {"TwoGroups", "//(1+2)*(3+4)", {}, "21", {}},
    {"LeadingMinus", "//-5+2", {}, "", {"Invalid field value: "}},
    {"DivisionByZero", "//10/0", {}, "Invalid", {}},
    {"DivisionByZeroInGroup", "//(10/0)+1", {}, "", {"Invalid field value: Invalid"}},
    {"TimesBeforeDivide", "//8/2*2", {}, "2", {}},
    {"PlusBeforeMinus", "//10-2+3", {}, "5", {}},
    {"TimesLeftToRight", "//2*3*4", {}, "24", {}},
    {"MinusLeftToRight", "//7-1-1", {}, "5", {}},
    {"BenchmarkExpression",
     "//([{Amount}] + 5) * 2 - [{Price}] / 4",
     {{"Amount", "12"}, {"Price", "8"}},
     "32",
     {}},
    {"Fraction", "//7/2", {}, "3{d}5", {}},
    {"FractionInput", "//1{d}5*2", {}, "3", {}},
    {"DotIsNotTheSeparatorEverywhere", "//2x3", {}, "", {"Invalid field value: 2x3"}},
    {"EmptyExpression", "//", {}, "0", {}},
    {"TwoOperatorsInARow", "//5*/2", {}, "", {"Invalid field value: "}},
    {"NestedGroupClosesAtFirst", "//((1+2)*3)", {}, "90", {}},
    {"UnclosedReference", "//[{Amount}", {{"Amount", "4"}}, "", {"Invalid calculation"}},
    {"UnclosedGroup", "//(1+2", {}, "", {"Invalid calculation"}},
};

using CalcParam = std::tuple<CalcCase, const char*, ReaderKind>;

class CalculatorTest : public ::testing::TestWithParam<CalcParam> {};

TEST_P(CalculatorTest, StartCalc)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    QString expression = bed.expand(QString::fromUtf8(row.expression));
    for (const char* name : {"Amount", "Price"})
        expression.replace(QStringLiteral("{%1}").arg(QLatin1String(name)),
                           QString::number(bed.fieldId(QLatin1String(name))));
    FieldValues fields = row.fields;
    for (auto it = fields.begin(); it != fields.end(); ++it)
        *it = bed.expand(*it);
    const host::ContactId contact = bed.addContact(fields);
    // The calculator reads the current record: the condition scheme has made it current.
    bed.contacts().Goto(contact);

    EXPECT_EQ(bed.engine().calculator().Start_Calc(expression), bed.expand(QString::fromUtf8(row.expected)));
    EXPECT_EQ(bed.messages(), row.messages);
    // The result does not depend on the calculations made before it.
    bed.platform().clearRecord();
    EXPECT_EQ(bed.engine().calculator().Start_Calc(expression), bed.expand(QString::fromUtf8(row.expected)));
}

INSTANTIATE_TEST_SUITE_P(Expressions, CalculatorTest,
                         ::testing::Combine(::testing::ValuesIn(CalcCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

TEST(CalculatorFieldValues, ComputedValueOfThisRunComesFirst)
{
    for (const ReaderKind kind : {ReaderKind::Valdora, ReaderKind::Auto}) {
        EngineTestBed bed(QStringLiteral("en_US"), kind);
        const host::ContactId contact = bed.addContact({{"Amount", "3"}});
        bed.contacts().Goto(contact);
        bed.fieldValues().setValue(bed.fieldId(QStringLiteral("Amount")), QStringLiteral("100"));
        const QString expression = QStringLiteral("//[%1]*2").arg(bed.fieldId(QStringLiteral("Amount")));
        EXPECT_EQ(bed.engine().calculator().Start_Calc(expression), QStringLiteral("200"))
            << readerName(kind);
    }
}

TEST(CalculatorClosest, NearestOperandNotConsumed)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    Calculator& calc = bed.engine().calculator();
    const double s = Calculator::Sentinel;
    EXPECT_EQ(calc.Closest({4, s, s, s, 2}, 3), 0);
    EXPECT_EQ(calc.Closest({4, s, 3, s, 2}, 3), 2);
    EXPECT_EQ(calc.Closest({s, s, s}, 2), 0);
    EXPECT_EQ(calc.Closest({1, s, 2}, 0), 0);
}

} // namespace
} // namespace valdora::engine::test
