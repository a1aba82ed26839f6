#include "BarStartup.h"

#include "bar/options/MakerLink.h"
#include "bar/options/TargetDecimalsUpgrade.h"
#include "bar/startup/LanguageChoice.h"
#include "core/QtTranslations.h"
#include "host/HostTypes.h"
#include "settings/ComposedMessages.h"
#include "settings/FixedTexts.h"
#include "settings/MessageId.h"
#include "settings/SettingsLocation.h"
#include "settings/UserKey.h"

namespace valdora::bar {

namespace {

/// Versions before this kept the buttons in the per-user store.
const QString FirstVersionWithButtonFiles = QStringLiteral("300");
/// The bar takes German when no language was ever chosen.
constexpr int BarDefaultLanguage = 2;
constexpr int RegisterFlags = 0;

QString titled(const ProgramSession& session, MessageId id, const QString& end)
{
    return session.messages().get(id) + u' ' + session.applicationTitle() + end;
}

} // namespace

QString versionText()
{
    return QStringLiteral(VALDORA_VERSION_TEXT);
}

bool settleSettings(ProgramSession& session, BarScreens& screens)
{
    const UserSettings& store = session.userSettings();
    const QString stored = store.get(Application::Valdora, UserKey::Settings, UserKey::Version);
    // The version has always been compared as text.
    if (!stored.isEmpty() && QString::compare(stored, FirstVersionWithButtonFiles) < 0 &&
        !screens.upgradeSettings()) {
        session.showMessage(fixedtexts::WillNowClose);
        return false;
    }
    // Each write of the store is made durable; a version that is already stored is not written again.
    if (stored != versionText())
        store.set(Application::Valdora, UserKey::Settings, UserKey::Version, versionText());
    const QString dataFolder = session.dataFolder();
    SettingsLocation::ensureDefaultSettingsFolder(dataFolder);
    session.setSettingsFile(SettingsLocation::settingsFilePathAtStartUp(session, session.applicationTitle()));
    return true;
}

bool registerWithHost(ProgramSession& session, const BarHostFactories& factories, BarConnection& connection,
                      BarFlags& flags)
{
    if (flags.reload)
        return true;
    connection.events = factories.eventControl();
    if (connection.events->Register(RegisterFlags) >= 1)
        return true;
    flags.quit = true;
    const Messages& messages = session.messages();
    if (connection.events->IsHostRunning())
        session.showMessage(messages.get(MessageId::HostEventsNotRegistered) + u'\n' +
                                messages.get(MessageId::RestartHostOrRegister),
                            MessageButtons::Ok, MessageIcon::Critical);
    else
        session.showMessage(titled(session, MessageId::RunHostFirst, QStringLiteral("!")), MessageButtons::Ok,
                            MessageIcon::Critical);
    connection.events.reset();
    return false;
}

bool openHostDatabase(ProgramSession& session, const BarHostFactories& factories, BarConnection& connection)
{
    connection.host = {};
    connection.host.application = factories.objects.application();
    // "" re-opens the host's last database when it has none open.
    try {
        connection.host.application->OpenFile(QString());
    } catch (const host::HostFailure&) {
    }
    if (!connection.host.application->IsDBOpen()) {
        session.showMessage(titled(session, MessageId::OpenDatabaseFirst, QStringLiteral("!")));
        return false;
    }
    connection.databaseName = run::openDatabaseName(*connection.host.application);
    connection.host.view = connection.host.application->CreateView(1, QStringLiteral("CV"));
    try {
        connection.host.database = factories.objects.database();
        connection.host.database->OpenEx(QString());
        connection.host.database->Contact();
    } catch (const host::HostFailure&) {
        session.showMessage(databaseLockedText(session.messages(), session.applicationTitle()));
        return false;
    }
    // Fields and users: a failure here is reported as any other by the caller's trap.
    connection.host.database->Users();
    return true;
}

void settleLanguage(ProgramSession& session, BarScreens& screens, const host::Application* application)
{
    const UserSettings& store = session.userSettings();
    if (isFirstRun(session)) {
        screens.chooseLanguage();
        // The link's caption is in the language just chosen.
        session.messages().setLanguageBase(languageBaseFromSettings(store, BarDefaultLanguage));
        if (application)
            trapped(session.reporter(), {"Module1", RoutineKind::Sub, "Create_LinkMenuItem"},
                    [&] { Create_LinkMenuItem(session, application->GetAppPath()); });
        storeInstalled(store);
    }
    session.messages().setLanguageBase(languageBaseFromSettings(store, BarDefaultLanguage));
    useQtTranslations(session.messages().languageBase());
}

bool targetDecimalsUpgradeDue(const ProgramSession& session)
{
    return targetDecimalsDue(
        session.userSettings().get(Application::Valdora, UserKey::Settings, UserKey::Version));
}

int upgradeButtonDecimals(ProgramSession& session, const BarConnection& connection,
                          const QStringList& buttonFiles)
{
    int written = 0;
    trapped(session.reporter(), {"frmMain", RoutineKind::Sub, "Form_Load"}, [&] {
        if (!connection.host.database)
            return;
        written = upgradeTargetDecimals(session.ini(), session.buttonFolder(), buttonFiles,
                                        connection.host.database->Contact().Fields());
    });
    return written;
}

} // namespace valdora::bar
