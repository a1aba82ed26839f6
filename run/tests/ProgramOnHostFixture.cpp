#include "ProgramOnHostFixture.h"

#include "host/embedded/DatabaseFactory.h"
#include "host/tests/ContactColumns.h"
#include "settings/ButtonFile.h"

#include <QDir>
#include <QProcessEnvironment>

namespace valdora::run::test {

void ProgramOnHostTest::SetUp()
{
    RunningHostTest::SetUp();
    m_program = m_dir.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(m_program + QStringLiteral("/Settings")));
    // The bar's first run puts the maker's link beside the host: in the test's folder, not the build's.
    m_hostProgramFolder = m_dir.filePath(QStringLiteral("host"));
    ASSERT_TRUE(QDir().mkpath(m_hostProgramFolder));
    m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora"), m_program,
                                                 UserSettings(m_settings->path()),
                                                 TextLocale(QLocale(QStringLiteral("en_US"))));
    m_session->setSettingsFile(m_program + QStringLiteral("/Settings/valdora.ini"));
}

void ProgramOnHostTest::writeButton(const QString& name, const Keys& keys)
{
    const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), name);
    for (const auto& [key, value] : keys)
        ASSERT_TRUE(button.write(key, value)) << key.toStdString();
}

std::unique_ptr<QProcess> ProgramOnHostTest::startValdora(const QStringList& arguments) const
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VALDORA_PROGRAM_FOLDER"), m_program);
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(VALDORA_PROGRAM), arguments);
    process->waitForStarted(10000);
    return process;
}

valdora::test::CommandResult ProgramOnHostTest::valdora(const QStringList& arguments, int msecs) const
{
    const std::unique_ptr<QProcess> process = startValdora(arguments);
    if (!process->waitForFinished(msecs)) {
        process->kill();
        process->waitForFinished();
    }
    return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
            QString::fromLocal8Bit(process->readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process->readAllStandardError()).trimmed()};
}

QStringList ProgramOnHostTest::column(const QString& field) const
{
    const std::unique_ptr<host::Database> database = host::createDatabase();
    database->OpenEx(m_database);
    const QStringList values = host::test::fieldOfEveryContact(*database, field);
    database->Close();
    return values;
}

} // namespace valdora::run::test
