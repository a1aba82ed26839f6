#include "EngineTestBed.h"

#include "core/testsupport/ReportedError.h"
#include "core/testsupport/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <vector>

namespace valdora::engine::test {
namespace {

// How a run reads each key that a member's computation looks at per contact, with the key absent,
// empty, damaged and set. A run reads some keys otherwise than the editor shows them (an absent
// "AutoSep" is "-", an operator is a number of the user's locale, the first "Now" format that is on
// wins), and what it computes from a damaged file must not move when its reading does.

const QString FieldPart = QString(QChar(0xF8));
const QString TextPart = QString(QChar(0xF9));
const QString CounterPart = QString(QChar(0xFA));

/// A key's value that leaves the key out of the file.
const QString Absent = QStringLiteral("<absent>");

const QDateTime Afternoon(QDate(2026, 12, 5), QTime(14, 30, 15));

struct KeyReadRow {
    const char* name;
    ReaderKind kind;
    Scheme scheme;
    /// The button; "@CalcField0" = "Amount" stands for the field's three keys as the editor writes
    /// them; a later pair for the same key replaces an earlier one, Absent drops it.
    Keys keys;
    FieldValues fields;
    bool initializes;
    /// The value of Obtain when the member initializes; "{datetime:yyyy-MM-dd}" and "{time}" are the
    /// pinned clock's time on that date, "{folder}" the test's folder.
    const char* expected;
    /// What is shown: "" nothing, "355" message 355, "resave" the note about buttons not saved since
    /// field ids were stored, "13 Obtain_Add" failure report 13 of that routine.
    const char* shown = "";
};

Keys with(Keys base, const Keys& changes)
{
    base += changes;
    return base;
}

const Keys AddBase = {{"Type", "2"},
                      {"Invalid", "n/a"},
                      {"CalcTextOption0", "1"},
                      {"CalcFieldOption0", "0"},
                      {"CalcText0", "5"},
                      {"@CalcField0", "Amount"},
                      {"CalcTextOption1", "1"},
                      {"CalcText1", "3"},
                      {"CalcTextOption2", "1"},
                      {"CalcTextOption3", "1"},
                      {"CalcOperator0", "0"},
                      {"CalcOperator1", "0"},
                      {"CalcOperator2", "0"}};
const Keys AddTexts = with(AddBase, {{"CalcText0", "Mr"}, {"CalcText1", "Smith"}});
const Keys AddFromField = with(AddBase, {{"CalcTextOption0", "0"}, {"CalcFieldOption0", "1"}});

const Keys MultiplyBase = {{"Type", "3"},      {"Invalid", "n/a"},        {"CalcTextOption0", "1"},
                           {"CalcText0", "7"}, {"@CalcField0", "Amount"}, {"CalcTextOption1", "1"},
                           {"CalcText1", "2"}, {"CalcOperator", "0"}};

const Keys ConditionBase = {{"Type", "1"},      {"Cond0", "1"},       {"@Field0", "Country"},
                            {"Operator0", "0"}, {"Condition0", "DE"}, {"Value0", "hit"}};

const Keys NowBase = {{"Type", "4"}, {"NowDays", "2"}};

const Keys AutoNumberBase = {{"Type", "0"},
                             {"Name", "Inv"},
                             {"Format", TextPart + "|" + CounterPart},
                             {"AutoTextValue", "INV"},
                             {"AutoIniFile", "{folder}/C.num"}};
const Keys AutoNumberField = with(AutoNumberBase, {{"Format", FieldPart + "|" + CounterPart},
                                                   {"@AutoFieldValue", "Country"},
                                                   {"Truncate", "1"},
                                                   {"TruncateDigits", "3"}});

const Keys AgeBase = {{"Type", "6"}, {"@DateField", "Birth Date"}, {"Invalid", "n/a"}, {"Blank", "-"}};

const FieldValues Germany = {{"Country", "DE"}, {"Amount", "4"}};
const FieldValues Deutschland = {{"Country", "Deutschland"}};
const FieldValues Born2000 = {{"Birth Date", "{date:2000-01-15}"}};
const FieldValues Meeting = {{"Last Meeting", "{date:2026-05-12} 09:30:00"}};

constexpr ReaderKind V = ReaderKind::Valdora;
constexpr ReaderKind A = ReaderKind::Auto;
constexpr Scheme AddS = Scheme::AddSubtract;
constexpr Scheme MulS = Scheme::MultiplyDivide;
constexpr Scheme CondS = Scheme::Condition;
constexpr Scheme NowS = Scheme::Now;
constexpr Scheme AutoS = Scheme::AutoNumber;
constexpr Scheme AgeS = Scheme::Age;

const std::vector<KeyReadRow> Rows = {
    // "CalcTextOption<i>": the constant when "1", whatever "CalcFieldOption<i>" says; else the field.
    {"TextOptionAbsent", V, AddS, with(AddBase, {{"CalcTextOption0", Absent}}), Germany, true, "7.00000000"},
    {"TextOptionEmpty", V, AddS, with(AddBase, {{"CalcTextOption0", ""}}), Germany, true, "7.00000000"},
    {"TextOptionDamaged", V, AddS, with(AddBase, {{"CalcTextOption0", "x"}}), Germany, true, "7.00000000"},
    {"TextOptionSet", V, AddS, AddBase, Germany, true, "8.00000000"},
    {"TextOptionAndFieldOptionSet", V, AddS, with(AddBase, {{"CalcFieldOption0", "1"}}), Germany, true,
     "8.00000000"},
    {"NeitherOptionSet", V, AddS, with(AddBase, {{"CalcTextOption0", "0"}}), Germany, true, "7.00000000"},
    // "CalcText<i>".
    {"CalcTextAbsent", V, AddS, with(AddBase, {{"CalcText0", Absent}}), Germany, true, "3.00000000"},
    {"CalcTextEmpty", V, AddS, with(AddBase, {{"CalcText0", ""}}), Germany, true, "3.00000000"},
    {"CalcTextNotANumber", V, AddS, with(AddBase, {{"CalcText0", "abc"}}), Germany, true, "abc3"},
    // "CalcOperator<j>" between numbers: "0" adds, "1" subtracts, anything else leaves the operand out.
    {"AddOperatorAbsent", V, AddS, with(AddBase, {{"CalcOperator0", Absent}}), Germany, true, "5.00000000"},
    {"AddOperatorEmpty", V, AddS, with(AddBase, {{"CalcOperator0", ""}}), Germany, true, "5.00000000"},
    {"AddOperatorDamaged", V, AddS, with(AddBase, {{"CalcOperator0", "x"}}), Germany, true, "5.00000000"},
    {"AddOperatorOther", V, AddS, with(AddBase, {{"CalcOperator0", "2"}}), Germany, true, "5.00000000"},
    {"AddOperatorMinus", V, AddS, with(AddBase, {{"CalcOperator0", "1"}}), Germany, true, "2.00000000"},
    // Between texts, the operators read as numbers of the user's locale must sum to 0; absent is 0.
    {"JoinOperatorAbsent", V, AddS, with(AddTexts, {{"CalcOperator0", Absent}}), Germany, true, "MrSmith"},
    {"JoinOperatorEmpty", V, AddS, with(AddTexts, {{"CalcOperator0", ""}}), Germany, true, "MrSmith"},
    {"JoinOperatorFraction", V, AddS, with(AddTexts, {{"CalcOperator0", "0.4"}}), Germany, true, "MrSmith"},
    {"JoinOperatorMinus", V, AddS, with(AddTexts, {{"CalcOperator0", "1"}}), Germany, true, "n/a"},
    {"JoinOperatorDamaged", V, AddS, with(AddTexts, {{"CalcOperator0", "x"}}), Germany, true, "",
     "13 Add_Values"},
    // "Zero": an empty result when every operand is empty.
    {"ZeroAbsent", V, AddS, with(AddBase, {{"CalcText0", ""}, {"CalcText1", ""}, {"Zero", Absent}}), Germany,
     true, "0.00000000"},
    {"ZeroEmpty", V, AddS, with(AddBase, {{"CalcText0", ""}, {"CalcText1", ""}, {"Zero", ""}}), Germany, true,
     "0.00000000"},
    {"ZeroDamaged", V, AddS, with(AddBase, {{"CalcText0", ""}, {"CalcText1", ""}, {"Zero", "x"}}), Germany,
     true, "0.00000000"},
    {"ZeroSet", V, AddS, with(AddBase, {{"CalcText0", ""}, {"CalcText1", ""}, {"Zero", "1"}}), Germany, true,
     ""},
    // "CalcField<i>": Valdora reads the name, ValdoraAuto the id and type.
    {"OperandFieldSet", V, AddS, AddFromField, Germany, true, "7.00000000"},
    {"OperandFieldNameAbsent", V, AddS, with(AddFromField, {{"CalcField0", Absent}}), Germany, true,
     "3.00000000"},
    {"OperandFieldNameDamaged", V, AddS, with(AddFromField, {{"CalcField0", "No Such Field"}}), Germany, true,
     "", "355"},
    {"OperandFieldIdSet", A, AddS, AddFromField, Germany, true, "7.00000000"},
    {"OperandFieldIdAbsent", A, AddS, with(AddFromField, {{"CalcFieldID0", Absent}}), Germany, true, "",
     "resave"},
    {"OperandFieldIdEmpty", A, AddS, with(AddFromField, {{"CalcFieldID0", ""}}), Germany, true, "", "resave"},
    {"OperandFieldIdDamaged", A, AddS, with(AddFromField, {{"CalcFieldID0", "x"}}), Germany, true, "",
     "13 Obtain_Add"},
    {"OperandFieldTypeSet", A, AddS,
     with(AddFromField, {{"@CalcField0", "Last Meeting"}, {"CalcText1", "2"}}), Meeting, true,
     "{date:2026-05-14}"},
    {"OperandFieldTypeAbsent", A, AddS,
     with(AddFromField, {{"@CalcField0", "Last Meeting"}, {"CalcText1", "2"}, {"CalcFieldType0", Absent}}),
     Meeting, true, "{date:2026-05-14} 9:30:00 AM"},
    // "CalcOperator" of Multiply/Divide: "0" multiplies, "1" divides, anything else gives nothing.
    {"MultiplyOperatorAbsent", V, MulS, with(MultiplyBase, {{"CalcOperator", Absent}}), Germany, true, ""},
    {"MultiplyOperatorEmpty", V, MulS, with(MultiplyBase, {{"CalcOperator", ""}}), Germany, true, ""},
    {"MultiplyOperatorDamaged", V, MulS, with(MultiplyBase, {{"CalcOperator", "x"}}), Germany, true, ""},
    {"MultiplyOperatorProduct", V, MulS, MultiplyBase, Germany, true, "14"},
    {"MultiplyOperatorQuotient", V, MulS, with(MultiplyBase, {{"CalcOperator", "1"}}), Germany, true, "3.5"},
    {"MultiplyTextOptionAbsent", V, MulS, with(MultiplyBase, {{"CalcTextOption0", Absent}}), Germany, true,
     "8"},
    // "Cond<i>": the condition is tested when "1".
    {"CondAbsent", V, CondS, with(ConditionBase, {{"Cond0", Absent}}), Germany, true, ""},
    {"CondEmpty", V, CondS, with(ConditionBase, {{"Cond0", ""}}), Germany, true, ""},
    {"CondDamaged", V, CondS, with(ConditionBase, {{"Cond0", "x"}}), Germany, true, ""},
    {"CondSet", V, CondS, ConditionBase, Germany, true, "hit"},
    // "Operator<i>": a number of the user's locale; absent is "none chosen", which never holds.
    {"OperatorAbsent", V, CondS, with(ConditionBase, {{"Operator0", Absent}}), Germany, true, ""},
    {"OperatorEmpty", V, CondS, with(ConditionBase, {{"Operator0", ""}}), Germany, true, ""},
    {"OperatorDamaged", V, CondS, with(ConditionBase, {{"Operator0", "x"}}), Germany, true, "",
     "13 Compare_Value"},
    {"OperatorLocaleNumber", V, CondS, with(ConditionBase, {{"Operator0", "0.0"}}), Germany, true, "hit"},
    {"OperatorNotEqual", V, CondS, with(ConditionBase, {{"Operator0", "1"}}), Germany, true, ""},
    {"OperatorIncludes", V, CondS, with(ConditionBase, {{"Operator0", "6"}}), Germany, true, "hit"},
    {"OperatorOutOfRange", V, CondS, with(ConditionBase, {{"Operator0", "9"}}), Germany, true, ""},
    // "Value<i>": copied, or calculated after "//".
    {"ValueAbsent", V, CondS, with(ConditionBase, {{"Value0", Absent}}), Germany, true, ""},
    {"ValueEmpty", V, CondS, with(ConditionBase, {{"Value0", ""}}), Germany, true, ""},
    {"ValueCalculated", V, CondS, with(ConditionBase, {{"Value0", "//2+3"}}), Germany, true, "5"},
    // "Field<i>".
    {"ConditionFieldNameAbsent", V, CondS, with(ConditionBase, {{"Field0", Absent}}), Germany, true, "",
     "355"},
    {"ConditionFieldNameDamaged", V, CondS, with(ConditionBase, {{"Field0", "No Such Field"}}), Germany, true,
     "", "355"},
    {"ConditionRecordManager",
     V,
     CondS,
     with(ConditionBase, {{"@Field0", "Record Manager"}, {"Condition0", "Alice Martin"}}),
     {{"Record Manager", "{user:Alice Martin}"}},
     true,
     "hit"},
    {"ConditionFieldIdSet", A, CondS, ConditionBase, Germany, true, "hit"},
    {"ConditionFieldIdAbsent", A, CondS, with(ConditionBase, {{"FieldID0", Absent}}), Germany, true, "",
     "355"},
    {"ConditionFieldIdDamaged", A, CondS, with(ConditionBase, {{"FieldID0", "x"}}), Germany, true, "",
     "13 Obtain_Condition"},
    // "NowOperator": a number of the user's locale; "0" adds the days, any other number subtracts them.
    {"NowOperatorAbsent",
     V,
     NowS,
     with(NowBase, {{"NowOperator", Absent}}),
     {},
     true,
     "{datetime:2026-12-07}"},
    {"NowOperatorEmpty", V, NowS, with(NowBase, {{"NowOperator", ""}}), {}, true, "{datetime:2026-12-07}"},
    {"NowOperatorDamaged",
     V,
     NowS,
     with(NowBase, {{"NowOperator", "x"}}),
     {},
     false,
     "",
     "13 Initialize_Now"},
    {"NowOperatorMinus", V, NowS, with(NowBase, {{"NowOperator", "1"}}), {}, true, "{datetime:2026-12-03}"},
    {"NowOperatorLocaleNumber",
     V,
     NowS,
     with(NowBase, {{"NowOperator", "1.0"}}),
     {},
     true,
     "{datetime:2026-12-03}"},
    {"NowOperatorOther", V, NowS, with(NowBase, {{"NowOperator", "3"}}), {}, true, "{datetime:2026-12-03}"},
    // "NowFormatDate<k>": the date when option 0 is on, else the time when option 2 is, else both.
    {"NowFormatAbsent", V, NowS, NowBase, {}, true, "{datetime:2026-12-07}"},
    {"NowFormatDate", V, NowS, with(NowBase, {{"NowFormatDate0", "1"}}), {}, true, "{date:2026-12-07}"},
    {"NowFormatTime", V, NowS, with(NowBase, {{"NowFormatDate2", "1"}}), {}, true, "{time}"},
    {"NowFormatDateAndTimeSet",
     V,
     NowS,
     with(NowBase, {{"NowFormatDate1", "1"}}),
     {},
     true,
     "{datetime:2026-12-07}"},
    {"NowFormatDateBeforeTime",
     V,
     NowS,
     with(NowBase, {{"NowFormatDate0", "1"}, {"NowFormatDate2", "1"}}),
     {},
     true,
     "{date:2026-12-07}"},
    {"NowFormatDateBeforeBoth",
     V,
     NowS,
     with(NowBase, {{"NowFormatDate0", "1"}, {"NowFormatDate1", "1"}}),
     {},
     true,
     "{date:2026-12-07}"},
    {"NowFormatTimeBeforeBoth",
     V,
     NowS,
     with(NowBase, {{"NowFormatDate1", "1"}, {"NowFormatDate2", "1"}}),
     {},
     true,
     "{time}"},
    {"NowFormatDamaged",
     V,
     NowS,
     with(NowBase, {{"NowFormatDate0", "x"}}),
     {},
     true,
     "{datetime:2026-12-07}"},
    {"NowFormatAllOff",
     V,
     NowS,
     with(NowBase, {{"NowFormatDate0", "0"}, {"NowFormatDate1", "0"}, {"NowFormatDate2", "0"}}),
     {},
     true,
     "{datetime:2026-12-07}"},
    // "AutoSep": "-" when absent or empty; a blank is kept.
    {"AutoSepAbsent", V, AutoS, AutoNumberBase, {}, true, "INV-0042"},
    {"AutoSepEmpty", V, AutoS, with(AutoNumberBase, {{"AutoSep", ""}}), {}, true, "INV-0042"},
    {"AutoSepBlank", V, AutoS, with(AutoNumberBase, {{"AutoSep", " "}}), {}, true, "INV 0042"},
    {"AutoSepSet", V, AutoS, with(AutoNumberBase, {{"AutoSep", "/"}}), {}, true, "INV/0042"},
    // "AutoIniFile": the engine's own counter file in the data folder when absent or empty.
    {"CounterFileAbsent", V, AutoS, with(AutoNumberBase, {{"AutoIniFile", Absent}}), {}, true, "INV-1"},
    {"CounterFileEmpty", V, AutoS, with(AutoNumberBase, {{"AutoIniFile", ""}}), {}, true, "INV-1"},
    {"CounterFileUnusable",
     V,
     AutoS,
     with(AutoNumberBase, {{"AutoIniFile", "{folder}/gone/C.num"}}),
     {},
     false,
     "",
     "76 Initialize_AutoNumber"},
    // "Truncate" and "TruncateDigits": a number of the user's locale; nothing is kept when absent.
    {"TruncateDigitsSet", V, AutoS, AutoNumberField, Deutschland, true, "Deu-0042"},
    {"TruncateDigitsAbsent", V, AutoS, with(AutoNumberField, {{"TruncateDigits", Absent}}), Deutschland, true,
     "0042"},
    {"TruncateDigitsEmpty", V, AutoS, with(AutoNumberField, {{"TruncateDigits", ""}}), Deutschland, true,
     "0042"},
    {"TruncateDigitsLocaleNumber", V, AutoS, with(AutoNumberField, {{"TruncateDigits", "2.6"}}), Deutschland,
     true, "Deu-0042"},
    {"TruncateDigitsDamaged", V, AutoS, with(AutoNumberField, {{"TruncateDigits", "x"}}), Deutschland, false,
     "", "13 Initialize_AutoNumber"},
    {"TruncateOff", V, AutoS, with(AutoNumberField, {{"Truncate", "x"}}), Deutschland, true,
     "Deutschland-0042"},
    // "AutoFieldValue".
    {"AutoFieldNameAbsent", V, AutoS, with(AutoNumberField, {{"AutoFieldValue", Absent}}), Deutschland, false,
     "", "355"},
    {"AutoFieldIdSet", A, AutoS, AutoNumberField, Deutschland, true, "Deu-0042"},
    {"AutoFieldIdDamaged", A, AutoS, with(AutoNumberField, {{"AutoFieldValueID", "x"}}), Deutschland, false,
     "", "13 Initialize_AutoNumber"},
    // "DateField".
    {"DateFieldSet", V, AgeS, AgeBase, Born2000, true, "26"},
    {"DateFieldNameAbsent", V, AgeS, with(AgeBase, {{"DateField", Absent}}), Born2000, true, "", "355"},
    {"DateFieldIdSet", A, AgeS, AgeBase, Born2000, true, "26"},
    {"DateFieldIdAbsent", A, AgeS, with(AgeBase, {{"DateFieldID", Absent}}), Born2000, true, "-"},
    {"DateFieldIdDamaged", A, AgeS, with(AgeBase, {{"DateFieldID", "x"}}), Born2000, true, "",
     "13 Obtain_Age"},
};

/// The row's keys as the file gets them: fields spelled out, "{folder}" filled in, replaced and
/// absent keys dropped.
Keys fileKeys(EngineTestBed& bed, const Keys& rowKeys)
{
    Keys spelled;
    for (const auto& [key, value] : rowKeys) {
        if (key.startsWith(u'@')) {
            qsizetype digits = key.size();
            while (digits > 1 && key.at(digits - 1).isDigit())
                --digits;
            const int index = digits < key.size() ? key.mid(digits).toInt() : -1;
            spelled += bed.fieldKeys(key.mid(1, digits - 1), index, value);
        } else {
            spelled += {key, QString(value).replace(QStringLiteral("{folder}"), bed.folder())};
        }
    }
    Keys file;
    for (const auto& [key, value] : spelled) {
        file.removeIf([&](const auto& pair) { return pair.first == key; });
        if (value != Absent)
            file += {key, value};
    }
    return file;
}

QString expected(EngineTestBed& bed, const KeyReadRow& row)
{
    static const QRegularExpression dateTime(QStringLiteral("\\{datetime:([0-9-]+)\\}"));
    QString text = QString::fromUtf8(row.expected);
    const QRegularExpressionMatch match = dateTime.match(text);
    if (match.hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(),
                     bed.locale().dateTimeText(
                         QDateTime(QDate::fromString(match.captured(1), Qt::ISODate), Afternoon.time())));
    text.replace(QStringLiteral("{time}"), bed.locale().timeText(Afternoon.time()));
    return bed.expand(text);
}

void checkShown(EngineTestBed& bed, const KeyReadRow& row)
{
    const QStringList shown = bed.messages();
    const QString expected = QString::fromLatin1(row.shown);
    if (expected.isEmpty()) {
        EXPECT_TRUE(shown.isEmpty()) << shown.join(u'\n').toStdString();
    } else if (expected == u"355") {
        EXPECT_EQ(shown, QStringList{bed.session().messages().get(MessageId::InvalidButtonData)});
    } else if (expected == u"resave") {
        EXPECT_EQ(shown, QStringList{QStringLiteral("You upgraded to v2.1 but did not resave your buttons")});
    } else {
        ASSERT_EQ(shown.size(), 1) << shown.join(u'\n').toStdString();
        EXPECT_TRUE(valdora::test::reportsError(expected.section(u' ', 0, 0).toInt(), shown.front()));
        EXPECT_TRUE(shown.front().contains(QStringLiteral(" %1 - Line # ").arg(expected.section(u' ', 1))))
            << shown.front().toStdString();
    }
}

TEST(MemberKeyReading, EachKeyAbsentEmptyDamagedAndSet)
{
    for (const ReaderKind kind : {ReaderKind::Valdora, ReaderKind::Auto}) {
        EngineTestBed bed(QStringLiteral("en_US"), kind);
        bed.engine().context().options.clock = [] { return Afternoon; };
        ASSERT_TRUE(valdora::test::writeFile(bed.folder() + QStringLiteral("/C.num"), "0042"));
        int number = 200;
        for (const KeyReadRow& row : Rows) {
            if (row.kind != kind)
                continue;
            SCOPED_TRACE(row.name);
            bed.platform().clearRecord();
            const QString button =
                bed.writeButton(QStringLiteral("~%1.ini").arg(number++), fileKeys(bed, row.keys));
            const host::ContactId contact = bed.addContact(row.fields);
            const qint16 code = codeOf(row.scheme);
            const bool initialized = bed.engine().Initialize(code, 0, button);
            EXPECT_EQ(initialized, row.initializes);
            if (initialized) {
                EXPECT_EQ(bed.engine().Obtain(code, contact, button, 0), expected(bed, row));
            }
            checkShown(bed, row);
        }
    }
}

} // namespace
} // namespace valdora::engine::test
