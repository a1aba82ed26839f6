#include "settings/MessageTable.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace valdora {
namespace {

constexpr int FrenchBase = 1000;
constexpr int GermanBase = 2000;

// Accelerator marks: an "&" that is not part of a literal "&&".
int accelerators(const QString& text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (i + 1 < text.size() && text[i + 1] == u'&')
            ++i;
        else
            ++count;
    }
    return count;
}

qsizetype leadingBlanks(const QString& text)
{
    qsizetype n = 0;
    while (n < text.size() && text[n] == u' ')
        ++n;
    return n;
}

qsizetype trailingBlanks(const QString& text)
{
    qsizetype n = 0;
    while (n < text.size() && text[text.size() - 1 - n] == u' ')
        ++n;
    return n;
}

// How a text ends before its trailing blanks: " :", ":" or neither.
QString finalColon(const QString& text)
{
    const QString body = text.left(text.size() - trailingBlanks(text));
    if (body.endsWith(u" :"))
        return QStringLiteral(" :");
    if (body.endsWith(u':'))
        return QStringLiteral(":");
    return {};
}

QList<int> englishNumbers(const MessageTable& table)
{
    QList<int> result;
    for (int number : table.numbers())
        if (number < 1000)
            result.append(number);
    return result;
}

// Every English row has its French and German row, of the same kind.
void expectLanguagesAgree(const MessageTable& table)
{
    for (int number : englishNumbers(table)) {
        const QString english = *table.row(number);
        for (int block : {FrenchBase, GermanBase}) {
            SCOPED_TRACE(number + block);
            const std::optional<QString> translated = table.row(number + block);
            ASSERT_TRUE(translated.has_value());
            EXPECT_EQ(accelerators(*translated), accelerators(english));
            EXPECT_EQ(leadingBlanks(*translated), leadingBlanks(english));
            EXPECT_EQ(trailingBlanks(*translated), trailingBlanks(english));
            EXPECT_EQ(finalColon(*translated), finalColon(english));
        }
    }
}

TEST(MessageTable, RowKindIsMeasuredAsShown)
{
    EXPECT_EQ(accelerators(QStringLiteral("&Add && &Remove")), 2);
    EXPECT_EQ(leadingBlanks(QStringLiteral("  x ")), 2);
    EXPECT_EQ(trailingBlanks(QStringLiteral("  x ")), 1);
    EXPECT_EQ(finalColon(QStringLiteral("Field : ")), QStringLiteral(" :"));
    EXPECT_EQ(finalColon(QStringLiteral("to: ")), QStringLiteral(":"));
    EXPECT_EQ(finalColon(QStringLiteral("Entry")), QString());
}

TEST(MessageTable, FrenchAndGermanRowsAgreeWithEachEnglishRow)
{
    expectLanguagesAgree(MessageTable::valdora());
}

TEST(MessageTable, KeelbrooksRowsAgreeAcrossLanguagesToo)
{
    expectLanguagesAgree(MessageTable::keelbrook());
}

TEST(MessageTable, EveryRowLiesInItsBlockAndHasText)
{
    const MessageTable& table = MessageTable::valdora();
    for (int number : table.numbers()) {
        SCOPED_TRACE(number);
        const int offset = number % 1000;
        EXPECT_LT(number, 3000);
        EXPECT_GE(offset, 300);
        EXPECT_LE(offset, 587);
        const QString text = *table.row(number);
        EXPECT_FALSE(text.trimmed().isEmpty());
        EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
        EXPECT_FALSE(text.contains(u'\n') || text.contains(u'\r'));
    }
}

TEST(MessageTable, FrenchAndGermanBlocksHaveNoRowWithoutAnEnglishOne)
{
    const MessageTable& table = MessageTable::valdora();
    for (int number : table.numbers()) {
        if (number < 1000 || number == 2586)
            continue;
        SCOPED_TRACE(number);
        EXPECT_TRUE(table.row(number % 1000).has_value());
    }
}

TEST(MessageTable, EnglishBlockHoldsTheRowsTheProgramsUse)
{
    EXPECT_EQ(englishNumbers(MessageTable::valdora()).size(), 256);
    EXPECT_EQ(englishNumbers(MessageTable::keelbrook()).size(), 254);
}

struct ExactRow {
    int number;
    const char* text;
};

class EnglishRow : public testing::TestWithParam<ExactRow> {};

TEST_P(EnglishRow, IsExactlyAsShown)
{
    EXPECT_EQ(MessageTable::valdora().row(GetParam().number), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, EnglishRow,
    testing::Values(
        ExactRow{300, "Please contact support@valdora.example with this error message."},
        ExactRow{301, "&OK"}, ExactRow{302, "&Cancel"},
        ExactRow{306, "E-mail us with any problem or suggestion :"},
        ExactRow{307, "An instance of this program is already running !"},
        ExactRow{354, "Please save the current contact before using "},
        ExactRow{356, ") is locked (probably by another user) and cannot be edited."},
        ExactRow{376, "You have checked item #"}, ExactRow{435, "Add/Subtract"},
        ExactRow{450, "You may enter leading zeros. Ex: 00001"},
        ExactRow{464, "( Leave blank if you want no data entered )"},
        ExactRow{476, "Please e-mail the error_report.txt file in the app directory to: "},
        ExactRow{484, "years"}, ExactRow{485, "months"}, ExactRow{491, "Automatic Triggering :"},
        ExactRow{
            499,
            "The first way is to simply click the button in the Valdora toolbar. Once you click the 'Add "
            "button' button in the previous screen, you are all set."},
        ExactRow{503, "Launch \"Keelbrook\""}, ExactRow{516, " does not exist."}, ExactRow{518, " field"},
        ExactRow{522, " button."},
        ExactRow{555,
                 " Valdora button but the database appears locked (you may be in the Define field window)."},
        ExactRow{581, "SORT ORDER WHEN AUTONUMBERING"}, ExactRow{585, "Change Default Location..."},
        ExactRow{587, "Settings File Location"}));

// Every row that names the host, word for word: a row that sent the user to another product would be
// wrong for everyone who runs the suite on ContactHost.
constexpr ExactRow RowsNamingTheHost[] = {
    {309, "Please run ContactHost before running"},
    {310, "Problem registering ContactHost event."},
    {311,
     "You should close and re-start ContactHost. If the problem persists, please run hostreg.exe in your "
     "ContactHost folder and try again."},
    {312, "&Valdora Software - Free Add-Ons for ContactHost"},
    {313, "Integrate with ContactHost"},
    {320, "You need to re-start ContactHost for the changes to take effect!"},
    {327, "&Integrate with ContactHost"},
    {396, "Minimize to system tray icon when Close (X) button clicked (Exit automatically when ContactHost "
          "closes)"},
    {426, "Minimize to system tray icon when Close (X) button clicked (Exit only with ContactHost)"},
    {474, "ContactHost error. Contact is not reachable. Cloase ContactHost and try again!"},
    {487, "If ContactHost does not allow you to, go to the next contact and come back."},
    {501, "The second way is to instruct ContactHost to trigger the button when you enter or exit a field of "
          "your choice. For instance: if you define a button to perform the following calculation: FieldB = "
          "FieldA x 5%, you might want to have ContactHost automatically trigger it when you exit FieldA so "
          "that FieldB is automatically updated."},
    {502, "To set this up, you will need to exit ContactHost and run the \"Keelbrook\" utility which is "
          "included with Valdora or click the button below."},
    {504, "Clicking the above button will save your current settings, close ContactHost and launch the "
          "Keelbrook."},
    {523, "Choose a ContactHost database:"},
    {524, "Logon ContactHost database :"},
    {531, "Active ContactHost database :"},
    {535, "ContactHost Database :"},
    {549, "Please close ContactHost before launching Keelbrook."},
    {554, "ContactHost has triggered the "},
    {557, "Unable to register ContactHost events. Run hostreg.exe and try again!"},
    {558, "You probably exited ContactHost while your mouse was in a field with an exit Trigger to Valdora. "
          "Valdora tried to reopen the database to update the target field but was unsuccessfull. Click OK "
          "to close Valdora."},
    {561, "If you want to setup your trigger manually, copy the syntax below and paste it in the appropriate "
          "field under the Triggers tab of ContactHost Define Fields window :"},
    {563,
     "You will need to completely close Valdora to be able to access the Define field area. If you leave "
     "Valdora open, even in the system tray, you will get a \"Database locked\" message from "
     "ContactHost"},
    {582, "Current lookup will use the current Sort. All contacts will use ContactHost default sort (Company "
          "then Contact)."},
};

INSTANTIATE_TEST_SUITE_P(NamingTheHost, EnglishRow, testing::ValuesIn(RowsNamingTheHost));

class TranslatedHostRow : public testing::TestWithParam<ExactRow> {};

// The French and German rows name the host and its registration tool where the English row does.
TEST_P(TranslatedHostRow, NamesTheHostAsTheEnglishRowDoes)
{
    const QString english = QString::fromUtf8(GetParam().text);
    for (const MessageTable* table : {&MessageTable::valdora(), &MessageTable::keelbrook()})
        for (int block : {FrenchBase, GermanBase}) {
            SCOPED_TRACE(GetParam().number + block);
            const std::optional<QString> translated = table->row(GetParam().number + block);
            ASSERT_TRUE(translated.has_value());
            EXPECT_EQ(translated->count(u"ContactHost"), english.count(u"ContactHost"));
            EXPECT_EQ(translated->contains(u"hostreg.exe"), english.contains(u"hostreg.exe"));
        }
}

INSTANTIATE_TEST_SUITE_P(NamingTheHost, TranslatedHostRow, testing::ValuesIn(RowsNamingTheHost));

TEST(MessageTable, SupportAddressIsTheOneRow300Names)
{
    EXPECT_TRUE(MessageTable::valdora().row(300)->contains(MessageTable::supportAddress()));
    for (int block : {FrenchBase, GermanBase})
        EXPECT_TRUE(MessageTable::valdora().row(300 + block)->contains(MessageTable::supportAddress()));
    EXPECT_TRUE(MessageTable::makerWebPage().startsWith(u"https://"));
}

TEST(MessageTable, Row586ExistsOnlyInGerman)
{
    for (const MessageTable* table : {&MessageTable::valdora(), &MessageTable::keelbrook()}) {
        EXPECT_FALSE(table->row(586).has_value());
        EXPECT_FALSE(table->row(1586).has_value());
        EXPECT_TRUE(table->row(2586).has_value());
        EXPECT_EQ(table->text(300, 286), QString());
        EXPECT_EQ(table->text(1300, 286), QString());
        EXPECT_EQ(table->text(2300, 286), *table->row(2586));
    }
}

TEST(MessageTable, Rows389To392AreDashesInEveryLanguage)
{
    for (int number = 389; number <= 392; ++number)
        for (int block : {0, FrenchBase, GermanBase})
            EXPECT_EQ(MessageTable::valdora().row(number + block), QStringLiteral("-")) << number + block;
}

TEST(MessageTable, FetchByOffsetTakesTheLanguageBlock)
{
    const MessageTable& table = MessageTable::valdora();
    EXPECT_EQ(table.text(1300, 9), *table.row(1309));
    EXPECT_EQ(table.text(300, 7), QStringLiteral("An instance of this program is already running !"));
    EXPECT_EQ(table.text(2300, 7), *table.row(2307));
    EXPECT_NE(table.text(1300, 7), table.text(300, 7));
    EXPECT_EQ(table.text(300, 287), QStringLiteral("Settings File Location"));
}

TEST(MessageTable, FetchOutsideABlockFindsNothing)
{
    const MessageTable& table = MessageTable::valdora();
    EXPECT_EQ(table.text(300, 5), QString()); // row 305 is not used
    EXPECT_EQ(table.text(300, 288), QString());
    EXPECT_EQ(table.text(300, 1000), QString()); // would be a French row
    EXPECT_EQ(table.text(1300, -1), QString());
    EXPECT_EQ(table.text(7300, 1), QString());
    EXPECT_FALSE(table.row(0).has_value());
}

TEST(MessageTable, MessagesFetchByNameInTheirLanguage)
{
    Messages messages;
    EXPECT_EQ(messages.languageBase(), 300);
    EXPECT_EQ(messages.get(MessageId::Ok), QStringLiteral("&OK"));
    messages.setLanguageBase(2300);
    EXPECT_EQ(messages.get(MessageId::AlreadyRunning), *MessageTable::valdora().row(2307));
    EXPECT_EQ(messages.atOffset(9), *MessageTable::valdora().row(2309));
}

TEST(MessageTable, KeelbrookWordsThreeRowsItsOwnWay)
{
    const MessageTable& keelbrook = MessageTable::keelbrook();
    EXPECT_EQ(keelbrook.row(435), QStringLiteral("Add/Substract"));
    EXPECT_EQ(keelbrook.row(450), QStringLiteral("You may enter trailing zeros. Ex: 00001"));
    EXPECT_EQ(keelbrook.row(491), QStringLiteral("Automatic Triggering"));
    for (int block : {FrenchBase, GermanBase}) {
        SCOPED_TRACE(block);
        EXPECT_FALSE(keelbrook.row(491 + block)->endsWith(u':'));
        EXPECT_NE(keelbrook.row(450 + block), MessageTable::valdora().row(450 + block));
    }
}

TEST(MessageTable, KeelbrookLacksTheSettingsFileRows)
{
    for (int block : {0, FrenchBase, GermanBase}) {
        EXPECT_FALSE(MessageTable::keelbrook().row(585 + block).has_value());
        EXPECT_FALSE(MessageTable::keelbrook().row(587 + block).has_value());
        EXPECT_TRUE(MessageTable::valdora().row(585 + block).has_value());
        EXPECT_TRUE(MessageTable::valdora().row(587 + block).has_value());
    }
}

TEST(MessageTable, KeelbrookSharesEveryOtherRow)
{
    const MessageTable& keelbrook = MessageTable::keelbrook();
    const MessageTable& valdora = MessageTable::valdora();
    for (int number : keelbrook.numbers()) {
        const int offset = number % 1000;
        if (offset == 435 || offset == 450 || offset == 491)
            continue;
        EXPECT_EQ(keelbrook.row(number), valdora.row(number)) << number;
    }
}

} // namespace
} // namespace valdora
