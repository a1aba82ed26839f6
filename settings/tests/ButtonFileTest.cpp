#include "SettingsTestSupport.h"

#include "settings/ButtonFile.h"
#include "settings/FileLister.h"

#include <QSet>

namespace valdora::test {
namespace {

const QString F = QStringLiteral("\u00F8");
const QString T = QStringLiteral("\u00F9");
const QString N = QStringLiteral("\u00FA");

struct PatternCase {
    const char* name;
    int fieldPos;
    int textPos;
    int numberPos;
    const char* separator;
    QString expected;
};

class AutoNumberPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(AutoNumberPatternTest, Builds)
{
    const PatternCase& c = GetParam();
    EXPECT_EQ(autoNumberPattern(c.fieldPos, c.textPos, c.numberPos, QString::fromLatin1(c.separator)),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoNumberPatternTest,
                         ::testing::Values(PatternCase{"NumberOnly", 0, 0, 1, "", N},
                                           PatternCase{"NumberOnlyWithSeparator", 0, 0, 1, "-", N},
                                           PatternCase{"FieldThenNumber", 1, 0, 2, "-", F + u'|' + N},
                                           PatternCase{"TextThenNumberNoSeparator", 0, 1, 3, "", T + N},
                                           PatternCase{"AllThree", 3, 1, 2, "/", T + u'|' + N + u'|' + F},
                                           PatternCase{"AllThreeNoSeparator", 1, 2, 3, "", F + T + N},
                                           PatternCase{"PositionOneFree", 0, 2, 3, "-", u'|' + T + u'|' + N},
                                           PatternCase{"LaterPartTakesAClaimedPosition", 2, 2, 1, "-",
                                                       N + u'|' + T},
                                           PatternCase{"NumberWinsOverAll", 1, 1, 1, "-", N},
                                           PatternCase{"OutOfRangeIsNotUsed", 4, -1, 1, "-", N}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
    const char* name;
    const char* lastListed;
    QStringList existing;
    QString expected;
};

class NewButtonFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NewButtonFileNameTest, Names)
{
    const NameCase& c = GetParam();
    EXPECT_EQ(newButtonFileName(QString::fromLatin1(c.lastListed), c.existing), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewButtonFileNameTest,
    ::testing::Values(
        NameCase{"FirstEver", "", {}, QStringLiteral("~100.ini")},
        NameCase{
            "NextAfterTwo", "~101.ini", {"valdora.ini", "~100.ini", "~101.ini"}, QStringLiteral("~102.ini")},
        NameCase{"OtherDatabasesCountToo", "~100.ini", {"~100.ini"}, QStringLiteral("~101.ini")},
        NameCase{"LastListedPlusOne", "~107.ini", {"~100.ini", "~107.ini"}, QStringLiteral("~108.ini")},
        NameCase{"JustCreatedAndDeletedIsNotReused", "~105.ini", {"~100.ini"}, QStringLiteral("~106.ini")},
        NameCase{"PastNineHundredNinetyNine",
                 "~999.ini",
                 {"~1000.ini", "~101.ini", "~999.ini"},
                 QStringLiteral("~1001.ini")},
        NameCase{"NameWithoutNumber", "~temp.ini", {"~100.ini", "~temp.ini"}, QStringLiteral("~101.ini")},
        NameCase{"LeadingZeros", "~0200.ini", {"~0200.ini", "~201.ini"}, QStringLiteral("~202.ini")},
        NameCase{
            "SpellingTakenInAnotherCase", "~99.ini", {"~99.ini", "~100.INI"}, QStringLiteral("~101.ini")}),
    [](const auto& info) { return std::string(info.param.name); });

// Creating buttons one after another across restarts, each start taking the last "~" file of the
// listing in name order, never repeats a name, well past four digits.
TEST(NewButtonFileNameRule, NeverEqualsAnExistingFileAcrossRestarts)
{
    QStringList existing;
    QSet<QString> seen;
    for (int created = 0; created < 1200; ++created) {
        QStringList sorted = existing;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
        const QString lastListed = sorted.isEmpty() ? QString() : sorted.back();
        const QString name = newButtonFileName(lastListed, existing);
        ASSERT_FALSE(seen.contains(name)) << name.toStdString();
        seen.insert(name);
        existing.append(name);
    }
    EXPECT_TRUE(seen.contains(QStringLiteral("~1299.ini")));
}

TEST(ButtonNames, IdentifiersAndSchemes)
{
    EXPECT_EQ(buttonIdentifier(QStringLiteral("~100.ini")), u"~100");
    EXPECT_EQ(buttonIdentifier(QStringLiteral("~100 .ini")), u"~100 ");
    EXPECT_TRUE(isButtonFileName(QStringLiteral("~100.ini")));
    EXPECT_FALSE(isButtonFileName(QStringLiteral("valdora.ini")));
    EXPECT_EQ(ButtonKey::at(ButtonKey::Cond, 19), u"Cond19");
    EXPECT_EQ(ButtonKey::at(ButtonKey::Over, 3), u"Over3");
    EXPECT_EQ(ButtonKey::LimitedToDB, u"_DB");
    const std::vector<std::pair<QString, Scheme>> schemes{
        {QStringLiteral("0"), Scheme::AutoNumber}, {QStringLiteral("3"), Scheme::MultiplyDivide},
        {QStringLiteral("6"), Scheme::Age},        {QStringLiteral("7"), Scheme::Missing},
        {QStringLiteral("-1"), Scheme::Missing},   {QStringLiteral("x"), Scheme::Missing}};
    for (const auto& [text, scheme] : schemes)
        EXPECT_EQ(schemeOf(text), scheme) << text.toStdString();
    EXPECT_EQ(defaultCounterFilePath(QStringLiteral("/prog/"), QStringLiteral("In/Out")),
              u"/prog/AutoNumber_In_Out.num");
}

using ButtonFileTest = SettingsTest;

TEST_F(ButtonFileTest, ReadsAndWritesSectionSettings)
{
    const ButtonFile button = ButtonFile::inFolder(m_ini, m_dir.path() + u'/', QStringLiteral("~100.ini"));
    EXPECT_EQ(button.fileName(), u"~100.ini");
    EXPECT_EQ(button.identifier(), u"~100");
    EXPECT_FALSE(button.exists());
    EXPECT_EQ(button.scheme(), Scheme::Missing);
    EXPECT_TRUE(button.isOn(ButtonKey::at(ButtonKey::Over, 0), QStringLiteral("1")));

    EXPECT_TRUE(button.write(ButtonKey::Name, QStringLiteral("Number")));
    EXPECT_TRUE(button.write(ButtonKey::Type, QStringLiteral("0")));
    EXPECT_TRUE(button.write(ButtonKey::Format, autoNumberPattern(0, 0, 1, {})));
    EXPECT_TRUE(button.exists());
    EXPECT_EQ(button.scheme(), Scheme::AutoNumber);
    EXPECT_EQ(button.read(ButtonKey::Name), u"Number");
    EXPECT_EQ(button.read(ButtonKey::AutoSep, QStringLiteral("-")), u"-");
    EXPECT_EQ(readFile(button.path()), "[Settings]\r\nName=Number\r\nType=0\r\nFormat=\xFA\r\n");
}

TEST_F(ButtonFileTest, ListingAndNamingTogether)
{
    for (const char* file : {"~100.ini", "~101.ini", "valdora.ini"})
        ASSERT_TRUE(writeFile(path(QString::fromLatin1(file)), "[Settings]\r\n"));
    const QStringList listed = FileLister().list(path(QStringLiteral("*.*")));
    QString last;
    for (qsizetype i = 1; i < listed.size(); ++i) {
        if (isButtonFileName(listed[i]))
            last = listed[i];
    }
    EXPECT_EQ(newButtonFileName(last, listed.mid(1)), u"~102.ini");
}

} // namespace
} // namespace valdora::test
