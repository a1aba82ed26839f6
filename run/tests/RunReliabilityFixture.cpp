#include "RunReliabilityFixture.h"

#include "host/HostObjects.h"
#include "host/embedded/SampleData.h"
#include "settings/ButtonDefinition.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <sqlite3.h>

namespace valdora::run::test {

void RunReliabilityTest::SetUp()
{
    RunningHostTest::SetUp();
    m_program = m_dir.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(m_program + QStringLiteral("/Settings")));
    m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora"), m_program,
                                                 UserSettings(m_settings->path()),
                                                 TextLocale(QLocale(QStringLiteral("en_US"))));
    m_session->setSettingsFile(m_program + QStringLiteral("/Settings/valdora.ini"));
}

void RunReliabilityTest::useContacts(int contacts)
{
    ASSERT_TRUE(QFile::remove(m_database));
    host::createSampleDatabase(m_database, contacts);
}

void RunReliabilityTest::writeButton(const QString& name, const Keys& keys)
{
    const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), name);
    for (const auto& [key, value] : keys)
        ASSERT_TRUE(button.write(key, value)) << key.toStdString();
}

void RunReliabilityTest::autoNumberButton(const QString& name, const QString& counterFile,
                                          const QString& over)
{
    writeButton(name, {{"Type", "0"},
                       {"Target", "User 1"},
                       {"Format", CounterMarker},
                       {"AutoIniFile", counterFile},
                       {"Over0", over == "Over0" ? "1" : "0"},
                       {"Over1", "0"},
                       {"Over2", "0"},
                       {"Over3", over == "Over3" ? "1" : "0"}});
}

std::unique_ptr<QProcess> RunReliabilityTest::startValdora(const QStringList& arguments) const
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VALDORA_PROGRAM_FOLDER"), m_program);
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(VALDORA_PROGRAM), arguments);
    process->waitForStarted(10000);
    return process;
}

valdora::test::CommandResult RunReliabilityTest::valdora(const QStringList& arguments) const
{
    const std::unique_ptr<QProcess> process = startValdora(arguments);
    if (!process->waitForFinished(120000)) {
        process->kill();
        process->waitForFinished();
    }
    return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
            QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process->readAllStandardError()).trimmed()};
}

QStringList RunReliabilityTest::contactIds() const
{
    return column(QStringLiteral("Unique Id"));
}

RunSummary RunReliabilityTest::runOnScreen(const QString& button,
                                           std::function<bool(const RunMember&)> confirm)
{
    const std::unique_ptr<host::Application> application = host::createApplication();
    const std::unique_ptr<host::Database> database = host::createDatabase();
    database->OpenEx(QString());
    const std::unique_ptr<host::ContactView> view = application->CreateView(1, QStringLiteral("CV"));
    ButtonRun buttonRun(*m_session, {database.get(), nullptr, view.get()},
                        ProgramProfile::valdoraAuto(m_session->locale()));
    if (confirm)
        buttonRun.setConfirmWrite(std::move(confirm));
    return buttonRun.Process_Button(button);
}

QStringList RunReliabilityTest::column(const QString& field) const
{
    const std::unique_ptr<host::Database> database = host::createDatabase();
    database->OpenEx(m_database);
    host::ContactTable& contacts = database->Contact();
    const host::FieldId id = contacts.Fields().FieldID(field);
    contacts.Query(QString());
    QStringList values;
    for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
        values << contacts.Data(id);
    database->Close();
    return values;
}

QString RunReliabilityTest::integrity() const
{
    sqlite3* handle = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(QFile::encodeName(m_database).constData(), &handle, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(handle, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW)
            result = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        sqlite3_finalize(check);
    }
    sqlite3_close(handle);
    return result;
}

QStringList RunReliabilityTest::temporariesIn(const QString& folder)
{
    QStringList found;
    const QStringList hidden = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : hidden) {
        if (name.startsWith(u'.') && !name.endsWith(QStringLiteral(".lock")))
            found << name;
    }
    return found;
}

} // namespace valdora::run::test
