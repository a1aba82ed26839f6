#include "DatabaseCommands.h"

#include "CsvFile.h"
#include "UsageError.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

namespace valdora::host::app {

namespace {

/// The arguments of a command: positional ones in order, and options ("--name value").
class Arguments {
public:
    Arguments(const QStringList& arguments, const QStringList& options)
    {
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QString& argument = arguments.at(i);
            if (argument.startsWith(QLatin1String("--"))) {
                if (!options.contains(argument))
                    throw UsageError(QStringLiteral("unknown option %1").arg(argument));
                if (i + 1 >= arguments.size())
                    throw UsageError(QStringLiteral("%1 needs a value").arg(argument));
                m_options.insert(argument, arguments.at(++i));
            } else {
                m_positional.append(argument);
            }
        }
    }
    void expect(qsizetype least, qsizetype most) const
    {
        if (m_positional.size() < least || m_positional.size() > most)
            throw UsageError(m_positional.size() < least ? QStringLiteral("missing arguments")
                                                         : QStringLiteral("too many arguments"));
    }
    QString at(qsizetype index) const { return m_positional.value(index); }
    qsizetype count() const { return m_positional.size(); }
    bool has(const QString& option) const { return m_options.contains(option); }
    QString option(const QString& name) const { return m_options.value(name); }
    int number(const QString& name, int fallback, int least, int most) const
    {
        if (!has(name))
            return fallback;
        bool ok = false;
        const int value = option(name).toInt(&ok);
        if (!ok || value < least || value > most)
            throw UsageError(QStringLiteral("%1 needs a whole number from %2 to %3, not \"%4\"")
                                 .arg(name)
                                 .arg(least)
                                 .arg(most)
                                 .arg(option(name)));
        return value;
    }

private:
    QStringList m_positional;
    QHash<QString, QString> m_options;
};

std::unique_ptr<ToolDatabase> open(const QString& location)
{
    if (location.isEmpty())
        throw UsageError(QStringLiteral("the database path is empty"));
    return openToolDatabase(location);
}

int create(CommandContext& context)
{
    const Arguments arguments(context.arguments, {QStringLiteral("--sample")});
    arguments.expect(1, 1);
    const int sample = arguments.number(QStringLiteral("--sample"), 0, 0, 10000000);
    if (arguments.at(0).isEmpty())
        throw UsageError(QStringLiteral("the database path is empty"));
    if (arguments.has(QStringLiteral("--sample")))
        createSampleDatabase(arguments.at(0), sample);
    else
        createEmptyDatabase(arguments.at(0));
    return 0;
}

int fields(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(1, 1);
    const auto database = open(arguments.at(0));
    ToolFieldList& list = database->fields();
    for (const FieldId id : list.ids())
        context.out << id << '\t' << list.Label(id) << '\t' << list.Type(id) << '\t' << list.DecimalPlaces(id)
                    << '\n';
    return 0;
}

int addField(CommandContext& context)
{
    const Arguments arguments(context.arguments, {QStringLiteral("--decimals")});
    arguments.expect(3, 3);
    bool ok = false;
    const int type = arguments.at(2).toInt(&ok);
    if (!ok || type < 1 || type > 32767)
        throw UsageError(QStringLiteral("TYPE must be a field type code (a whole number), not \"%1\"")
                             .arg(arguments.at(2)));
    const int decimals = arguments.number(QStringLiteral("--decimals"), 0, 0, 15);
    const auto database = open(arguments.at(0));
    context.out << database->fields().addField(arguments.at(1), qint16(type), qint16(decimals)) << '\n';
    return 0;
}

int contacts(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(1, 1);
    const auto database = open(arguments.at(0));
    ToolContactTable& table = database->contacts();
    table.Query(QString());
    for (const QString& id : table.selection())
        context.out << id << '\n';
    return 0;
}

void gotoExisting(ToolContactTable& table, const QString& id, const QString& path)
{
    if (!table.exists(id))
        throw HostFailure(HostError::NoDatabaseOpen,
                          QStringLiteral("The contact database %1 has no contact \"%2\"").arg(path, id));
    table.Goto(id);
}

int get(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(3, 3);
    const auto database = open(arguments.at(0));
    const FieldId field = database->fields().resolve(arguments.at(2));
    ToolContactTable& table = database->contacts();
    gotoExisting(table, arguments.at(1), database->GetDatabasePath());
    context.out << table.Data(field) << '\n';
    return 0;
}

int set(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(4, 4);
    const auto database = open(arguments.at(0));
    const FieldId field = database->fields().resolve(arguments.at(2));
    ToolContactTable& table = database->contacts();
    gotoExisting(table, arguments.at(1), database->GetDatabasePath());
    table.Edit();
    if (table.LockLevel() != 1)
        throw HostFailure(
            HostError::RecordLocked,
            QStringLiteral("Contact %1 is being edited by another program; nothing was changed (try "
                           "again when it is done)")
                .arg(arguments.at(1)));
    table.SetDataEx({field}, {arguments.at(3)});
    if (table.Update() != arguments.at(1))
        throw HostFailure(
            HostError::DatabaseFailure,
            QStringLiteral("Contact %1 could not be written; nothing was changed").arg(arguments.at(1)));
    return 0;
}

int importCsv(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(2, 2);
    QFile file(arguments.at(1));
    if (!file.open(QIODevice::ReadOnly))
        throw HostFailure(
            int(ErrorNumber::FileNotFound),
            QStringLiteral("The CSV file %1 cannot be read: %2").arg(arguments.at(1), file.errorString()));
    const QList<QStringList> records = CsvFile::parse(file.readAll(), arguments.at(1));
    if (records.isEmpty())
        throw HostFailure(
            int(ErrorNumber::InvalidProcedureCall),
            QStringLiteral("%1 is empty: its first row must name the fields").arg(arguments.at(1)));
    const auto database = open(arguments.at(0));
    QList<FieldId> columns;
    for (const QString& name : records.first()) {
        const FieldId id = database->fields().resolve(name);
        if (columns.contains(id))
            throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                              QStringLiteral("%1 names the field \"%2\" twice").arg(arguments.at(1), name));
        columns.append(id);
    }
    const QList<QStringList> rows = records.mid(1);
    for (qsizetype r = 0; r < rows.size(); ++r)
        if (rows.at(r).size() != columns.size())
            throw HostFailure(
                int(ErrorNumber::InvalidProcedureCall),
                QStringLiteral("%1: record %2 has %3 fields, the first row names %4; nothing was imported")
                    .arg(arguments.at(1))
                    .arg(r + 2)
                    .arg(rows.at(r).size())
                    .arg(columns.size()));
    context.out << database->contacts().importRecords(columns, rows) << '\n';
    return 0;
}

int exportCsv(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(1, 2);
    const auto database = open(arguments.at(0));
    ToolFieldList& list = database->fields();
    const QList<FieldId> ids = list.ids();
    QStringList names;
    for (const FieldId id : ids)
        names.append(list.Label(id));
    QByteArray content = CsvFile::line(names);
    ToolContactTable& table = database->contacts();
    table.Query(QString());
    for (table.MoveFirst(); !table.isEOF(); table.MoveNext()) {
        QStringList values;
        for (const FieldId id : ids)
            values.append(table.Data(id));
        content += CsvFile::line(values);
    }
    if (arguments.count() == 1) {
        context.out.flush();
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(content) != content.size())
            throw HostFailure(int(ErrorNumber::PathFileAccessError),
                              QStringLiteral("The CSV text cannot be written"));
        return 0;
    }
    QSaveFile out(arguments.at(1));
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        throw HostFailure(
            int(ErrorNumber::PathFileAccessError),
            QStringLiteral("The CSV file %1 cannot be written: %2").arg(arguments.at(1), out.errorString()));
    return 0;
}

int addUser(CommandContext& context)
{
    const Arguments arguments(context.arguments, {QStringLiteral("--password")});
    arguments.expect(2, 2);
    const auto database = open(arguments.at(0));
    context.out << database->users().addUser(arguments.at(1), arguments.option(QStringLiteral("--password")))
                << '\n';
    return 0;
}

int trigger(CommandContext& context)
{
    const Arguments arguments(context.arguments, {});
    arguments.expect(3, 4);
    const QString kind = arguments.at(2);
    if (kind != QLatin1String("entry") && kind != QLatin1String("exit"))
        throw UsageError(QStringLiteral("the trigger is \"entry\" or \"exit\", not \"%1\"").arg(kind));
    const auto database = open(arguments.at(0));
    ToolFieldList& list = database->fields();
    const FieldId field = list.resolve(arguments.at(1));
    const bool entry = kind == QLatin1String("entry");
    if (arguments.count() == 3) {
        context.out << (entry ? list.EntryTrigger(field) : list.ExitTrigger(field)) << '\n';
    } else if (entry) {
        list.EntryTrigger(field, arguments.at(3));
    } else {
        list.ExitTrigger(field, arguments.at(3));
    }
    return 0;
}

int lock(CommandContext& context)
{
    const Arguments arguments(context.arguments, {QStringLiteral("--seconds")});
    arguments.expect(2, 2);
    if (!arguments.has(QStringLiteral("--seconds")))
        throw UsageError(QStringLiteral("--seconds S is needed"));
    const int seconds = arguments.number(QStringLiteral("--seconds"), 0, 0, 86400);
    const auto database = open(arguments.at(0));
    if (!database->contacts().lockRecord(arguments.at(1)))
        throw HostFailure(
            HostError::RecordLocked,
            QStringLiteral("Contact %1 is already being edited by another program").arg(arguments.at(1)));
    // The line tells a waiting script or test that the lock is held from now on.
    context.out << "locked " << arguments.at(1) << '\n';
    context.out.flush();
    QThread::sleep((unsigned long)seconds);
    database->Close();
    return 0;
}

} // namespace

void addDatabaseCommands(CommandTable& table)
{
    table.add({QStringLiteral("create"), QStringLiteral("DB [--sample N]"), create});
    table.add({QStringLiteral("fields"), QStringLiteral("DB"), fields});
    table.add({QStringLiteral("add-field"), QStringLiteral("DB NAME TYPE [--decimals N]"), addField});
    table.add({QStringLiteral("contacts"), QStringLiteral("DB"), contacts});
    table.add({QStringLiteral("get"), QStringLiteral("DB ID FIELD"), get});
    table.add({QStringLiteral("set"), QStringLiteral("DB ID FIELD VALUE"), set});
    table.add({QStringLiteral("import"), QStringLiteral("DB FILE.csv"), importCsv});
    table.add({QStringLiteral("export"), QStringLiteral("DB [FILE.csv]"), exportCsv});
    table.add({QStringLiteral("add-user"), QStringLiteral("DB NAME [--password P]"), addUser});
    table.add({QStringLiteral("trigger"), QStringLiteral("DB FIELD entry|exit [TEXT]"), trigger});
    table.add({QStringLiteral("lock"), QStringLiteral("DB ID --seconds S"), lock});
}

} // namespace valdora::host::app
