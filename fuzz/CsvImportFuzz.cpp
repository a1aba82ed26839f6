// Fuzzes the host's CSV reader with a file's bytes, and imports what it reads into an empty
// database through the import command. Besides crashes, it checks that records written as CSV read
// back the same, that an import either succeeds or fails with a message and nothing imported, and
// that an import that succeeded holds each contact as its last row gave it.

#include "FuzzSupport.h"

#include "host/app/CommandTable.h"
#include "host/app/CsvFile.h"
#include "host/app/DatabaseCommands.h"
#include "host/embedded/EmbeddedDatabase.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

#include <cstddef>
#include <cstdint>

using valdora::Failure;
using valdora::fuzz::check;
using valdora::host::FieldId;
namespace app = valdora::host::app;
namespace embedded = valdora::host::embedded;

namespace {

QString recordsText(const QList<QStringList>& records)
{
    QStringList lines;
    for (const QStringList& record : records)
        lines.append(u'[' + record.join(QStringLiteral("][")) + u']');
    return lines.join(u'\n');
}

void checkWriteBack(const QList<QStringList>& records)
{
    QByteArray written;
    for (const QStringList& record : records)
        written += app::CsvFile::line(record);
    QList<QStringList> reread;
    try {
        reread = app::CsvFile::parse(written, QStringLiteral("written.csv"));
    } catch (const Failure& failure) {
        check(false, "records written as CSV can be read", failure.description(), recordsText(records));
    }
    check(reread == records, "records written as CSV read back the same", recordsText(reread),
          recordsText(records));
}

/// The database commands, an empty database made once, and the copy an import goes into.
class ImportBench {
public:
    ImportBench()
    {
        app::addDatabaseCommands(m_commands);
        const QString empty = folder() + QStringLiteral("/Empty.dbf");
        check(run({QStringLiteral("create"), empty}) == 0, "the empty database is made", m_messages);
        QFile file(empty);
        check(file.open(QIODevice::ReadOnly), "the empty database is read", empty);
        m_empty = file.readAll();
    }

    const QString& csvPath() const { return m_csvPath; }
    const QString& databasePath() const { return m_databasePath; }
    const QString& messages() const { return m_messages; }

    /// The import command on the CSV file into a fresh empty database: its exit code.
    int import()
    {
        resetDatabase();
        return run({QStringLiteral("import"), m_databasePath, m_csvPath});
    }

private:
    static const QString& folder() { return valdora::fuzz::scratchFolder(); }

    int run(const QStringList& arguments)
    {
        m_output.clear();
        m_messages.clear();
        QTextStream out(&m_output);
        QTextStream err(&m_messages);
        return app::runCommandLine(m_commands, arguments, out, err);
    }

    // Byte for byte the empty database, without the journal or record locks of an earlier import.
    void resetDatabase()
    {
        for (const QString& suffix :
             {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-locks")})
            QFile::remove(m_databasePath + suffix);
        QFile file(m_databasePath);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(m_empty) == m_empty.size(),
              "the database copy is written", m_databasePath);
    }

    app::CommandTable m_commands;
    QByteArray m_empty;
    const QString m_csvPath = folder() + QStringLiteral("/Input.csv");
    const QString m_databasePath = folder() + QStringLiteral("/Import.dbf");
    QString m_output;
    QString m_messages;
};

ImportBench& importBench()
{
    static ImportBench bench;
    return bench;
}

void writeInput(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes.data(), bytes.size()) == bytes.size(),
          "the CSV file is written", path);
}

// Every contact of the database by unique id: field -> value of each column that was imported.
void checkImported(const QList<QStringList>& records)
{
    embedded::EmbeddedDatabase database;
    database.OpenEx(importBench().databasePath());
    embedded::EmbeddedContactTable& contacts = database.contacts();
    QList<FieldId> columns;
    for (const QString& name : records.first())
        columns.append(database.fields().resolve(name));
    const qsizetype idColumn = columns.indexOf(FieldId(1));

    // The last row of each unique id wins; a row without one is a contact of its own.
    QHash<QString, QStringList> lastRow;
    qsizetype unnamed = 0;
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QString id = idColumn >= 0 ? records.at(r).at(idColumn) : QString();
        if (id.isEmpty())
            ++unnamed;
        else
            lastRow.insert(id, records.at(r));
    }
    contacts.Query(QString());
    check(contacts.selection().size() == lastRow.size() + unnamed,
          "an import makes one contact per row or id", QString::number(contacts.selection().size()),
          QString::number(lastRow.size() + unnamed));
    for (auto it = lastRow.cbegin(); it != lastRow.cend(); ++it) {
        contacts.Goto(it.key());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            if (c == idColumn)
                continue;
            check(contacts.Data(columns.at(c)) == it.value().at(c), "an imported contact holds its last row",
                  contacts.Data(columns.at(c)), it.value().at(c));
        }
    }
    database.Close();
}

void checkImport(QByteArrayView bytes, const QList<QStringList>& records)
{
    ImportBench& bench = importBench();
    writeInput(bench.csvPath(), bytes);
    const int code = bench.import();
    check(code == 0 || code == 1, "an import succeeds or fails with a message", bench.messages());
    if (code == 1) {
        check(!bench.messages().isEmpty(), "a failed import says why");
        embedded::EmbeddedDatabase database;
        database.OpenEx(bench.databasePath());
        database.contacts().Query(QString());
        check(database.contacts().selection().isEmpty(), "a failed import imports nothing", bench.messages());
        database.Close();
        return;
    }
    checkImported(records);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    valdora::fuzz::pinEnvironment();
    (void)importBench();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QStringList> records;
    try {
        records = app::CsvFile::parse(bytes, QStringLiteral("input.csv"));
    } catch (const Failure& failure) {
        check(!failure.description().isEmpty(), "a CSV file refused says why");
        return 0;
    }
    checkWriteBack(records);
    // Only a file whose first row could name fields is worth a database.
    if (!records.isEmpty())
        checkImport(bytes, records);
    return 0;
}
