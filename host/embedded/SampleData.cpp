#include "SampleData.h"

#include "DatabaseFactory.h"
#include "EmbeddedDatabase.h"
#include "host/DatabaseLocation.h"
#include "host/server/ServerDatabase.h"

#include <QDate>

#include <random>

namespace valdora::host {

namespace {

constexpr const char* FirstNames[] = {"Anna",  "Louis",  "Marta", "Hugo",   "Sofia", "Pavel",
                                      "Ines",  "Oskar",  "Clara", "Jonas",  "Lea",   "Mateo",
                                      "Nora",  "Emil",   "Rosa",  "Victor", "Elena", "Tomas",
                                      "Julia", "Arthur", "Maya",  "Felix",  "Alice", "Dario"};
constexpr const char* LastNames[] = {"Bauer",    "Moreau",   "Novak",  "Rossi",     "Lindqvist",
                                     "Duarte",   "Keller",   "Dubois", "Meyer",     "Horvat",
                                     "Sorensen", "Laurent",  "Weber",  "Costa",     "Fischer",
                                     "Berger",   "Kowalski", "Olsen",  "Marchetti", "Janssen"};
constexpr const char* CompanyWords[] = {"Northwind",  "Bluefield",  "Harbor",   "Silverline",
                                        "Oakridge",   "Brightway",  "Redstone", "Greenleaf",
                                        "Ironbridge", "Clearwater", "Summit",   "Meadow"};
constexpr const char* CompanyKinds[] = {"Trading", "Logistics",   "Consulting", "Foods",
                                        "Systems", "Engineering", "Textiles",   "Media"};
constexpr const char* CompanyForms[] = {"Ltd", "GmbH", "SA", "Inc", "BV", "AB"};
constexpr const char* Cities[] = {"Lyon", "Hamburg", "Porto",   "Bologna",  "Gothenburg", "Ghent",
                                  "Graz", "Krakow",  "Bristol", "Valencia", "Aarhus",     "Brno"};
constexpr const char* Titles[] = {"Buyer",      "Sales Manager", "Director",
                                  "Accountant", "Engineer",      "Assistant"};
constexpr const char* SampleUsers[] = {"Alice Martin", "Bruno Keller", "Chloe Durand"};

template <std::size_t N> QString pick(std::mt19937& random, const char* const (&list)[N])
{
    return QString::fromLatin1(list[random() % N]);
}

/// The generated values of sample contact `index` (field 1 excluded), the next draws of `random`.
QHash<FieldId, QString> sampleContact(std::mt19937& random, int index, const QStringList& managers)
{
    const QString created = QStringLiteral("2024-01-15 09:30:00");
    const QString first = pick(random, FirstNames);
    const QString last = pick(random, LastNames);
    const QString company =
        pick(random, CompanyWords) + u' ' + pick(random, CompanyKinds) + u' ' + pick(random, CompanyForms);
    QHash<FieldId, QString> values;
    values.insert(2, created);
    values.insert(3, created);
    const QDate birth = QDate(1950, 1, 1).addDays(qint64(random() % 18000));
    const unsigned cents = random() % 1000000;
    const unsigned country = 30 + random() % 20;
    const unsigned area = 100 + random() % 900;
    const unsigned line = 100000 + random() % 900000;
    values.insert(FieldNumber::RecordManager, managers.at(int(random() % managers.size())));
    values.insert(7, QStringLiteral("+%1 %2 %3").arg(country).arg(area).arg(line));
    values.insert(8, (first + u'.' + last + QStringLiteral("@example.com")).toLower());
    values.insert(9, QStringLiteral("https://www.example.com/%1").arg(index + 1));
    values.insert(11, pick(random, Cities));
    values.insert(12, QString::number(10000 + random() % 89999));
    values.insert(13, birth.toString(Qt::ISODate));
    values.insert(16, QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0')));
    values.insert(18, QString::number(random() % 50));
    values.insert(21, pick(random, Titles));
    values.insert(FieldNumber::Company, company);
    values.insert(FieldNumber::Contact, first + u' ' + last);
    return values;
}

/// The sample users (added when missing) and the ids of the first three users, the record managers.
QStringList sampleManagers(ToolUserList& users, Where where)
{
    for (const char* name : SampleUsers)
        if (users.storedName(QString::fromLatin1(name)).isEmpty())
            users.addUser(QString::fromLatin1(name), QString(), where);
    QStringList managers;
    for (qint16 i = 1; i <= users.Count() && managers.size() < 3; ++i)
        managers.append(users.UniqueID(i));
    return managers;
}

constexpr unsigned SampleSeed = 20240611u; // fixed seed: the same contacts on every machine

/// Adds the sample users and `count` sample contacts to a database of that kind, in one transaction.
template <class Kind> void addSamplesTo(const QString& location, int count, Where where)
{
    Kind database;
    database.OpenEx(location, where);
    const QStringList managers = sampleManagers(database.users(where), where);
    std::mt19937 random(SampleSeed);
    database.contacts(where).addContacts(
        count, [&](int index) { return sampleContact(random, index, managers); }, where);
}

} // namespace

void createSampleDatabase(const QString& path, int count, Where where)
{
    createEmptyDatabase(path, where);
    addSampleContacts(path, count, where);
}

void addSampleContacts(const QString& path, int count, Where where)
{
    if (count < 0)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("The number of sample contacts must not be negative (%1)").arg(count), where);
    if (isServerLocation(path))
        addSamplesTo<server::ServerDatabase>(path, count, where);
    else
        addSamplesTo<embedded::EmbeddedDatabase>(path, count, where);
}

} // namespace valdora::host
