#include "KeelbrookState.h"

#include "KeelbrookTexts.h"

#include "core/QtTranslations.h"
#include "settings/MessageTable.h"
#include "settings/SettingsLocation.h"
#include "settings/UserKey.h"

#include <QDir>
#include <QFileInfo>

namespace valdora::keelbrook {

KeelbrookState::KeelbrookState(ProgramSession& session, DatabaseFactory databaseFactory, QString version)
    : m_session(session), m_databaseFactory(std::move(databaseFactory)), m_version(std::move(version))
{}

KeelbrookState::~KeelbrookState()
{
    closeDatabase();
}

void KeelbrookState::settleLanguage(Where where)
{
    m_session.messages().setLanguageBase(
        languageBaseFromSettings(m_session.userSettings(), texts::DefaultLanguage, where));
    // Its file dialog speaks the same language.
    useQtTranslations(m_session.messages().languageBase());
}

void KeelbrookState::settleSettingsFile()
{
    m_session.setSettingsFile(SettingsLocation::settingsFilePathAtStartUp(m_session, Application::Valdora));
}

QString KeelbrookState::lastDatabase() const
{
    return m_session.userSettings().get(Application::Keelbrook, UserKey::Settings, UserKey::LastDB);
}

bool KeelbrookState::setLastDatabase(const QString& path) const
{
    return m_session.userSettings().set(Application::Keelbrook, UserKey::Settings, UserKey::LastDB, path);
}

QString KeelbrookState::lastUser() const
{
    return m_session.userSettings().get(Application::Keelbrook, UserKey::Settings, UserKey::LastUser);
}

bool KeelbrookState::setLastUser(const QString& user) const
{
    return m_session.userSettings().set(Application::Keelbrook, UserKey::Settings, UserKey::LastUser, user);
}

void KeelbrookState::adoptDatabase(std::unique_ptr<host::Database> database, host::ContactTable& contact)
{
    // Read everything that can fail before anything is kept, so that a failure leaves no half-open
    // database behind.
    host::FieldList& fields = contact.Fields();
    const QString path = database->GetDatabasePath();
    closeDatabase();
    m_database = std::move(database);
    m_contact = &contact;
    m_fields = &fields;
    m_databaseName = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    // The host gives this platform's separators; the name is the part after the last of them too.
    m_databaseName = QFileInfo(m_databaseName).fileName();
}

host::FieldList& KeelbrookState::fields(Where where) const
{
    if (m_fields == nullptr)
        throw Failure(ErrorNumber::ObjectNotSet, where);
    return *m_fields;
}

void KeelbrookState::closeDatabase() noexcept
{
    m_fields = nullptr;
    m_contact = nullptr;
    if (m_database) {
        try {
            m_database->Close();
        } catch (...) {
            // The program is ending or another database takes its place: nothing to tell.
        }
        m_database.reset();
    }
    m_databaseName.clear();
}

void KeelbrookState::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    if (m_endProgram)
        m_endProgram();
}

QString KeelbrookState::errorReportPath() const
{
    return QDir(m_session.dataFolder()).filePath(texts::ErrorReportFileName);
}

QString KeelbrookState::programText() const
{
    return m_session.applicationTitle() + QLatin1Char(' ') + m_version;
}

void KeelbrookState::reportFailure(const Failure& failure, const QString& source)
{
    m_failed = true;
    const ErrorRecord record{.when = QDateTime::currentDateTime(),
                             .number = failure.number(),
                             .description = failure.description(),
                             .source = source,
                             .program = programText(),
                             .trace = m_trace.path(),
                             .progress = m_trace.currently()};
    // A program folder that cannot be written loses the entry, not the message.
    appendErrorReport(errorReportPath(), record);
    m_session.showMessage(errorReportMessage(record, text(MessageId::EmailErrorReport)));
    endProgram();
}

void KeelbrookState::showRefusal(const Failure& refusal)
{
    m_session.showMessage(refusal.description(), MessageButtons::Ok, MessageIcon::Exclamation);
}

} // namespace valdora::keelbrook
