#include "ProgramStartup.h"

#include "settings/MessageTable.h"
#include "settings/SettingsLocation.h"

namespace valdora::run {

void settleSessionAtStartUp(ProgramSession& session, const StartupSettings& settings, Where where)
{
    session.messages().setLanguageBase(
        languageBaseFromSettings(session.userSettings(), settings.defaultLanguage, where));
    session.setSettingsFile(SettingsLocation::settingsFilePathAtStartUp(
        session.userSettings(), session.programFolder(), settings.settingsFileTitle));
}

StartupHost openHostObjects(const HostFactories& factories, Where where)
{
    StartupHost host;
    host.application = factories.application();
    if (factories.database) {
        host.database = factories.database();
        host.database->OpenEx(QString(), where);
    }
    host.view = host.application->CreateView(1, QStringLiteral("CV"), where);
    return host;
}

} // namespace valdora::run
