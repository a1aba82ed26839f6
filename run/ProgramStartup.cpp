#include "ProgramStartup.h"

#include "settings/MessageTable.h"
#include "settings/SettingsLocation.h"

#include <algorithm>

namespace valdora::run {

void settleSessionAtStartUp(ProgramSession& session, const StartupSettings& settings, Where where)
{
    session.messages().setLanguageBase(
        languageBaseFromSettings(session.userSettings(), settings.defaultLanguage, where));
    session.setSettingsFile(SettingsLocation::settingsFilePathAtStartUp(session, settings.settingsFileTitle));
}

QString openDatabaseName(const host::Application& application, Where where)
{
    const QString path = application.GetOpenDBName(where);
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(separator + 1);
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
