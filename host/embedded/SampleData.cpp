#include "SampleData.h"

#include "EmbeddedDatabase.h"
#include "Schema.h"

#include <QDate>

#include <random>

namespace valdora::host {

namespace {

using embedded::Connection;
using embedded::Statement;

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

void write(Connection& connection, qint64 record, FieldId field, const QString& value, Where where)
{
    Statement insert =
        connection.prepare("INSERT OR REPLACE INTO vals(record, field, value) VALUES(?, ?, ?)", where);
    insert.bind(1, record).bind(2, field).bind(3, value);
    insert.step(where);
}

} // namespace

void createSampleDatabase(const QString& path, int count, Where where)
{
    embedded::EmbeddedDatabase::create(path, where);
    addSampleContacts(path, count, where);
}

void addSampleContacts(const QString& path, int count, Where where)
{
    if (count < 0)
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("The number of sample contacts must not be negative (%1)").arg(count), where);
    embedded::EmbeddedDatabase database;
    database.OpenEx(path, where);
    embedded::EmbeddedUserList& users = database.users(where);
    for (const char* name : SampleUsers)
        if (users.storedName(QString::fromLatin1(name)).isEmpty())
            users.addUser(QString::fromLatin1(name), QString(), where);
    QStringList managers;
    for (qint16 i = 1; i <= users.Count() && managers.size() < 3; ++i)
        managers.append(users.UniqueID(i));

    Connection& connection = database.connection(where);
    embedded::Transaction transaction(connection, where);
    std::mt19937 random(20240611u); // fixed seed: the same contacts on every machine
    const QString created = QStringLiteral("2024-01-15 09:30:00");
    for (int i = 0; i < count; ++i) {
        const QString uid = embedded::nextUniqueId(connection, where);
        qint64 record = 0;
        {
            Statement insert =
                connection.prepare("INSERT INTO contacts(uid) VALUES(?) RETURNING record", where);
            insert.bind(1, uid);
            if (insert.step(where))
                record = insert.integer(0);
            while (insert.step(where)) {
            }
        }
        const QString first = pick(random, FirstNames);
        const QString last = pick(random, LastNames);
        const QString company = pick(random, CompanyWords) + u' ' + pick(random, CompanyKinds) + u' ' +
                                pick(random, CompanyForms);
        const QDate birth = QDate(1950, 1, 1).addDays(qint64(random() % 18000));
        const unsigned cents = random() % 1000000;
        const unsigned country = 30 + random() % 20;
        const unsigned area = 100 + random() % 900;
        const unsigned line = 100000 + random() % 900000;
        write(connection, record, 2, created, where);
        write(connection, record, 3, created, where);
        write(connection, record, FieldNumber::RecordManager, managers.at(int(random() % managers.size())),
              where);
        write(connection, record, 7, QStringLiteral("+%1 %2 %3").arg(country).arg(area).arg(line), where);
        write(connection, record, 8, (first + u'.' + last + QStringLiteral("@example.com")).toLower(), where);
        write(connection, record, 9, QStringLiteral("https://www.example.com/%1").arg(i + 1), where);
        write(connection, record, 11, pick(random, Cities), where);
        write(connection, record, 12, QString::number(10000 + random() % 89999), where);
        write(connection, record, 13, birth.toString(Qt::ISODate), where);
        write(connection, record, 16,
              QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0')), where);
        write(connection, record, 18, QString::number(random() % 50), where);
        write(connection, record, 21, pick(random, Titles), where);
        write(connection, record, FieldNumber::Company, company, where);
        write(connection, record, FieldNumber::Contact, first + u' ' + last, where);
    }
    transaction.commit(where);
}

} // namespace valdora::host
