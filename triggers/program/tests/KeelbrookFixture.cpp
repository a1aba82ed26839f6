#include "KeelbrookFixture.h"

#include "triggers/program/DatabaseSelection.h"

#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/EmbeddedDatabase.h"
#include "settings/MessageTable.h"

#include <QFile>
#include <QUuid>

namespace valdora::keelbrook::test {

void KeelbrookTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_userSettings = std::make_unique<valdora::test::TemporaryUserSettings>();
    m_previousServer = qgetenv("VALDORA_HOST_SERVER");
    qputenv("VALDORA_HOST_SERVER", ("keelbrook-test-" + QUuid::createUuid().toString(QUuid::Id128)).toUtf8());
    m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Keelbrook"), m_dir.path(),
                                                 UserSettings(), TextLocale(), MessageTable::keelbrook());
    m_state = std::make_unique<KeelbrookState>(*m_session, &host::createDatabase, QStringLiteral("3.1.3"));
    m_state->setEndProgram([this] { ++m_endCount; });
}

void KeelbrookTest::TearDown()
{
    m_state.reset();
    m_session.reset();
    qputenv("VALDORA_HOST_SERVER", m_previousServer);
    m_userSettings.reset();
}

QString KeelbrookTest::makeDatabase(const QString& name, const QList<SeedTrigger>& triggers)
{
    const QString path = m_dir.filePath(name);
    host::embedded::EmbeddedDatabase::create(path);
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    host::FieldList& fields = database.Contact().Fields();
    for (const SeedTrigger& trigger : triggers) {
        if (trigger.kind == TriggerKind::Entry)
            fields.EntryTrigger(trigger.fieldId, trigger.text);
        else
            fields.ExitTrigger(trigger.fieldId, trigger.text);
    }
    return path;
}

void KeelbrookTest::addUser(const QString& path, const QString& user, const QString& password)
{
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    database.users().addUser(user, password);
}

void KeelbrookTest::growFields(const QString& path, int count)
{
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    host::embedded::EmbeddedFieldList& fields = database.fields();
    for (int number = fields.Count() + 1; number <= count; ++number)
        fields.addField(QStringLiteral("Extra %1").arg(number), host::FieldType::Character, 0);
}

QString KeelbrookTest::triggerIn(const QString& path, host::FieldId id, TriggerKind kind)
{
    host::embedded::EmbeddedDatabase database;
    database.OpenEx(path);
    const host::FieldList& fields = database.Contact().Fields();
    return kind == TriggerKind::Entry ? fields.EntryTrigger(id) : fields.ExitTrigger(id);
}

void KeelbrookTest::setLanguage(int language)
{
    ASSERT_TRUE(UserSettings().set(Application::Valdora, QStringLiteral("Options"),
                                   QStringLiteral("Language"), QString::number(language)));
}

QStringList KeelbrookTest::errorReportLines() const
{
    QFile file(m_state->errorReportPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void KeelbrookTest::openIntoState(const QString& database)
{
    ASSERT_TRUE(openDatabase(*m_state, database, [](host::Database&) {}));
    m_state->setDatabasePath(database);
}

} // namespace valdora::keelbrook::test
