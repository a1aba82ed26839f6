#include "SettingsTestSupport.h"

#include "settings/ButtonModel.h"

#include <functional>

namespace valdora::test {
namespace {

// The lines of a button file, "key=value" each, as the editor writes them.
using Lines = QStringList;

QByteArray fileText(const Lines& lines)
{
    QByteArray text = "[Settings]\r\n";
    for (const QString& line : lines)
        text += line.toLatin1() + "\r\n";
    return text;
}

// The keys every scheme writes before its own, for a button named "Caption" of scheme `type` that
// fills the field "Phone" (id 17, type 1), "Always overwrite", no warning, all databases.
Lines commonLines(const char* type, const char* format = "")
{
    return {QStringLiteral("Name=Caption"),      QStringLiteral("Type=") + QLatin1String(type),
            QStringLiteral("Target=Phone"),      QStringLiteral("TargetID=17"),
            QStringLiteral("TargetType=1"),      QStringLiteral("Format=") + QString::fromLatin1(format),
            QStringLiteral("TargetDecimals=-1"), QStringLiteral("_DB="),
            QStringLiteral("Over0=0"),           QStringLiteral("Over1=0"),
            QStringLiteral("Over2=0"),           QStringLiteral("Over3=1"),
            QStringLiteral("AutoWarning0=0"),    QStringLiteral("AutoWarning1=0"),
            QStringLiteral("AutoWarning2=1"),    QStringLiteral("Scope0=0"),
            QStringLiteral("Scope1=1"),          QStringLiteral("AppenSep=;"),
            QStringLiteral("FontBold=1"),        QStringLiteral("ForeColor=255")};
}

const QString SavedWithDB = QStringLiteral("DB=/data/Sales.dbf");

ButtonValue commonValue(SchemeKeys scheme)
{
    ButtonValue button;
    button.name = QStringLiteral("Caption");
    button.scheme = std::move(scheme);
    button.target = {QStringLiteral("Phone"), QStringLiteral("17"), QStringLiteral("1")};
    button.targetDecimals = QStringLiteral("-1");
    button.overwrite = OverwriteMode::AlwaysOverwrite;
    button.autoWarning = 2;
    button.scope = 1;
    button.appendSeparator = QStringLiteral(";");
    button.fontBold = QStringLiteral("1");
    button.foreColor = QStringLiteral("255");
    button.savedWithDB = QStringLiteral("/data/Sales.dbf");
    return button;
}

FieldChoice fieldNamed(const char* name, int id)
{
    return {QString::fromLatin1(name), QString::number(id), QStringLiteral("1")};
}

ButtonValue autoNumberButton()
{
    AutoNumberKeys keys;
    keys.fieldPosition = 1;
    keys.numberPosition = 1;
    keys.field = fieldNamed("Company", 5);
    keys.text = QStringLiteral("INV");
    keys.counterFile = QStringLiteral("/prog/AutoNumber_Caption.num");
    keys.separator = QStringLiteral("-");
    keys.truncate = true;
    keys.truncateDigits = 8;
    ButtonValue button = commonValue(keys);
    button.format = QStringLiteral("\u00F8|\u00FA");
    return button;
}

Lines autoNumberLines()
{
    return commonLines("0", "\xF8|\xFA") +
           Lines{"AutoFieldPos=1",
                 "AutoTextPos=0",
                 "AutoNumberPos=1",
                 "AutoFieldValue=Company",
                 "AutoFieldValueID=5",
                 "AutoFieldValueType=1",
                 "AutoTextValue=INV",
                 "AutoIniFile=/prog/AutoNumber_Caption.num",
                 "AutoSep=-",
                 "AppendSep=;",
                 "UsedFields=Phone|Company",
                 "Truncate=1",
                 "TruncateDigits=8",
                 "AutoCaps=0"} +
           Lines{SavedWithDB};
}

// Conditions 0 and 7 in use; every row is written.
ButtonValue conditionButton()
{
    ConditionKeys keys;
    keys.rows[0] = {true, fieldNamed("City", 9), 0, QStringLiteral("Paris"), QStringLiteral("FR")};
    keys.rows[7] = {true, fieldNamed("Sales", 30), 2, QStringLiteral("100"), QStringLiteral("//[30]*2")};
    return commonValue(keys);
}

Lines conditionLines()
{
    Lines lines = commonLines("1");
    QStringList used{QStringLiteral("Phone")};
    for (int i = 0; i < 20; ++i) {
        // Row 0 tests City, row 7 Sales; the other rows are empty.
        const int row = i == 0 ? 1 : i == 7 ? 2 : 0;
        const auto pick = [row](const char* empty, const char* city, const char* sales) {
            return QString::fromLatin1(row == 1 ? city : row == 2 ? sales : empty);
        };
        lines << QStringLiteral("Cond%1=%2").arg(i).arg(pick("0", "1", "1"))
              << QStringLiteral("Field%1=%2").arg(i).arg(pick("", "City", "Sales"))
              << QStringLiteral("FieldID%1=%2").arg(i).arg(pick("", "9", "30"))
              << QStringLiteral("FieldType%1=%2").arg(i).arg(pick("", "1", "1"))
              << QStringLiteral("Operator%1=%2").arg(i).arg(pick("-1", "0", "2"))
              << QStringLiteral("Condition%1=%2").arg(i).arg(pick("", "Paris", "100"))
              << QStringLiteral("Value%1=%2").arg(i).arg(pick("", "FR", "//[30]*2"));
        used << pick("", "City", "Sales");
    }
    return lines << QStringLiteral("UsedFields=") + used.join(u'|') << SavedWithDB;
}

// The arithmetic buttons read the field `field` in operand 0 and the constant `constant` in operand 1.
template <std::size_t N>
std::array<Operand, N> fieldAndConstant(const char* field, int id, const char* constant)
{
    std::array<Operand, N> operands;
    operands[0].field = fieldNamed(field, id);
    operands[1] = {QString::fromLatin1(constant), {}, Operand::Constant};
    return operands;
}

Lines operandLines(int count, const char* field, int id, const char* constant)
{
    Lines lines;
    for (int i = 0; i < count; ++i) {
        const bool isField = i == 0;
        const bool isConstant = i == 1;
        lines << QStringLiteral("CalcText%1=%2").arg(i).arg(QLatin1String(isConstant ? constant : ""))
              << QStringLiteral("CalcField%1=%2").arg(i).arg(QLatin1String(isField ? field : ""))
              << QStringLiteral("CalcFieldID%1=%2").arg(i).arg(isField ? QString::number(id) : QString())
              << QStringLiteral("CalcFieldType%1=%2").arg(i).arg(isField ? QStringLiteral("1") : QString())
              << QStringLiteral("CalcTextOption%1=%2").arg(i).arg(isConstant ? 1 : 0)
              << QStringLiteral("CalcFieldOption%1=%2").arg(i).arg(isConstant ? 0 : 1);
    }
    return lines;
}

ButtonValue addSubtractButton()
{
    AddSubtractKeys keys;
    keys.operands = fieldAndConstant<4>("Amount", 31, "2.5");
    keys.operators = {1, 0, 0};
    keys.emptyWhenNoData = true;
    keys.invalid = QStringLiteral("n/a");
    return commonValue(keys);
}

Lines addSubtractLines()
{
    return commonLines("2") + operandLines(4, "Amount", 31, "2.5") +
           Lines{"CalcOperator0=1", "CalcOperator1=0", "CalcOperator2=0",
                 "Zero=1",          "Invalid=n/a",     "UsedFields=Phone|Amount|||",
                 SavedWithDB};
}

ButtonValue multiplyDivideButton()
{
    MultiplyDivideKeys keys;
    keys.operands = fieldAndConstant<2>("Price", 32, "3");
    keys.op = 1;
    return commonValue(keys);
}

Lines multiplyDivideLines()
{
    return commonLines("3") + operandLines(2, "Price", 32, "3") +
           Lines{"CalcOperator=1", "Invalid=", "UsedFields=Phone|Price|", SavedWithDB};
}

ButtonValue nowButton()
{
    return commonValue(NowKeys{1, QStringLiteral("7"), 2});
}

Lines nowLines()
{
    return commonLines("4") +
           Lines{"NowOperator=1", "NowDays=7", "NowFormatDate0=0", "NowFormatDate1=0", "NowFormatDate2=1"} +
           Lines{SavedWithDB};
}

// Members in rows 0 and 9; a Combo button has no target.
ButtonValue comboButton()
{
    ComboKeys keys;
    keys.members[0] = {true, QStringLiteral("~101.ini")};
    keys.members[9] = {true, QStringLiteral("~105.ini")};
    ButtonValue button = commonValue(keys);
    button.target = {{}, QStringLiteral("-1"), QStringLiteral("-1")};
    return button;
}

Lines comboLines()
{
    Lines lines = commonLines("5");
    lines.replace(2, QStringLiteral("Target="));
    lines.replace(3, QStringLiteral("TargetID=-1"));
    lines.replace(4, QStringLiteral("TargetType=-1"));
    for (int i = 0; i < 20; ++i) {
        lines << QStringLiteral("Button%1=%2").arg(i).arg(i == 0 || i == 9 ? 1 : 0);
        if (i == 0)
            lines << QStringLiteral("ButtonName0=~101.ini");
        if (i == 9)
            lines << QStringLiteral("ButtonName9=~105.ini");
    }
    return lines << SavedWithDB;
}

ButtonValue ageButton()
{
    return commonValue(AgeKeys{fieldNamed("Birth Date", 40), 1, QStringLiteral("?"), QStringLiteral("none")});
}

Lines ageLines()
{
    return commonLines("6") +
           Lines{"DateField=Birth Date", "DateFieldID=40", "DateFieldType=1", "AgeFormat0=0",
                 "AgeFormat1=1",         "AgeFormat2=0",   "Invalid=?",       "Blank=none"} +
           Lines{SavedWithDB};
}

struct RoundTripCase {
    const char* name;
    std::function<ButtonValue()> button;
    std::function<Lines()> lines;
};

void PrintTo(const RoundTripCase& c, std::ostream* out)
{
    *out << c.name;
}

class ButtonModelRoundTrip : public SettingsTest, public ::testing::WithParamInterface<RoundTripCase> {
protected:
    ButtonFile file(const char* name) const { return ButtonFile(m_ini, path(QString::fromLatin1(name))); }
    const QString m_programFolder = QStringLiteral("/prog/");
};

TEST_P(ButtonModelRoundTrip, SavesInEditorOrderAndLoadsBack)
{
    const ButtonValue button = GetParam().button();
    const QByteArray expected = fileText(GetParam().lines());

    const ButtonFile saved = file("~100.ini");
    ASSERT_TRUE(saveButton(button, saved));
    EXPECT_EQ(readFile(saved.path()), expected);
    EXPECT_EQ(loadButton(saved, m_programFolder), button);
}

TEST_P(ButtonModelRoundTrip, ReproducesAFileWrittenInEditorOrder)
{
    const QByteArray text = fileText(GetParam().lines());
    const ButtonFile written = file("~100.ini");
    ASSERT_TRUE(writeFile(written.path(), text));

    const ButtonFile copy = file("~101.ini");
    ASSERT_TRUE(saveButton(loadButton(written, m_programFolder), copy));
    EXPECT_EQ(readFile(copy.path()), text);
}

INSTANTIATE_TEST_SUITE_P(Schemes, ButtonModelRoundTrip,
                         ::testing::Values(RoundTripCase{"AutoNumber", autoNumberButton, autoNumberLines},
                                           RoundTripCase{"Condition", conditionButton, conditionLines},
                                           RoundTripCase{"AddSubtract", addSubtractButton, addSubtractLines},
                                           RoundTripCase{"MultiplyDivide", multiplyDivideButton,
                                                         multiplyDivideLines},
                                           RoundTripCase{"Now", nowButton, nowLines},
                                           RoundTripCase{"Combo", comboButton, comboLines},
                                           RoundTripCase{"Age", ageButton, ageLines}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file of a scheme code and nothing else: every other key takes the editor's default.
struct DefaultCase {
    const char* name;
    Lines lines;
    std::function<SchemeKeys()> expected;
};

void PrintTo(const DefaultCase& c, std::ostream* out)
{
    *out << c.name;
}

class ButtonModelDefaults : public SettingsTest, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(ButtonModelDefaults, AbsentKeysTakeTheEditorsDefaults)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), fileText(GetParam().lines)));
    const ButtonValue loaded = loadButton(file, QStringLiteral("/prog/"));

    ButtonValue expected;
    expected.name = loaded.name;
    expected.scheme = GetParam().expected();
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loaded.overwrite, OverwriteMode::NeverOverwrite);
    EXPECT_EQ(loaded.autoWarning, 0);
    EXPECT_EQ(loaded.scope, 0);
    EXPECT_EQ(loaded.fontBold, u"0");
    EXPECT_EQ(loaded.foreColor, u"0");
}

SchemeKeys autoNumberDefaults(const char* counterFile)
{
    AutoNumberKeys keys;
    keys.counterFile = QString::fromLatin1(counterFile);
    EXPECT_EQ(keys.truncateDigits, 254);
    return keys;
}

SchemeKeys conditionDefaults()
{
    const ConditionKeys keys;
    for (const ConditionRow& row : keys.rows)
        EXPECT_EQ(row.op, NoChoice);
    return keys;
}

SchemeKeys addSubtractDefaults()
{
    const AddSubtractKeys keys;
    for (const Operand& operand : keys.operands)
        EXPECT_EQ(operand.source, Operand::Field);
    return keys;
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, ButtonModelDefaults,
    ::testing::Values(
        DefaultCase{"NoKeys", {}, [] { return SchemeKeys(); }},
        DefaultCase{"UnknownScheme", {"Type=7"}, [] { return SchemeKeys(); }},
        DefaultCase{"AutoNumberWithoutCaption", {"Type=0"}, [] { return autoNumberDefaults(""); }},
        DefaultCase{"AutoNumberCounterBesideTheProgram",
                    {"Name=Invoice", "Type=0"},
                    [] { return autoNumberDefaults("/prog/AutoNumber_Invoice.num"); }},
        DefaultCase{"Condition", {"Type=1"}, conditionDefaults},
        DefaultCase{"AddSubtract", {"Type=2"}, addSubtractDefaults},
        DefaultCase{"MultiplyDivide", {"Type=3"}, [] { return SchemeKeys(MultiplyDivideKeys{}); }},
        DefaultCase{"NowDateAndTime",
                    {"Type=4"},
                    [] {
                        return SchemeKeys(NowKeys{0, QStringLiteral("0"), 1});
                    }},
        DefaultCase{"Combo", {"Type=5"}, [] { return SchemeKeys(ComboKeys{}); }},
        DefaultCase{"AgeYears", {"Type=6"}, [] { return SchemeKeys(AgeKeys{}); }}),
    [](const auto& info) { return std::string(info.param.name); });

using ButtonModelSave = SettingsTest;

// The editor rewrites a button over its earlier file: keys of the scheme it had stay, and a Combo row
// without a chosen button keeps the member it named.
TEST_F(ButtonModelSave, KeepsKeysItDoesNotWrite)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), fileText({"Type=2", "CalcText0=5", "ButtonName3=~104.ini"})));

    ButtonValue button = comboButton();
    ASSERT_TRUE(saveButton(button, file));
    EXPECT_EQ(file.read(QStringLiteral("CalcText0")), u"5");
    EXPECT_EQ(file.read(QStringLiteral("ButtonName3")), u"~104.ini");
    EXPECT_EQ(file.read(QStringLiteral("Button3")), u"0");
    EXPECT_EQ(file.read(QStringLiteral("Type")), u"5");
}

TEST_F(ButtonModelSave, AnOptionGroupWithoutChoiceWritesEveryOptionOff)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), fileText({"Type=4", "Over0=0", "NowFormatDate1=0"})));
    const ButtonValue loaded = loadButton(file, QStringLiteral("/prog/"));
    EXPECT_EQ(loaded.overwrite, std::nullopt);
    EXPECT_EQ(std::get<NowKeys>(loaded.scheme).format, NoChoice);

    const ButtonFile copy(m_ini, path(QStringLiteral("~101.ini")));
    ASSERT_TRUE(saveButton(loaded, copy));
    for (const char* key : {"Over0", "Over1", "Over2", "Over3", "NowFormatDate0", "NowFormatDate1"})
        EXPECT_EQ(copy.read(QString::fromLatin1(key)), u"0") << key;
}

TEST_F(ButtonModelSave, AButtonWithoutSchemeWritesNoType)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ButtonValue button;
    button.name = QStringLiteral("Draft");
    ASSERT_TRUE(saveButton(button, file));
    EXPECT_EQ(file.scheme(), Scheme::Missing);
    EXPECT_EQ(loadButton(file, QStringLiteral("/prog/")), button);
}

TEST_F(ButtonModelSave, AFileThatCannotBeWrittenIsReported)
{
    const ButtonFile file(m_ini, path(QStringLiteral("no such folder/~100.ini")));
    EXPECT_FALSE(saveButton(nowButton(), file));
}

TEST_F(ButtonModelSave, LoadsTheKeysOfASchemeTheFileIsNotSavedWith)
{
    const ButtonFile file(m_ini, path(QStringLiteral("~100.ini")));
    ASSERT_TRUE(writeFile(file.path(), fileText({"Type=4", "CalcText1=5", "CalcTextOption1=1",
                                                 "CalcFieldOption1=0", "NowDays=3"})));
    const auto keys =
        std::get<AddSubtractKeys>(loadSchemeKeys(file, Scheme::AddSubtract, QStringLiteral("/prog/")));
    EXPECT_EQ(keys.operands[1].constant, u"5");
    EXPECT_EQ(keys.operands[1].source, Operand::Constant);
    EXPECT_EQ(keys.operands[0].source, Operand::Field);
    EXPECT_EQ(std::get<NowKeys>(loadSchemeKeys(file, Scheme::Now, QStringLiteral("/prog/"))).days, u"3");
    EXPECT_EQ(loadSchemeKeys(file, Scheme::Missing, QStringLiteral("/prog/")), SchemeKeys());
}

} // namespace
} // namespace valdora::test
