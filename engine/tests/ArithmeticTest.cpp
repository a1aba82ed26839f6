#include "EngineTestBed.h"

#include <gtest/gtest.h>

#include <tuple>

namespace valdora::engine::test {
namespace {

/// OperandValue texts: "=text" a constant, "@Field" a field of the contact, "" an operand without a field.
Keys operandKeys(EngineTestBed& bed, const std::vector<QString>& operands)
{
    Keys keys;
    for (int k = 0; k < static_cast<int>(operands.size()); ++k) {
        const QString& operand = operands[static_cast<size_t>(k)];
        const QString n = QString::number(k);
        if (operand.startsWith(u'=')) {
            keys += {{"CalcTextOption" + n, "1"},
                     {"CalcFieldOption" + n, "0"},
                     {"CalcText" + n, bed.expand(operand.mid(1))}};
        } else {
            keys += {{"CalcTextOption" + n, "0"}, {"CalcFieldOption" + n, "1"}};
            // "@#1" names field 1, the unique id, whatever the database calls it.
            const QString field = operand == u"@#1" ? bed.contacts().Fields().Label(1) : operand.mid(1);
            keys += bed.fieldKeys(QStringLiteral("CalcField"), k, field);
        }
    }
    return keys;
}

struct AddCase {
    const char* name;
    std::vector<QString> operands;      ///< four
    std::vector<const char*> operators; ///< "CalcOperator0".. as given; nullptr: key absent
    FieldValues fields;
    const char* expected;
    Keys more;
};

void PrintTo(const AddCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<AddCase> AddCases = {
    {"Numbers", {"=10", "=2{d}5", "", ""}, {"1", "0", "0"}, {}, "7{d}50000000", {}},
    {"NumbersFromFields", {"@Amount", "=3", "", ""}, {"0", "0", "0"}, {{"Amount", "4"}}, "7{d}00000000", {}},
    {"Subtract", {"=3", "=5", "", ""}, {"1", "0", "0"}, {}, "-2{d}00000000", {}},
    {"AllEmptyIsZero", {"", "", "", ""}, {"0", "0", "0"}, {}, "0{d}00000000", {}},
    {"AllEmptyWithZeroKey", {"", "", "", ""}, {"0", "0", "0"}, {}, "", {{"Zero", "1"}}},
    {"ZeroKeyWithAValue", {"=2", "", "", ""}, {"0", "0", "0"}, {}, "2{d}00000000", {{"Zero", "1"}}},
    {"AbsentOperatorSkips", {"=5", "=3", "", ""}, {nullptr, "0", "0"}, {}, "5{d}00000000", {}},
    {"FourOperands", {"=1", "=2", "=3", "=4"}, {"0", "1", "0"}, {}, "4{d}00000000", {}},
    {"DatePlusDays", {"={date:2026-01-12}", "=30", "", ""}, {"0", "0", "0"}, {}, "{date:2026-02-11}", {}},
    {"DateMinusDays", {"={date:2026-01-12}", "=30", "", ""}, {"1", "0", "0"}, {}, "{date:2025-12-13}", {}},
    {"DateFieldPlusDays",
     {"@Birth Date", "=1", "=1", ""},
     {"0", "0", "0"},
     {{"Birth Date", "{date:2026-02-27}"}},
     "{date:2026-03-01}",
     {}},
    {"DateAndTimeFieldKeepsTheDay",
     {"@Last Meeting", "=2", "", ""},
     {"0", "0", "0"},
     {{"Last Meeting", "{date:2026-05-12} 09:30:00"}},
     "{date:2026-05-14}",
     {}},
    {"DateAfterAnEmptyOperand",
     {"", "={date:2026-01-12}", "=3", ""},
     {"0", "0", "0"},
     {},
     "{date:2026-01-15}",
     {}},
    {"DaysBeforeTheDate", {"=30", "={date:2026-01-12}", "", ""}, {"0", "0", "0"}, {}, "n/a", {}},
    {"DaysBetweenDates", {"={date:2026-03-01}", "={date:2026-01-01}", "", ""}, {"1", "0", "0"}, {}, "59", {}},
    {"DaysBetweenDatesNegative",
     {"={date:2026-01-01}", "={date:2026-03-01}", "", ""},
     {"1", "0", "0"},
     {},
     "-59",
     {}},
    {"TwoDatesAdded", {"={date:2026-03-01}", "={date:2026-01-01}", "", ""}, {"0", "0", "0"}, {}, "n/a", {}},
    {"Texts", {"=Mr", "= ", "=Smith", ""}, {"0", "0", "0"}, {}, "Mr Smith", {}},
    {"TextsWithMinus", {"=Mr", "= ", "=Smith", ""}, {"0", "1", "0"}, {}, "n/a", {}},
    {"BarsRemoved", {"=A|B", "=C", "", ""}, {"0", "0", "0"}, {}, "ABC", {}},
    {"NumberAndText", {"=5", "=kg", "", ""}, {"0", "0", "0"}, {}, "5kg", {}},
    {"TextFields", {"@Country", "=-", "@Country", ""}, {"0", "0", "0"}, {{"Country", "DE"}}, "DE-DE", {}},
    {"UserFieldGivesTheName",
     {"@Record Manager", "", "", ""},
     {"0", "0", "0"},
     {{"Record Manager", "{user:Alice Martin}"}},
     "Alice Martin",
     {}},
};

using AddParam = std::tuple<AddCase, const char*, ReaderKind>;

class AddTest : public ::testing::TestWithParam<AddParam> {};

TEST_P(AddTest, Combines)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    Keys keys = {{"Type", "2"}, {"Invalid", "n/a"}};
    keys += operandKeys(bed, row.operands);
    for (int j = 0; j < static_cast<int>(row.operators.size()); ++j) {
        if (row.operators[static_cast<size_t>(j)] != nullptr)
            keys += {{QStringLiteral("CalcOperator%1").arg(j), row.operators[static_cast<size_t>(j)]}};
    }
    keys += row.more;
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact(row.fields);
    EXPECT_EQ(bed.compute(codeOf(Scheme::AddSubtract), button, contact),
              bed.expand(QString::fromUtf8(row.expected)));
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Operands, AddTest,
                         ::testing::Combine(::testing::ValuesIn(AddCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

struct MultiplyCase {
    const char* name;
    std::vector<QString> operands; ///< two
    const char* op;                ///< nullptr: "CalcOperator" absent
    FieldValues fields;
    const char* expected;
};

void PrintTo(const MultiplyCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<MultiplyCase> MultiplyCases = {
    {"Product", {"=3", "=4"}, "0", {}, "12"},
    {"Quotient", {"=7", "=2"}, "1", {}, "3{d}5"},
    {"DivisionByZero", {"=1", "=0"}, "1", {}, "n/a"},
    {"NotANumber", {"=abc", "=2"}, "0", {}, "n/a"},
    {"EmptyFactor", {"=3", ""}, "0", {}, "n/a"},
    {"FractionFactor", {"=1{d}5", "=2"}, "0", {}, "3"},
    {"FieldFactors", {"@Amount", "@Amount"}, "0", {{"Amount", "9"}}, "81"},
    {"UniqueIdIsNotRead", {"@#1", "=2"}, "0", {}, "n/a"},
    {"NoOperator", {"=3", "=4"}, nullptr, {}, ""},
    {"OtherOperator", {"=3", "=4"}, "2", {}, ""},
};

using MultiplyParam = std::tuple<MultiplyCase, const char*, ReaderKind>;

class MultiplyTest : public ::testing::TestWithParam<MultiplyParam> {};

TEST_P(MultiplyTest, MultipliesOrDivides)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    Keys keys = {{"Type", "3"}, {"Invalid", "n/a"}};
    keys += operandKeys(bed, row.operands);
    if (row.op != nullptr)
        keys += {{"CalcOperator", row.op}};
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact(row.fields);
    EXPECT_EQ(bed.compute(codeOf(Scheme::MultiplyDivide), button, contact),
              bed.expand(QString::fromUtf8(row.expected)));
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Factors, MultiplyTest,
                         ::testing::Combine(::testing::ValuesIn(MultiplyCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

/// Currency fields keep "." whatever the user's separator; a currency target gets "." back in
/// Valdora for sums and quotients (not for products), and in ValdoraAuto never.
struct CurrencyCase {
    const char* name;
    const char* locale;
    ReaderKind kind;
    qint16 type;
    std::vector<QString> operands;
    const char* op;
    bool targetIsCurrency;
    const char* expected;
};

void PrintTo(const CurrencyCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<CurrencyCase> CurrencyCases = {
    {"SumEn", "en_US", ReaderKind::Valdora, 2, {"@Price", "=1", "", ""}, "0", true, "3.50000000"},
    {"SumFrToCurrency", "fr_FR", ReaderKind::Valdora, 2, {"@Price", "=1", "", ""}, "0", true, "3.50000000"},
    {"SumFrToText", "fr_FR", ReaderKind::Valdora, 2, {"@Price", "=1", "", ""}, "0", false, "3,50000000"},
    {"SumDeAuto", "de_DE", ReaderKind::Auto, 2, {"@Price", "=1", "", ""}, "0", true, "3,50000000"},
    {"QuotientDeToCurrency", "de_DE", ReaderKind::Valdora, 3, {"@Price", "=2"}, "1", true, "1.25"},
    {"QuotientFrAuto", "fr_FR", ReaderKind::Auto, 3, {"@Price", "=2"}, "1", true, "1,25"},
    {"ProductKeepsComma", "fr_FR", ReaderKind::Valdora, 3, {"@Price", "=3"}, "0", true, "7,5"},
    {"ProductEn", "en_US", ReaderKind::Auto, 3, {"@Price", "=3"}, "0", true, "7.5"},
};

class CurrencyTest : public ::testing::TestWithParam<CurrencyCase> {};

TEST_P(CurrencyTest, SeparatorSwaps)
{
    const CurrencyCase& row = GetParam();
    EngineTestBed bed(QString::fromLatin1(row.locale), row.kind);
    Keys keys = {{"Type", QString::number(row.type)}, {"Invalid", "n/a"}};
    keys += operandKeys(bed, row.operands);
    keys += {{row.type == 2 ? "CalcOperator0" : "CalcOperator", row.op}};
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    // The host keeps currency with "." as separator.
    const host::ContactId contact = bed.addContact({{"Price", "2.5"}});
    bed.engine().setTargetIsCurrency(row.targetIsCurrency);
    EXPECT_EQ(bed.compute(row.type, button, contact), QString::fromUtf8(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Currency, CurrencyTest, ::testing::ValuesIn(CurrencyCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ArithmeticReaders : public ::testing::TestWithParam<std::tuple<const char*, ReaderKind>> {};

TEST_P(ArithmeticReaders, DeletedFieldShowsInvalidData)
{
    const auto& [localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    for (const qint16 type : {codeOf(Scheme::AddSubtract), codeOf(Scheme::MultiplyDivide)}) {
        bed.platform().clearRecord();
        Keys keys = {{"Type", QString::number(type)}, {"CalcOperator0", "0"}, {"CalcOperator", "0"}};
        // The editor writes every operand of the scheme.
        keys += operandKeys(bed, type == codeOf(Scheme::AddSubtract)
                                     ? std::vector<QString>{"=2", "@Amount", "", ""}
                                     : std::vector<QString>{"=2", "@Amount"});
        keys += {{"CalcField1", "Deleted Field"}};
        const QString button = bed.writeButton(QStringLiteral("~10%1.ini").arg(type), keys);
        const host::ContactId contact = bed.addContact({{"Amount", "3"}});
        const QString value = bed.compute(type, button, contact);
        if (kind == ReaderKind::Valdora) {
            EXPECT_EQ(value, QString());
            EXPECT_EQ(bed.messages(),
                      QStringList{bed.session().messages().get(MessageId::InvalidButtonData)});
        } else {
            // ValdoraAuto reads the stored id, which still names the field.
            EXPECT_FALSE(value.isEmpty());
            EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
        }
    }
}

TEST_P(ArithmeticReaders, UnreachableOrNotResaved)
{
    const auto& [localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    // A file saved before field ids were stored: names only.
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "2"},
                                                                        {"CalcTextOption0", "0"},
                                                                        {"CalcField0", "Amount"},
                                                                        {"CalcTextOption1", "1"},
                                                                        {"CalcText1", "1"},
                                                                        {"CalcOperator0", "0"}});
    const host::ContactId contact = bed.addContact({{"Amount", "3"}});
    if (kind == ReaderKind::Valdora) {
        EXPECT_EQ(bed.compute(codeOf(Scheme::AddSubtract), button, QStringLiteral("NOSUCHCONTAC")),
                  QString());
        EXPECT_EQ(bed.messages(), QStringList{bed.session().messages().get(MessageId::ContactNotReachable)});
        EXPECT_TRUE(bed.engine().unloadRequested());
    } else {
        EXPECT_EQ(bed.compute(codeOf(Scheme::AddSubtract), button, contact), QString());
        ASSERT_EQ(bed.platform().messages().size(), 1);
        const MessageRequest& shown = bed.platform().messages().front();
        EXPECT_EQ(shown.text, QStringLiteral("You upgraded to v2.1 but did not resave your buttons"));
        EXPECT_EQ(shown.title, QStringLiteral("Incomplete upgrade"));
        EXPECT_EQ(shown.buttons, MessageButtons::OkCancel);
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, ArithmeticReaders,
                         ::testing::Combine(::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         LocaleReaderName);

TEST(ArithmeticFieldValues, ComputedValueOfThisRunComesFirst)
{
    for (const ReaderKind kind : {ReaderKind::Valdora, ReaderKind::Auto}) {
        EngineTestBed bed(QStringLiteral("en_US"), kind);
        Keys keys = {{"Type", "3"}, {"CalcOperator", "0"}};
        keys += operandKeys(bed, {"@Amount", "=2"});
        const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
        const host::ContactId contact = bed.addContact({{"Amount", "3"}});
        bed.fieldValues().setValue(bed.fieldId(QStringLiteral("Amount")), QStringLiteral("50"));
        EXPECT_EQ(bed.compute(codeOf(Scheme::MultiplyDivide), button, contact), QStringLiteral("100"))
            << readerName(kind);
    }
}

} // namespace
} // namespace valdora::engine::test
