#include "AutoProgram.h"

#include "TriggeringField.h"
#include "VersionCheck.h"
#include "WarningChoice.h"
#include "WarningTexts.h"

#include "host/HostCommand.h"
#include "run/ProgramStartup.h"
#include "settings/ButtonReaders.h"
#include "settings/FixedTexts.h"
#include "settings/MessageId.h"

namespace valdora::autorun {

namespace {

constexpr const char* MainForm = "frmAutoMain";
/// Registration with the host's events: no flags.
constexpr int RegisterFlags = 0;
/// The host's command that saves the value being typed into the field on screen.

} // namespace

AutoProgram::AutoProgram(ProgramSession& session, AutoHostFactories factories, WarningScreens& screens)
    : m_session(session), m_factories(std::move(factories)), m_screens(screens)
{}

AutoProgram::~AutoProgram()
{
    Form_Unload();
}

AutoEnd AutoProgram::Main(const QString& argumentText)
{
    m_argumentText = argumentText;
    AutoEnd end = AutoEnd::Failed;
    trapped(m_session.reporter(), {"Module1", RoutineKind::Sub, "Main"}, [&] {
        if (!settingsAreCurrent(storedVersion(m_session.userSettings()))) {
            m_session.showMessage(fixedtexts::RunValdoraOnce);
            end = AutoEnd::SettingsNotCurrent;
            return;
        }
        run::settleSessionAtStartUp(m_session, {.defaultLanguage = 0});
        end = Form_Load();
    });
    Form_Unload();
    return end;
}

AutoEnd AutoProgram::Form_Load()
{
    AutoEnd end = AutoEnd::Failed;
    trapped(m_session.reporter(), {MainForm, RoutineKind::Sub, "Form_Load"}, [&] {
        m_events = m_factories.eventControl();
        if (m_events->Register(RegisterFlags) < 1) {
            if (!m_events->IsHostRunning()) {
                // Started by a trigger of a host that has gone meanwhile: there is nobody to tell.
                end = AutoEnd::HostNotRunning;
                return;
            }
            m_session.showMessage(m_session.messages().get(MessageId::CannotRegisterHostEvents));
        }
        m_application = m_factories.application();
        // The host may have closed its database since the trigger fired (the user quit while in a
        // field with an exit trigger): this opens it again. A re-open that fails is answered below
        // with the message made for it, not with a report of the host's error.
        try {
            m_application->OpenFile(QString());
        } catch (const host::HostFailure&) {
        }
        if (!m_application->IsDBOpen()) {
            m_session.showMessage(m_session.messages().get(MessageId::DatabaseNotReopened));
            end = AutoEnd::DatabaseClosed;
            return;
        }
        m_view = m_application->CreateView(1, QStringLiteral("CV"));
        m_databaseName = run::openDatabaseName(*m_application);
        end = Run_Button() ? AutoEnd::Ran : AutoEnd::Failed;
    });
    return end;
}

bool AutoProgram::Run_Button()
{
    return trapped(m_session.reporter(), {MainForm, RoutineKind::Sub, "Run_Button"}, [&] {
        m_session.messages().setLanguageBase(languageBaseFromSettings(m_session.userSettings(), 0));
        // The value typed into the triggering field is saved before any button reads it.
        m_application->Command(host::HostCommand::CommitTyping);
        const AutoCommandLine::RunList runList = AutoCommandLine::parseArgumentText(m_argumentText);
        // Nothing named: the first entry that the run would take is not there.
        if (runList.entries.isEmpty())
            throw Failure(ErrorNumber::SubscriptOutOfRange);
        runEntries(runList);
    });
}

void AutoProgram::runEntries(const AutoCommandLine::RunList& runList)
{
    run::ButtonRun buttonRun(m_session, {nullptr, m_application.get(), m_view.get()},
                             run::ProgramProfile::valdoraAuto(m_session.locale()));
    buttonRun.setConfirmWrite([this, &runList](const run::RunMember& member) {
        return warnBeforeWrite(member, runList.directMode);
    });
    buttonRun.setAfterEndOfWrite([this] { afterEndOfWrite(); });
    buttonRun.setMissingButtonField([this](const QString& fileName) { return fieldTriggering(fileName); });
    const qsizetype last = runList.entries.size() - 1;
    for (qsizetype index = 0; index <= last; ++index) {
        m_lastEntry = index == last;
        const QString fileName = runList.buttonFileName(index);
        if (fileName.isEmpty())
            continue;
        m_currentButton = fileName;
        // Each button is written before the next starts, so that a later one reads what it wrote.
        // A missing button has shown its message; the next entry runs all the same.
        buttonRun.Process_Button(fileName);
    }
}

bool AutoProgram::warnBeforeWrite(const run::RunMember& member, bool directMode)
{
    const ButtonFile file = ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), member.fileName);
    const WarningChoice choice = warningChoice(file, directMode);
    if (choice.confirmation &&
        !m_screens.confirm(confirmationTexts(m_session.messages(), member.targetName, readCaption(file))))
        return false;
    if (choice.notice)
        m_screens.notice(noticeTexts(m_session.messages(), member.targetName));
    return true;
}

void AutoProgram::afterEndOfWrite()
{
    const ButtonFile button =
        ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), m_currentButton);
    if (wantsDoneScreen(button))
        m_screens.done(doneText());
}

QString AutoProgram::fieldTriggering(const QString& buttonFileName) const
{
    if (!m_factories.database)
        return {};
    // Only a help to the message: a database that cannot be read leaves it to the stored target.
    try {
        const std::unique_ptr<host::Database> database = m_factories.database();
        if (!database)
            return {};
        database->OpenEx(QString());
        return fieldTriggeringButton(database->Contact().Fields(), m_session.programFolder(), buttonFileName,
                                     m_argumentText);
    } catch (const Failure&) {
        return {};
    }
}

void AutoProgram::Form_Unload()
{
    m_view.reset();
    m_application.reset();
    if (m_events) {
        m_events->Unregister();
        m_events.reset();
    }
}

int exitCode(AutoEnd end)
{
    return end == AutoEnd::Ran ? 0 : 1;
}

} // namespace valdora::autorun
