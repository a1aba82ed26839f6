#include "editor/SaveChecks.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <tuple>

namespace valdora::editor::test {
namespace {

const Messages English;
const TextLocale EnUs{QLocale(QStringLiteral("en_US"))};

// A state that passes every check with a character target: scheme `scheme` ticked on its page.
EditorState passing(Scheme scheme)
{
    EditorState state;
    state.caption = QStringLiteral("Invoice");
    state.target = QStringLiteral("Phone");
    state.typeTicked[static_cast<std::size_t>(codeOf(scheme))] = true;
    state.page = pageOf(scheme);
    state.autoNumber.entries.number = QStringLiteral("1");
    state.condition.rows[0] = {true, {}, 0, QStringLiteral("a"), QStringLiteral("1")};
    state.combo.members[0] = {true, QStringLiteral("~100.ini")};
    if (scheme == Scheme::Combo)
        state.target.clear();
    return state;
}

struct CheckCase {
    const char* name;
    Scheme scheme;
    qint16 targetType;
    std::function<void(EditorState&)> change;
    SaveFailure expected;
};

void PrintTo(const CheckCase& c, std::ostream* out)
{
    *out << c.name;
}

class SaveChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SaveChecks, RefusesWithTheFirstFailure)
{
    const CheckCase& c = GetParam();
    EditorState state = passing(c.scheme);
    c.change(state);
    const EditorState before = state;
    const SaveCheckContext context{English, EnUs, {QStringLiteral("Taken")}, c.targetType};
    const SaveCheckResult result = checkSave(state, context);
    ASSERT_TRUE(std::holds_alternative<SaveFailure>(result));
    EXPECT_EQ(std::get<SaveFailure>(result), c.expected);
    EXPECT_EQ(state, before);
}

const QString Numeric =
    QStringLiteral("The target field type (numeric) is incompatible with your settings.\r\n");
const QString Date = QStringLiteral("The target field type (date) is incompatible with your settings.\r\n");
const QString Time = QStringLiteral("The target field type (time) is incompatible with your settings.\r\n");
const QString Currency =
    QStringLiteral("The target field type (currency) is incompatible with your settings.\r\n");
constexpr auto NoPage = std::nullopt;
constexpr qint16 Character = 1;

SaveFailure plain(const QString& message)
{
    return {message, {}, NoPage, {}};
}

INSTANTIATE_TEST_SUITE_P(Order, SaveChecks,
                         ::testing::
                             Values(CheckCase{"NoScheme", Scheme::Now, Character,
                                              [](EditorState& s) { s.typeTicked = {}; },
                                              plain("You need to select a scheme!")},
                                    CheckCase{"EmptyCaption",
                                              Scheme::Now,
                                              Character,
                                              [](EditorState& s) { s.caption.clear(); },
                                              {"You need to enter a caption for the button!",
                                               "txtButtonName",
                                               NoPage,
                                               {}}},
                                    CheckCase{"CaptionNew",
                                              Scheme::Now,
                                              Character,
                                              [](EditorState& s) { s.caption = "New"; },
                                              {"You need to enter a caption for the button!",
                                               "txtButtonName",
                                               NoPage,
                                               {}}},
                                    CheckCase{"NewButtonCaptionTaken",
                                              Scheme::Now,
                                              Character,
                                              [](EditorState& s) {
                                                  s.newButton = true;
                                                  s.caption = "Taken";
                                              },
                                              {"A button with this name already exists!\r\nPlease choose "
                                               "another name for this button.",
                                               "txtButtonName",
                                               NoPage,
                                               {}}},
                                    CheckCase{
                                        "NoTarget",
                                        Scheme::Now,
                                        Character,
                                        [](EditorState& s) { s.target.clear(); },
                                        {"You need to select a Target Field!", "cmbTarget", NoPage, {}}},
                                    CheckCase{"StartAtEmpty",
                                              Scheme::AutoNumber,
                                              Character,
                                              [](EditorState& s) { s.autoNumber.entries.number.clear(); },
                                              {"You cannot leave the Start At box empty!",
                                               "txtNumber",
                                               EditorPage::AutoNumber,
                                               {}}},
                                    CheckCase{"ConditionThreeWithoutOperator", Scheme::Condition, Character,
                                              [](EditorState& s) { s.condition.rows[2].inUse = true; },
                                              plain("You checked condition 3 but no operator is selected for "
                                                    "this condition!")},
                                    CheckCase{"ConditionSevenWithoutOperator", Scheme::Condition, Character,
                                              [](EditorState& s) { s.condition.rows[6].inUse = true; },
                                              plain("You checked condition 7 but no operator is selected for "
                                                    "this condition!")},
                                    CheckCase{"NoConditionChecked", Scheme::Condition, Character,
                                              [](EditorState& s) { s.condition.rows[0].inUse = false; },
                                              plain("You have to check at least one condition for this "
                                                    "scheme to work!")},
                                    CheckCase{"NoMemberChecked", Scheme::Combo, -1,
                                              [](EditorState& s) { s.combo.members[0].inUse = false; },
                                              plain("You have to check at least one button for this scheme "
                                                    "to work!")},
                                    CheckCase{"DialogMemberWithoutButtonCountsFromZero", Scheme::Combo, -1,
                                              [](EditorState& s) { s.combo.members[8].inUse = true; },
                                              plain("You have checked item # 8 but no button is selected!")},
                                    CheckCase{"CaptionOutsideTheCodePage",
                                              Scheme::Now,
                                              Character,
                                              [](EditorState& s) { s.caption = QString::fromUtf8("Счёт"); },
                                              {QString::fromUtf8("The entry \"Button Caption\" holds "
                                                                 "characters that a button file cannot "
                                                                 "store: Счёт"),
                                               "txtButtonName",
                                               NoPage,
                                               {}}},
                                    CheckCase{"DialogValueOutsideTheCodePage",
                                              Scheme::Condition,
                                              Character,
                                              [](EditorState& s) {
                                                  s.condition.rows[9].value = QString::fromUtf8("€ and ☃");
                                              },
                                              {QString::fromUtf8("The entry \"txtValueTab19\" holds "
                                                                 "characters that a button file cannot "
                                                                 "store: ☃"),
                                               "txtValueTab19", EditorPage::Condition, "frmMoreCond"}},
                                    CheckCase{
                                        "NumericAppendSeparator",
                                        Scheme::Now,
                                        5,
                                        [](EditorState& s) {
                                            s.overwrite = OverwriteMode::Append;
                                            s.appendSeparator = ";";
                                            s.now.format = 2;
                                        },
                                        {Numeric +
                                             "The target field cannot accept the Append Separator you chose.",
                                         "txtAppendSep",
                                         NoPage,
                                         {}}},
                                    CheckCase{
                                        "NumericAutoNumberText",
                                        Scheme::AutoNumber,
                                        5,
                                        [](EditorState& s) { s.autoNumber.entries.positions.text = 2; },
                                        {Numeric + "The Target Field cannot accept the Text value you chose.",
                                         "txtText",
                                         EditorPage::AutoNumber,
                                         {}}},
                                    CheckCase{
                                        "NumericAutoNumberSeparator",
                                        Scheme::AutoNumber,
                                        6,
                                        [](EditorState& s) { s.autoNumber.entries.separator = "-x"; },
                                        {Currency + "The Target Field cannot accept a non-numeric Separator.",
                                         "txtSeparator",
                                         EditorPage::AutoNumber,
                                         {}}},
                                    CheckCase{"NumericConditionValue",
                                              Scheme::Condition,
                                              5,
                                              [](EditorState& s) {
                                                  s.condition.rows[1] = {true, {}, 0, "", "abc"};
                                              },
                                              {Numeric + "Problem caused by value # 2",
                                               "txtValueTab11",
                                               EditorPage::Condition,
                                               {}}},
                                    CheckCase{"DateConditionExpression",
                                              Scheme::Condition,
                                              8,
                                              [](EditorState& s) { s.condition.rows[0].value = "//[5]+1"; },
                                              {Date + "Problem caused by value # 1",
                                               "txtValueTab10",
                                               EditorPage::Condition,
                                               {}}},
                                    CheckCase{"NumericAddSubtractConstant",
                                              Scheme::AddSubtract,
                                              5,
                                              [](EditorState& s) {
                                                  s.addSubtract.operands[3] = {"x", {}, Operand::Constant};
                                              },
                                              {Numeric + "Problem caused by value # 4",
                                               "txtCalcTab23",
                                               EditorPage::AddSubtract,
                                               {}}},
                                    CheckCase{
                                        "DateAddSubtractConstant",
                                        Scheme::AddSubtract,
                                        8,
                                        [](EditorState& s) {
                                            s.addSubtract.operands[0] = {"abc", {}, Operand::Constant};
                                        },
                                        {Date + "Problem caused by value # 1",
                                         "txtCalcTab20",
                                         EditorPage::AddSubtract,
                                         {}}},
                                    CheckCase{"NumericMultiplyEmptyConstant",
                                              Scheme::MultiplyDivide,
                                              5,
                                              [](EditorState& s) {
                                                  s.multiplyDivide.operands[0] = {"2", {}, Operand::Constant};
                                                  s.multiplyDivide.operands[1] = {"", {}, Operand::Constant};
                                              },
                                              {Numeric + "Problem caused by value # 2",
                                               "txtCalcTab31",
                                               EditorPage::MultiplyDivide,
                                               {}}},
                                    CheckCase{"NumericMultiplyInvalid",
                                              Scheme::MultiplyDivide,
                                              5,
                                              [](EditorState& s) { s.multiplyDivide.invalid = "n/a"; },
                                              {Numeric + "The Target Field cannot accept the Invalid value.",
                                               "txtInvalid",
                                               EditorPage::MultiplyDivide,
                                               {}}},
                                    CheckCase{"NowIntoNumeric", Scheme::Now, 5, [](EditorState&) {},
                                              plain(Numeric + "The Target Field cannot accept a date.")},
                                    CheckCase{"NowDateOnlyIntoTime", Scheme::Now, 9,
                                              [](EditorState& s) { s.now.format = 0; },
                                              plain(Time + "You need to select Time only as format.")},
                                    CheckCase{"AppendIntoDate", Scheme::Now, 8,
                                              [](EditorState& s) { s.overwrite = OverwriteMode::Append; },
                                              plain(Date + "You can't have a separator in a date field.")},
                                    CheckCase{"AutoNumberIntoDate", Scheme::AutoNumber, 8,
                                              [](EditorState&) {},
                                              plain(Date + "You can't put an AutoNumber in a date field.")},
                                    CheckCase{
                                        "MultiplyIntoDate", Scheme::MultiplyDivide, 8, [](EditorState&) {},
                                        plain(Date + "The result of this calculation cannot be a date.")},
                                    CheckCase{"NowWithTimeIntoDate", Scheme::Now, 8, [](EditorState&) {},
                                              plain(Date + "Problem caused by the Date format (The target "
                                                           "field cannot accept a time value. "
                                                           "Choose Date only).")}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PassCase {
    const char* name;
    Scheme scheme;
    qint16 targetType;
    std::function<void(EditorState&)> change;
};

void PrintTo(const PassCase& c, std::ostream* out)
{
    *out << c.name;
}

class SaveChecksPass : public ::testing::TestWithParam<PassCase> {};

TEST_P(SaveChecksPass, AcceptsTheEntries)
{
    EditorState state = passing(GetParam().scheme);
    GetParam().change(state);
    const SaveCheckContext context{English, EnUs, {QStringLiteral("Taken")}, GetParam().targetType};
    EXPECT_TRUE(std::holds_alternative<std::monostate>(checkSave(state, context)));
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, SaveChecksPass,
    ::testing::Values(PassCase{"EveryScheme0", Scheme::AutoNumber, Character, [](EditorState&) {}},
                      PassCase{"EveryScheme1", Scheme::Condition, Character, [](EditorState&) {}},
                      PassCase{"EveryScheme2", Scheme::AddSubtract, Character, [](EditorState&) {}},
                      PassCase{"EveryScheme3", Scheme::MultiplyDivide, Character, [](EditorState&) {}},
                      PassCase{"EveryScheme4", Scheme::Now, Character, [](EditorState&) {}},
                      PassCase{"EveryScheme5", Scheme::Combo, -1, [](EditorState&) {}},
                      PassCase{"EveryScheme6", Scheme::Age, Character, [](EditorState&) {}},
                      PassCase{"ExistingButtonKeepsACaptionAnotherHas", Scheme::Now, Character,
                               [](EditorState& s) { s.caption = "Taken"; }},
                      PassCase{"ExpressionIntoNumeric", Scheme::Condition, 5,
                               [](EditorState& s) {
                                   s.condition.rows[1] = {true, {}, 0, "", "//abc"};
                               }},
                      PassCase{"NumberOperandIntoDate", Scheme::AddSubtract, 8,
                               [](EditorState& s) {
                                   s.addSubtract.operands[0] = {"5", {}, Operand::Constant};
                               }},
                      PassCase{"TimeOnlyIntoTime", Scheme::Now, 9, [](EditorState& s) { s.now.format = 2; }},
                      PassCase{"WesternEuropeanText", Scheme::Now, Character,
                               [](EditorState& s) { s.caption = QString::fromUtf8("Größe €"); }},
                      PassCase{"OtherTypeCode", Scheme::AutoNumber, 13, [](EditorState&) {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveChecksAsk, ASchemeOffTheScreenIsAskedAboutFirst)
{
    EditorState state = passing(Scheme::Age);
    state.page = EditorPage::Combo;
    state.caption.clear();
    const SaveCheckContext context{English, EnUs, {}, Character};
    EXPECT_EQ(std::get<SaveAsk>(checkSave(state, context)),
              (SaveAsk{SaveQuestion::SchemeNotOnScreen,
                       "The scheme you have selected is not the one currently on screen!\r\nDo you want to "
                       "proceed anyway?"}));
    EXPECT_EQ(std::get<SaveFailure>(checkSave(state, context, {true, false})).control, u"txtButtonName");
}

TEST(SaveChecksAsk, AnUrlTargetIsAskedAboutLast)
{
    const EditorState state = passing(Scheme::Now);
    const SaveCheckContext context{English, EnUs, {}, qint16(15)};
    EXPECT_EQ(std::get<SaveAsk>(checkSave(state, context)),
              (SaveAsk{SaveQuestion::UrlTarget,
                       "The Target Field is a URL Type Field. Are you sure you want to continue?"}));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(checkSave(state, context, {false, true})));
}

TEST(SaveChecksAsk, ATargetTheHostCannotTypeIsInvalidData)
{
    const SaveCheckContext context{English, EnUs, {}, std::nullopt};
    EXPECT_EQ(std::get<SaveFailure>(checkSave(passing(Scheme::Now), context)).message,
              u"Invalid Data. Check the settings for this button!");
}

TEST(SaveChecksAsk, TheHighestTickedSchemeCounts)
{
    EditorState state = passing(Scheme::Age);
    state.typeTicked[0] = true;
    EXPECT_EQ(state.chosenScheme(), Scheme::Age);
}

/// One numeric box of the editor: the scheme whose page holds it, how a value gets into it, its
/// control and the message it refuses with.
struct NumericBox {
    const char* name;
    Scheme scheme;
    std::function<void(EditorState&, const QString&)> enter;
    const char* control;
    const char* refusal;
};

/// A value and, box by box in the order of NumericBoxes, whether the save takes it.
struct NumericValue {
    const char* name;
    const char* text;
    std::array<bool, 4> accepted;
};

const std::array<NumericBox, 4> Boxes{{
    {"Days", Scheme::Now, [](EditorState& s, const QString& v) { s.now.days = v; }, "txtDays",
     "The number of days must be a whole number from -32768 to 32767."},
    {"StartAt", Scheme::AutoNumber, [](EditorState& s, const QString& v) { s.autoNumber.entries.number = v; },
     "txtNumber", "The Start At box must hold a whole number of 0 or more, in digits only."},
    {"Operand1", Scheme::MultiplyDivide,
     [](EditorState& s, const QString& v) {
         s.multiplyDivide.operands[0] = {v, {}, Operand::Constant};
     },
     "txtCalcTab30",
     "Value #1 must be a number: a multiplication or division of anything else always gives the invalid "
     "value."},
    {"Operand2", Scheme::MultiplyDivide,
     [](EditorState& s, const QString& v) {
         s.multiplyDivide.operands[1] = {v, {}, Operand::Constant};
     },
     "txtCalcTab31",
     "Value #2 must be a number: a multiplication or division of anything else always gives the invalid "
     "value."},
}};

class NumericBoxes : public ::testing::TestWithParam<std::tuple<std::size_t, NumericValue>> {};

// Whatever a box holds (typed, pasted, or read from an old file), the save takes only what a run can
// read, and otherwise names the box and focuses it.
TEST_P(NumericBoxes, TakeOnlyWhatARunCanRead)
{
    const auto& [index, value] = GetParam();
    const NumericBox& box = Boxes.at(index);
    EditorState state = passing(box.scheme);
    box.enter(state, QString::fromUtf8(value.text));
    const SaveCheckContext context{English, EnUs, {}, Character};

    const SaveCheckResult result = checkSave(state, context);

    if (value.accepted.at(index)) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(result))
            << std::get<SaveFailure>(result).message.toStdString();
        return;
    }
    ASSERT_TRUE(std::holds_alternative<SaveFailure>(result));
    const SaveFailure& failure = std::get<SaveFailure>(result);
    EXPECT_EQ(failure.control, QString::fromLatin1(box.control));
    EXPECT_EQ(failure.page, pageOf(box.scheme));
    // The start-at box has its own message for an empty box.
    if (!(box.scheme == Scheme::AutoNumber && value.text[0] == '\0')) {
        EXPECT_EQ(failure.message, QString::fromUtf8(box.refusal));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryBox, NumericBoxes,
    ::testing::Combine(::testing::Range<std::size_t>(0, Boxes.size()),
                       ::testing::Values(
                           //                                  Days   StartAt Operand1 Operand2
                           NumericValue{"NotANumber", "7x", {false, false, false, false}},
                           NumericValue{"Empty", "", {true, false, false, false}},
                           NumericValue{"LeadingBlank", " 7", {true, false, true, true}},
                           NumericValue{"Negative", "-1", {true, false, true, true}},
                           NumericValue{"Huge", "99999999999", {false, true, true, true}})),
    [](const auto& info) {
        return std::string(Boxes.at(std::get<0>(info.param)).name) + "_" + std::get<1>(info.param).name;
    });

TEST(MessageWrongType, NamesTheTypeOrNothing)
{
    EXPECT_EQ(Message_WrongType(English, 9, "x"),
              u"The target field type (time) is incompatible with your settings.\r\nx");
    EXPECT_EQ(Message_WrongType(English, 1, "x"),
              u"The target field type () is incompatible with your settings.\r\nx");
}

} // namespace
} // namespace valdora::editor::test
