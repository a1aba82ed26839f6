#include "EngineTestBed.h"

#include "core/testsupport/ReportedError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace valdora::engine::test {
namespace {

const QString Field = QString(QChar(0xF8));
const QString Text = QString(QChar(0xF9));
const QString Counter = QString(QChar(0xFA));

struct AutoCase {
    const char* name;
    QString format;
    Keys keys;                      ///< besides Format and AutoIniFile
    std::optional<QByteArray> file; ///< counter file content; nullopt: no file
    FieldValues fields;             ///< "Country" is the field part's field
    QString expected;
    QByteArray fileAfter; ///< after the number was used
};

void PrintTo(const AutoCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<AutoCase> AutoCases = {
    {"TextAndCounter",
     Text + "|" + Counter,
     {{"AutoTextValue", "INV"}, {"AutoSep", "-"}},
     "0042\r\n",
     {},
     "INV-0042",
     "0043\r\n"},
    {"EmptyFieldDropsItsSeparator", Field + "|" + Counter, {}, "0042\r\n", {}, "0042", "0043\r\n"},
    {"EmptyFieldAtTheEndKeepsSeparator", Counter + "|" + Field, {}, "0042\r\n", {}, "0042-", "0043\r\n"},
    {"EmptyFieldWithoutSeparatorKeepsCounter", Field + Counter, {}, "0042\r\n", {}, "0042", "0043\r\n"},
    {"FieldPart", Field + "|" + Counter, {{"AutoSep", "/"}}, "7", {{"Country", "Spain"}}, "Spain/7", "8\r\n"},
    {"TruncatedCapitals",
     Field + "|" + Counter,
     {{"Truncate", "1"}, {"TruncateDigits", "3"}, {"AutoCaps", "1"}},
     "0042",
     {{"Country", "Éléonore"}},
     "ELE-0042",
     "0043\r\n"},
    {"AccentTable",
     Field,
     {{"Truncate", "1"}, {"TruncateDigits", "40"}},
     "1",
     {{"Country", "Çüéâäàåçêëèïîì ÄÅÉæÆôöòûùÿÖÜáíóúñÑ"}},
     "Cueaaaaceeeiii AAEaAOOOuuyOUaiounN",
     "2\r\n"},
    {"CapitalsWithoutTruncation",
     Field + Counter,
     {{"AutoCaps", "1"}},
     "5",
     {{"Country", "smith"}},
     "SMITH5",
     "6\r\n"},
    {"MarkersInTheFieldPartAreReplaced",
     Field + "|" + Counter,
     {},
     "3",
     {{"Country", "A|B" + Counter}},
     "A-B3-3",
     "4\r\n"},
    {"SeparatorDefault", Text + "|" + Counter, {{"AutoTextValue", "X"}}, "9", {}, "X-9", "10\r\n"},
    {"NewCounterFile", Counter, {}, std::nullopt, {}, "1", "2\r\n"},
    {"WidthGrows", Counter, {}, "9999", {}, "9999", "10000\r\n"},
    {"WidthKept", Counter, {}, " 0099 \r\n", {}, "0099", "0100\r\n"},
    {"BeyondSinglePrecision", Counter, {}, "16777217", {}, "16777217", "16777218\r\n"},
    {"BeyondSixtyFourBits",
     Counter,
     {},
     "99999999999999999999",
     {},
     "99999999999999999999",
     "100000000000000000000\r\n"},
    {"DateFieldKeepsTheDay",
     Field + "|" + Counter,
     {},
     "1",
     {{"Last Meeting", "{date:2026-05-12} 09:30:00"}},
     "{date:2026-05-12}-1",
     "2\r\n"},
    {"FixedTextAndField",
     Text + "|" + Field + "|" + Counter,
     {{"AutoTextValue", "C"}, {"AutoSep", "_"}},
     "12",
     {{"Country", "DE"}},
     "C_DE_12",
     "13\r\n"},
};

using AutoParam = std::tuple<AutoCase, const char*, ReaderKind>;

class AutoNumberTest : public ::testing::TestWithParam<AutoParam> {};

TEST_P(AutoNumberTest, ValueAndAdvance)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    const QString counterFile = bed.folder() + QStringLiteral("/counters/Invoice.num");
    if (row.file)
        ASSERT_TRUE(valdora::test::writeFile(counterFile, *row.file));
    else
        QDir().mkpath(bed.folder() + QStringLiteral("/counters"));

    FieldValues fields;
    for (auto it = row.fields.begin(); it != row.fields.end(); ++it)
        fields.insert(it.key(), bed.expand(it.value()));
    const QString fieldName = row.fields.contains(QStringLiteral("Last Meeting"))
                                  ? QStringLiteral("Last Meeting")
                                  : QStringLiteral("Country");
    Keys keys = {{"Type", "0"}, {"Format", row.format}, {"AutoIniFile", counterFile}};
    keys += bed.fieldKeys(QStringLiteral("AutoFieldValue"), fieldName);
    keys += row.keys;
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact(fields);

    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), bed.expand(row.expected));
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
    if (!row.file) {
        EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray(" 1 \r\n"));
    }
    bed.engine().Update_AutoNumber(0);
    bed.engine().releaseCounterLocks();
    EXPECT_EQ(valdora::test::readFile(counterFile), row.fileAfter);
}

INSTANTIATE_TEST_SUITE_P(Formats, AutoNumberTest,
                         ::testing::Combine(::testing::ValuesIn(AutoCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

class AutoNumberReaders : public ::testing::TestWithParam<ReaderKind> {};

TEST_P(AutoNumberReaders, UnusedNumberIsNotAdvanced)
{
    EngineTestBed bed(QStringLiteral("en_US"), GetParam());
    const QString counterFile = bed.folder() + QStringLiteral("/Unused.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "0042\r\n"));
    const QString button = bed.writeButton(
        QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", counterFile}});
    const host::ContactId first = bed.addContact({});
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, first), QStringLiteral("0042"));
    bed.engine().releaseCounterLocks();
    // A later advance without a new number changes nothing.
    bed.engine().Update_AutoNumber(0);
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("0042\r\n"));
    // The next contact gets the same number, which is then used.
    const host::ContactId second = bed.addContact({});
    EXPECT_EQ(bed.engine().Obtain(codeOf(Scheme::AutoNumber), second, button, 0), QStringLiteral("0042"));
    bed.engine().Update_AutoNumber(0);
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("0043\r\n"));
}

TEST_P(AutoNumberReaders, ComboMembersEachAdvanceTheirOwnFile)
{
    EngineTestBed bed(QStringLiteral("de_DE"), GetParam());
    const QString fileA = bed.folder() + QStringLiteral("/A.num");
    const QString fileB = bed.folder() + QStringLiteral("/B.num");
    ASSERT_TRUE(valdora::test::writeFile(fileA, "10\r\n"));
    ASSERT_TRUE(valdora::test::writeFile(fileB, "500\r\n"));
    const QString a = bed.writeButton(QStringLiteral("~101.ini"),
                                      {{"Type", "0"}, {"Format", "A" + Counter}, {"AutoIniFile", fileA}});
    const QString b = bed.writeButton(QStringLiteral("~102.ini"),
                                      {{"Type", "0"}, {"Format", "B" + Counter}, {"AutoIniFile", fileB}});
    bed.engine().Initialize(codeOf(Scheme::AutoNumber), 0, a);
    bed.engine().Initialize(codeOf(Scheme::AutoNumber), 1, b);
    for (int round = 0; round < 3; ++round) {
        const host::ContactId contact = bed.addContact({});
        EXPECT_EQ(bed.engine().Obtain(codeOf(Scheme::AutoNumber), contact, a, 0),
                  "A" + QString::number(10 + round));
        EXPECT_EQ(bed.engine().Obtain(codeOf(Scheme::AutoNumber), contact, b, 1),
                  "B" + QString::number(500 + round));
        bed.engine().Update_AutoNumber(0);
        bed.engine().Update_AutoNumber(1);
        bed.engine().releaseCounterLocks();
    }
    EXPECT_EQ(valdora::test::readFile(fileA), QByteArray("13\r\n"));
    EXPECT_EQ(valdora::test::readFile(fileB), QByteArray("503\r\n"));
}

TEST_P(AutoNumberReaders, TwoMembersOnOneFileShareTheLock)
{
    EngineTestBed bed(QStringLiteral("en_US"), GetParam());
    const QString file = bed.folder() + QStringLiteral("/Shared.num");
    ASSERT_TRUE(valdora::test::writeFile(file, "7\r\n"));
    const QString a = bed.writeButton(QStringLiteral("~101.ini"),
                                      {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", file}});
    bed.engine().Initialize(codeOf(Scheme::AutoNumber), 0, a);
    bed.engine().Initialize(codeOf(Scheme::AutoNumber), 1, a);
    const host::ContactId contact = bed.addContact({});
    EXPECT_EQ(bed.engine().Obtain(codeOf(Scheme::AutoNumber), contact, a, 0), QStringLiteral("7"));
    EXPECT_EQ(bed.engine().Obtain(codeOf(Scheme::AutoNumber), contact, a, 1), QStringLiteral("7"));
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

TEST_P(AutoNumberReaders, DefaultCounterFileInTheProgramFolder)
{
    EngineTestBed bed(QStringLiteral("fr_FR"), GetParam());
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}});
    const host::ContactId contact = bed.addContact({});
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), QStringLiteral("1"));
    bed.engine().Update_AutoNumber(0);
    const QString expected = bed.programFolder() + (GetParam() == ReaderKind::Valdora
                                                        ? QStringLiteral("/AutoNumber_~101.num")
                                                        : QStringLiteral("/AutoNumber_~101.ini.num"));
    EXPECT_EQ(bed.engine().autoNumber().lastCounterFile(), expected);
    EXPECT_EQ(valdora::test::readFile(expected), QByteArray("2\r\n"));
}

struct UnusableCounterCase {
    const char* name;
    const char* file;                  // relative to the test folder
    std::optional<QByteArray> content; // written there first (a folder when "<dir>")
    int errorNumber;
    const char* reason; // what the report says after the file's name
};

// A counter that cannot be used is refused before any number is handed out, with the real reason: a
// counter read as 0 would hand out numbers that were surely handed out before.
const UnusableCounterCase unusableCounters[] = {
    {"FolderMissing", "no such folder/X.num", std::nullopt, 76, "cannot be used: its folder "},
    {"PathIsAFolder", "counters/X.num", QByteArray("<dir>"), 75, "cannot be used: it is a folder"},
    {"Garbage", "counters/X.num", QByteArray("abc\r\n"), 13,
     "cannot be used: it holds \"abc\", which is not a whole number of 0 or more"},
    {"Empty", "counters/X.num", QByteArray(""), 13, "cannot be used: it holds no number"},
    {"Negative", "counters/X.num", QByteArray("-5\r\n"), 13, "it holds \"-5\", which is not a whole number"},
    {"Fraction", "counters/X.num", QByteArray("4.5\r\n"), 13, "it holds \"4.5\""},
};

class UnusableCounterTest : public ::testing::TestWithParam<std::tuple<UnusableCounterCase, ReaderKind>> {};

TEST_P(UnusableCounterTest, IsRefusedAtInitialisationWithTheFileAndTheReason)
{
    const auto& [row, kind] = GetParam();
    EngineTestBed bed(QStringLiteral("en_US"), kind);
    const QString counterFile = bed.folder() + QStringLiteral("/") + QString::fromLatin1(row.file);
    if (row.content && *row.content == "<dir>") {
        ASSERT_TRUE(QDir().mkpath(counterFile));
    } else if (row.content) {
        ASSERT_TRUE(valdora::test::writeFile(counterFile, *row.content));
    }
    const QString button = bed.writeButton(
        QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", counterFile}});

    EXPECT_FALSE(bed.engine().Initialize(codeOf(Scheme::AutoNumber), 0, button));
    EXPECT_TRUE(bed.engine().counterFailed());
    ASSERT_EQ(bed.messages().size(), 1);
    const QString report = bed.messages().front();
    const QString module =
        kind == ReaderKind::Valdora ? QStringLiteral("frmMain") : QStringLiteral("frmAutoMain");
    EXPECT_TRUE(report.startsWith(QStringLiteral("Error %1: 'The counter file ").arg(row.errorNumber)))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QDir::toNativeSeparators(counterFile))) << report.toStdString();
    EXPECT_TRUE(report.contains(QString::fromLatin1(row.reason))) << report.toStdString();
    EXPECT_TRUE(report.contains("in " + module + ": Sub Initialize_AutoNumber - Line # "))
        << report.toStdString();
    // Nothing is created or changed.
    if (!row.content) {
        EXPECT_FALSE(QFileInfo::exists(counterFile));
    } else if (*row.content != "<dir>") {
        EXPECT_EQ(valdora::test::readFile(counterFile), *row.content);
    }
}

INSTANTIATE_TEST_SUITE_P(Counters, UnusableCounterTest,
                         ::testing::Combine(::testing::ValuesIn(unusableCounters),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    readerName(std::get<1>(info.param));
                         });

TEST(AutoNumberCounter, ReadOnlyFolderIsRefused)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const QString folder = bed.folder() + QStringLiteral("/locked");
    ASSERT_TRUE(valdora::test::writeFile(folder + QStringLiteral("/X.num"), "7\r\n"));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const QString button = bed.writeButton(
        QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", folder + "/X.num"}});
    EXPECT_FALSE(bed.engine().Initialize(codeOf(Scheme::AutoNumber), 0, button));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(bed.messages().size(), 1);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::PermissionDenied), bed.messages().front()));
    EXPECT_TRUE(bed.messages().front().contains(QStringLiteral("is read-only")))
        << bed.messages().front().toStdString();
}

TEST(AutoNumberCounter, CounterSpoiledDuringTheRunHandsOutNoNumber)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const QString counterFile = bed.folder() + QStringLiteral("/X.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "7\r\n"));
    const QString button = bed.writeButton(
        QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", counterFile}});
    const host::ContactId contact = bed.addContact({});
    ASSERT_TRUE(bed.engine().Initialize(codeOf(Scheme::AutoNumber), 0, button));
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "oops\r\n"));

    EXPECT_EQ(bed.engine().Obtain(codeOf(Scheme::AutoNumber), contact, button, 0), QString());
    EXPECT_TRUE(bed.engine().counterFailed());
    ASSERT_EQ(bed.messages().size(), 1);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::TypeMismatch), bed.messages().front()));
    EXPECT_TRUE(bed.messages().front().contains(QStringLiteral("Function Obtain_AutoNumber")));
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("oops\r\n"));
}

TEST(AutoNumberCounter, AdvancedNumberIsGivenBackExactly)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const QString counterFile = bed.folder() + QStringLiteral("/X.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, " 0041 \r\n"));
    const QString button = bed.writeButton(
        QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", counterFile}});
    const host::ContactId contact = bed.addContact({});
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), QStringLiteral("0041"));
    // The number is taken before the contact is committed...
    ASSERT_TRUE(bed.engine().Update_AutoNumber(0));
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("0042\r\n"));
    // ...and given back when the commit did not go through.
    bed.engine().giveBack(0);
    bed.engine().releaseCounterLocks();
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("0041\r\n"));
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), QStringLiteral("0041"));
    EXPECT_TRUE(bed.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Readers, AutoNumberReaders, ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto),
                         [](const ::testing::TestParamInfo<ReaderKind>& info) {
                             return readerName(info.param);
                         });

TEST(AutoNumberValdora, MissingFieldShowsInvalidData)
{
    EngineTestBed bed(QStringLiteral("fr_FR"), ReaderKind::Valdora);
    const QString counterFile = bed.folder() + QStringLiteral("/M.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "5"));
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "0"},
                                                                        {"Format", Field + "|" + Counter},
                                                                        {"AutoFieldValue", "Deleted Field"},
                                                                        {"AutoIniFile", counterFile}});
    const host::ContactId contact = bed.addContact({});
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), QStringLiteral("5"));
    EXPECT_EQ(bed.messages(), QStringList{bed.session().messages().get(MessageId::InvalidButtonData)});
}

TEST(AutoNumberValdora, UnreachableContactAsksToUnload)
{
    EngineTestBed bed(QStringLiteral("de_DE"), ReaderKind::Valdora);
    const QString counterFile = bed.folder() + QStringLiteral("/U.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "5"));
    const QString button = bed.writeButton(
        QStringLiteral("~101.ini"), {{"Type", "0"}, {"Format", Counter}, {"AutoIniFile", counterFile}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, QStringLiteral("NOSUCHCONTAC")), QString());
    EXPECT_EQ(bed.messages(), QStringList{bed.session().messages().get(MessageId::ContactNotReachable)});
    EXPECT_TRUE(bed.engine().unloadRequested());
}

TEST(AutoNumberAuto, StoredFieldIdIsRead)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Auto);
    const QString counterFile = bed.folder() + QStringLiteral("/S.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "5"));
    // Only the id and type keys: ValdoraAuto never looks at the field name.
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"),
                        {{"Type", "0"},
                         {"Format", Field + "|" + Counter},
                         {"AutoFieldValueID", QString::number(bed.fieldId(QStringLiteral("Country")))},
                         {"AutoFieldValueType", "1"},
                         {"AutoIniFile", counterFile}});
    const host::ContactId contact = bed.addContact({{"Country", "Peru"}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), QStringLiteral("Peru-5"));
}

} // namespace
} // namespace valdora::engine::test
