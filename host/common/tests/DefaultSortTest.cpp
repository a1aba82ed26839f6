#include "host/common/DefaultSort.h"

#include "core/testsupport/QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace valdora::host {
namespace {

struct Contact {
    QString company;
    QString contact;
    QString uid;
};

/// The order as QString's own case-insensitive comparison gives it: what the sort must keep.
QStringList comparedOrder(std::vector<Contact> contacts)
{
    std::sort(contacts.begin(), contacts.end(), [](const Contact& left, const Contact& right) {
        if (const int c = left.company.compare(right.company, Qt::CaseInsensitive))
            return c < 0;
        if (const int c = left.contact.compare(right.contact, Qt::CaseInsensitive))
            return c < 0;
        return left.uid < right.uid;
    });
    QStringList ids;
    for (const Contact& contact : contacts)
        ids << contact.uid;
    return ids;
}

/// The ids in the sort's order; each record must stay beside its id.
QStringList sortedOrder(const std::vector<Contact>& contacts)
{
    DefaultSort sort;
    sort.reserve(qsizetype(contacts.size()));
    for (std::size_t i = 0; i < contacts.size(); ++i)
        sort.add(contacts[i].uid, qint64(i + 1), contacts[i].company, contacts[i].contact);
    QStringList ids;
    QList<qint64> records;
    sort.takeSorted(ids, records);
    EXPECT_EQ(ids.size(), records.size());
    for (qsizetype i = 0; i < ids.size() && i < records.size(); ++i)
        EXPECT_EQ(contacts[std::size_t(records[i] - 1)].uid, ids[i])
            << "record beside " << ids[i].toStdString();
    return ids;
}

/// The ids in the order of their keys, compared byte by byte as SQLite compares BLOBs.
QStringList keyedOrder(const std::vector<Contact>& contacts)
{
    std::vector<std::pair<QByteArray, QString>> keyed;
    for (const Contact& contact : contacts)
        keyed.emplace_back(defaultSortKey(contact.company.toUtf8(), contact.contact.toUtf8(), contact.uid),
                           contact.uid);
    std::sort(keyed.begin(), keyed.end(), [](const auto& left, const auto& right) {
        return std::lexicographical_compare(left.first.begin(), left.first.end(), right.first.begin(),
                                            right.first.end(),
                                            [](char a, char b) { return uchar(a) < uchar(b); });
    });
    QStringList ids;
    for (const auto& [key, uid] : keyed)
        ids << uid;
    return ids;
}

/// The sort's order of the names as a database stores them (UTF-8, read back byte for byte).
QStringList storedOrder(const std::vector<Contact>& contacts)
{
    DefaultSort sort;
    std::vector<std::pair<QByteArray, QByteArray>> stored;
    for (const Contact& contact : contacts)
        stored.emplace_back(contact.company.toUtf8(), contact.contact.toUtf8());
    for (std::size_t i = 0; i < contacts.size(); ++i)
        sort.add(contacts[i].uid, qint64(i + 1), QByteArrayView(stored[i].first),
                 QByteArrayView(stored[i].second));
    QStringList ids;
    QList<qint64> records;
    sort.takeSorted(ids, records);
    return ids;
}

struct SortCase {
    const char* name;
    std::vector<Contact> contacts;
    QStringList expected; ///< the ids in the order a user sees them
};

class DefaultSortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(DefaultSortTest, OrdersAsTheCaseInsensitiveComparison)
{
    const SortCase& c = GetParam();
    EXPECT_EQ(sortedOrder(c.contacts), c.expected);
    EXPECT_EQ(comparedOrder(c.contacts), c.expected);
    EXPECT_EQ(keyedOrder(c.contacts), storedOrder(c.contacts));
}

QString text(const char16_t* units)
{
    return QString::fromUtf16(units);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DefaultSortTest,
    ::testing::Values(
        SortCase{"CompanyThenContact",
                 {{"Beta", "Anna", "3"}, {"Alpha", "Zoe", "2"}, {"Alpha", "Bob", "1"}},
                 {"1", "2", "3"}},
        SortCase{
            "CaseIgnored", {{"beta", "x", "1"}, {"ALPHA", "y", "2"}, {"alpha", "X", "3"}}, {"3", "2", "1"}},
        SortCase{"TiesByUniqueId",
                 {{"Acme", "anna", "B"}, {"ACME", "Anna", "A"}, {"acme", "ANNA", "C"}},
                 {"A", "B", "C"}},
        SortCase{"EmptyNamesFirst",
                 {{"Acme", "", "1"}, {"", "Zoe", "2"}, {"", "", "3"}, {"Acme", "Anna", "4"}},
                 {"3", "2", "1", "4"}},
        SortCase{
            "ShorterPrefixFirst", {{"Abc", "a", "1"}, {"AB", "b", "2"}, {"ab ", "c", "3"}}, {"2", "3", "1"}},
        SortCase{"AccentsAfterLetters",
                 {{"École", "", "1"}, {"ezra", "", "2"}, {"ECOLE", "", "3"}},
                 {"3", "2", "1"}},
        SortCase{"SharpSIsOneLetter",
                 {{"Straße", "", "1"}, {"STRASSE", "", "2"}, {"strasse", "", "3"}},
                 {"2", "3", "1"}},
        SortCase{
            "FinalSigmaFolds", {{"ΟΔΟΣ", "", "2"}, {"οδος", "", "1"}, {"Οδα", "", "3"}}, {"3", "1", "2"}},
        SortCase{"KelvinSignIsK",
                 {{text(u"\u212Aey"), "", "2"}, {"key", "", "1"}, {"kex", "", "3"}},
                 {"3", "1", "2"}},
        SortCase{"SupplementaryLettersFold",
                 {{text(u"\U00010400"), "", "2"},
                  {text(u"\U00010428"), "", "1"},
                  {text(u"\uFF21"), "", "3"},
                  {"z", "", "4"}},
                 {"4", "1", "2", "3"}},
        SortCase{"LoneSurrogatesStayAsTheyAre",
                 {{text(u"\xDC00"), "", "1"}, {text(u"\xD800"), "", "2"}, {text(u"\xD800x"), "", "3"}},
                 {"2", "3", "1"}},
        SortCase{"NullCharacterInAName",
                 {{QString(QChar(0)) + "b", "", "1"}, {"a", "", "2"}, {"", "", "3"}},
                 {"3", "1", "2"}}),
    [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.name; });

// Many names made of the letters where folding is tricky, with many ties: the same order as the
// comparison, contact by contact.
TEST(DefaultSortTest, ManyNamesOrderAsTheComparison)
{
    const QString letters = text(u"aAbBzZ ßéÉıIİiΣσς\u212A\uFF21\U00010400\U00010428") + QChar(0xD800);
    std::mt19937 random(7);
    std::vector<Contact> contacts;
    for (int i = 0; i < 3000; ++i) {
        QString names[2];
        for (QString& name : names)
            for (unsigned n = random() % 4; n > 0; --n)
                name += letters.at(qsizetype(random() % letters.size()));
        contacts.push_back({names[0], names[1], QString::number(i)});
    }
    EXPECT_EQ(sortedOrder(contacts), comparedOrder(contacts));
    EXPECT_EQ(keyedOrder(contacts), storedOrder(contacts));
}

} // namespace
} // namespace valdora::host
