#include "EngineTestBed.h"

#include "engine/TextHelpers.h"

#include "core/testsupport/ReportedError.h"

#include <gtest/gtest.h>

#include <tuple>

namespace valdora::engine::test {
namespace {

/// One condition of a button: field, operator code, condition text, result value.
struct Cond {
    int index;
    const char* field;
    const char* op;
    const char* condition;
    const char* value;
};

struct CondCase {
    const char* name;
    std::vector<Cond> conditions;
    FieldValues fields;
    const char* expected;
};

void PrintTo(const CondCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<CondCase> CondCases = {
    {"LastOneWins",
     {{0, "Country", "0", "France", "EUR"}, {3, "Country", "6", "an", "?"}},
     {{"Country", "France"}},
     "?"},
    {"EarlierHoldsAlone",
     {{0, "Country", "0", "France", "EUR"}, {3, "Country", "6", "xx", "?"}},
     {{"Country", "France"}},
     "EUR"},
    {"NoneHolds", {{0, "Country", "0", "Spain", "EUR"}}, {{"Country", "France"}}, ""},
    {"NotEqual", {{0, "Country", "1", "Spain", "yes"}}, {{"Country", "France"}}, "yes"},
    {"ExactTextOnly", {{0, "Amount", "0", "5{d}0", "same"}}, {{"Amount", "5"}}, ""},
    {"WholeNumbersEqual", {{0, "Amount", "2", "40", "older"}}, {{"Amount", "40{d}4"}}, ""},
    {"WholeNumbersGreater", {{0, "Amount", "2", "40", "older"}}, {{"Amount", "41"}}, "older"},
    {"HalfToEvenDown", {{0, "Amount", "4", "3", "ge"}}, {{"Amount", "2{d}5"}}, ""},
    {"HalfToEvenUp", {{0, "Amount", "4", "4", "ge"}}, {{"Amount", "3{d}5"}}, "ge"},
    {"EqualWholeNumbersAreNotGreater", {{0, "Amount", "5", "2{d}1", "le"}}, {{"Amount", "2{d}4"}}, "le"},
    {"NumbersNotTexts", {{0, "Amount", "3", "10", "less"}}, {{"Amount", "9"}}, "less"},
    {"TextsByCodes", {{0, "Country", "2", "abc", "gt"}}, {{"Country", "abd"}}, "gt"},
    {"CapitalsSortFirst", {{0, "Country", "3", "a", "lt"}}, {{"Country", "Z"}}, "lt"},
    {"ShorterPrefixFirst", {{0, "Country", "3", "abc", "lt"}}, {{"Country", "ab"}}, "lt"},
    {"DatesAsDates",
     {{0, "Birth Date", "2", "{date:2025-12-31}", "later"}},
     {{"Birth Date", "{date:2026-01-02}"}},
     "later"},
    {"DatesBefore",
     {{0, "Birth Date", "3", "{date:2026-03-01}", "before"}},
     {{"Birth Date", "{date:2026-02-28}"}},
     "before"},
    {"IncludesIsCaseSensitive", {{0, "Country", "6", "smith", "in"}}, {{"Country", "Smith & Co"}}, ""},
    {"Includes", {{0, "Country", "6", "th &", "in"}}, {{"Country", "Smith & Co"}}, "in"},
    {"StartsWithEmpty", {{0, "Country", "7", "", "start"}}, {{"Country", "Smith"}}, "start"},
    {"StartsWith", {{0, "Country", "7", "Smi", "start"}}, {{"Country", "Smith"}}, "start"},
    {"StartsWithCase", {{0, "Country", "7", "smi", "start"}}, {{"Country", "Smith"}}, ""},
    {"UnknownOperator", {{0, "Country", "9", "Smith", "x"}}, {{"Country", "Smith"}}, ""},
    {"EmptyFieldEqualsEmptyText", {{0, "Country", "0", "", "blank"}}, {}, "blank"},
    {"CalculatedResult",
     {{0, "Country", "0", "DE", "//[{Amount}]*1{d}2"}},
     {{"Country", "DE"}, {"Amount", "10"}},
     "12"},
    {"LaterConditionInUse", {{19, "Country", "0", "DE", "last"}}, {{"Country", "DE"}}, "last"},
};

using CondParam = std::tuple<CondCase, const char*, ReaderKind>;

class ConditionTest : public ::testing::TestWithParam<CondParam> {};

Keys conditionKeys(EngineTestBed& bed, const std::vector<Cond>& conditions)
{
    Keys keys = {{"Type", "1"}};
    for (int k = 0; k < 20; ++k)
        keys += {{QStringLiteral("Cond%1").arg(k), "0"}};
    for (const Cond& c : conditions) {
        QString value = bed.expand(QString::fromUtf8(c.value));
        value.replace(QStringLiteral("{Amount}"), QString::number(bed.fieldId(QStringLiteral("Amount"))));
        keys += {{QStringLiteral("Cond%1").arg(c.index), "1"},
                 {QStringLiteral("Operator%1").arg(c.index), c.op},
                 {QStringLiteral("Condition%1").arg(c.index), bed.expand(QString::fromUtf8(c.condition))},
                 {QStringLiteral("Value%1").arg(c.index), value}};
        keys += bed.fieldKeys(QStringLiteral("Field"), c.index, QString::fromUtf8(c.field));
    }
    return keys;
}

TEST_P(ConditionTest, LastConditionThatHolds)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), conditionKeys(bed, row.conditions));
    FieldValues fields;
    for (auto it = row.fields.begin(); it != row.fields.end(); ++it)
        fields.insert(it.key(), bed.expand(it.value()));
    const host::ContactId contact = bed.addContact(fields);
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, contact),
              bed.expand(QString::fromUtf8(row.expected)));
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Conditions, ConditionTest,
                         ::testing::Combine(::testing::ValuesIn(CondCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

class ConditionReaders : public ::testing::TestWithParam<std::tuple<const char*, ReaderKind>> {};

TEST_P(ConditionReaders, DeletedFieldShowsInvalidData)
{
    const auto& [localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    Keys keys = conditionKeys(bed, {{0, "Country", "0", "DE", "yes"}});
    // The field was deleted from the database after the button was saved.
    keys += {{"Field0", "Deleted Field"}, {"FieldID0", "240"}};
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact({{"Country", "DE"}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, contact), QString());
    EXPECT_EQ(bed.messages(), QStringList{bed.session().messages().get(MessageId::InvalidButtonData)});
}

TEST_P(ConditionReaders, ComputedValueOfAnEarlierMemberIsTested)
{
    const auto& [localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"), conditionKeys(bed, {{0, "Country", "0", "NEW", "seen"}}));
    const host::ContactId contact = bed.addContact({{"Country", "OLD"}});
    bed.fieldValues().setValue(bed.fieldId(QStringLiteral("Country")), QStringLiteral("NEW"));
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, contact), QStringLiteral("seen"));
}

TEST_P(ConditionReaders, OperatorThatIsNotANumberIsReported)
{
    const auto& [localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"), conditionKeys(bed, {{0, "Country", "x", "DE", "yes"}}));
    const host::ContactId contact = bed.addContact({{"Country", "DE"}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, contact), QString());
    ASSERT_EQ(bed.messages().size(), 1);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::TypeMismatch), bed.messages().front()));
    const QString module =
        kind == ReaderKind::Valdora ? QStringLiteral("frmMain") : QStringLiteral("frmAutoMain");
    EXPECT_TRUE(bed.messages().front().contains("in " + module + ": Function Compare_Value - Line # "))
        << bed.messages().front().toStdString();
}

TEST_P(ConditionReaders, FailedCalculationGivesEmptyText)
{
    const auto& [localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    const QString button = bed.writeButton(QStringLiteral("~101.ini"),
                                           conditionKeys(bed, {{0, "Country", "0", "DE", "//[Phone]"}}));
    const host::ContactId contact = bed.addContact({{"Country", "DE"}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, contact), QString());
    EXPECT_EQ(bed.messages(), QStringList{QStringLiteral("Invalid calculation")});
}

INSTANTIATE_TEST_SUITE_P(Readers, ConditionReaders,
                         ::testing::Combine(::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         LocaleReaderName);

TEST(ConditionValdora, RecordManagerComparesTheUsersName)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    // Record Manager is field 6 of every database; the host keeps a user id in it.
    Keys keys = conditionKeys(bed, {{0, "Record Manager", "0", "Bruno Keller", "Bruno's"}});
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId bruno = bed.addContact({{"Record Manager", QStringLiteral("{user:Bruno Keller}")}});
    const host::ContactId alice = bed.addContact({{"Record Manager", QStringLiteral("{user:Alice Martin}")}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, bruno), QStringLiteral("Bruno's"));
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, alice), QString());
}

TEST(ConditionValdora, UnreachableContactAsksToUnload)
{
    EngineTestBed bed(QStringLiteral("fr_FR"), ReaderKind::Valdora);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"), conditionKeys(bed, {{0, "Country", "7", "", "always"}}));
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, QStringLiteral("NOSUCHCONTAC")), QString());
    EXPECT_EQ(bed.messages(), QStringList{bed.session().messages().get(MessageId::ContactNotReachable)});
    EXPECT_TRUE(bed.engine().unloadRequested());
}

TEST(ConditionAuto, StoredIdIsComparedWithoutTranslation)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Auto);
    Keys keys = conditionKeys(bed, {{0, "Record Manager", "0", "{user:Bruno Keller}", "by id"}});
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId bruno = bed.addContact({{"Record Manager", QStringLiteral("{user:Bruno Keller}")}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Condition), button, bruno), QStringLiteral("by id"));
}

TEST(ConditionUsers, GetUsernameOfAnUnknownIdIsEmpty)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    EXPECT_EQ(Get_Username(bed.engine().context(), QStringLiteral("nobody")), QString());
    EXPECT_EQ(Get_Username(bed.engine().context(), bed.expand(QStringLiteral("{user:Alice Martin}"))),
              QStringLiteral("Alice Martin"));
}

} // namespace
} // namespace valdora::engine::test
