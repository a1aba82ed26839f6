#include "TestDatabase.h"

#include "core/testsupport/TestEnvironment.h"
#include "host/embedded/DatabaseFactory.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <stdexcept>

namespace valdora::engine::test {

namespace {

constexpr int BlankContacts = 250;

QString hostProgram()
{
    return valdora::test::binaryFolder() + QStringLiteral("/ContactHost.exe");
}

QString runHost(const QStringList& arguments)
{
    QProcess process;
    process.start(hostProgram(), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(("ContactHost.exe " + arguments.join(u' ') + ": " +
                                  QString::fromLocal8Bit(process.readAllStandardError()) +
                                  process.errorString())
                                     .toStdString());
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

struct TestField {
    const char* name;
    int type;
    int decimals;
};

constexpr TestField TestFields[] = {
    {"Country", 1, 0}, {"Amount", 5, 0}, {"Price", 6, 2}, {"Birth Date", 8, 0}, {"Last Meeting", 10, 0},
};

/// Marks the contacts of the template that no test has filled in yet.
const QString SlotField = QStringLiteral("Test Slot");
const QString FreeSlot = QStringLiteral("free");

/// The database every test starts from, made once per test program with the host's own commands.
class Template {
public:
    Template()
    {
        m_path = m_dir.path() + QStringLiteral("/Template.dbf");
        runHost({QStringLiteral("create"), m_path});
        QStringList missing;
        {
            std::unique_ptr<host::Database> database = host::createDatabase();
            database->OpenEx(m_path);
            const host::FieldList& fields = database->Contact().Fields();
            for (const TestField& field : TestFields) {
                if (!fields.Exists(QLatin1String(field.name)))
                    missing += QLatin1String(field.name);
            }
            database->Close();
        }
        for (const TestField& field : TestFields) {
            if (!missing.contains(QLatin1String(field.name)))
                continue;
            QStringList arguments = {QStringLiteral("add-field"), m_path, QLatin1String(field.name),
                                     QString::number(field.type)};
            if (field.decimals > 0)
                arguments += {QStringLiteral("--decimals"), QString::number(field.decimals)};
            runHost(arguments);
        }
        runHost({QStringLiteral("add-field"), m_path, SlotField, QStringLiteral("1")});
        runHost({QStringLiteral("add-user"), m_path, QStringLiteral("Alice Martin")});
        runHost({QStringLiteral("add-user"), m_path, QStringLiteral("Bruno Keller")});
        // Free contacts, filled in by the tests through the host's own write path.
        QByteArray csv = SlotField.toUtf8() + "\r\n";
        for (int i = 0; i < BlankContacts; ++i)
            csv += FreeSlot.toUtf8() + "\r\n";
        const QString csvPath = m_dir.path() + QStringLiteral("/free.csv");
        valdora::test::writeFile(csvPath, csv);
        runHost({QStringLiteral("import"), m_path, csvPath});
    }

    const QString& path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

const Template& templateDatabase()
{
    static const Template instance;
    return instance;
}

/// The next contact of a database that no test has filled in.
host::ContactId nextFreeContact(host::ContactTable& contacts)
{
    const host::FieldId slot = contacts.Fields().FieldID(SlotField);
    contacts.Query(QString());
    for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext()) {
        if (contacts.Data(slot) == FreeSlot)
            return contacts.Data(host::FieldNumber::UniqueId);
    }
    throw std::runtime_error("the test database has no free contact left");
}

} // namespace

std::unique_ptr<host::Database> createTestDatabase(const QString& path)
{
    QFile::remove(path);
    if (!QFile::copy(templateDatabase().path(), path))
        throw std::runtime_error(("cannot copy the test database to " + path).toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    std::unique_ptr<host::Database> database = host::createDatabase();
    database->OpenEx(path);
    return database;
}

int maxFieldId(host::Database& database)
{
    const host::FieldList& fields = database.Contact().Fields();
    int last = 0;
    int found = 0;
    for (int number = 1; found < fields.Count() && number < 32767; ++number) {
        if (fields.Id(static_cast<qint16>(number)) != -1) {
            ++found;
            last = number;
        }
    }
    return last;
}

host::ContactId addTestContact(host::Database& database, const QMap<QString, QString>& values)
{
    host::ContactTable& contacts = database.Contact();
    const host::ContactId id = nextFreeContact(contacts);
    QList<host::FieldId> ids = {contacts.Fields().FieldID(SlotField)};
    QStringList texts = {QStringLiteral("used")};
    for (auto it = values.begin(); it != values.end(); ++it) {
        ids += contacts.Fields().FieldID(it.key());
        texts += it.value();
    }
    contacts.Goto(id);
    contacts.Edit();
    contacts.SetDataEx(ids, texts);
    if (contacts.Update() != id)
        throw std::runtime_error(("cannot write test contact " + id).toStdString());
    return id;
}

QString testUserId(host::Database& database, const QString& name)
{
    host::UserList& users = database.Users();
    for (qint16 i = 1; i <= users.Count(); ++i) {
        if (users.Name(i) == name)
            return users.UniqueID(i);
    }
    throw std::runtime_error(("no test user " + name).toStdString());
}

} // namespace valdora::engine::test
