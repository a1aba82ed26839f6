#include "LanguageChoice.h"

#include "settings/FixedTexts.h"
#include "settings/MessageTable.h"
#include "settings/UserKey.h"

namespace valdora::bar {

namespace {

// The window's entries, each in its own language; an entry's position is the stored language number.
const QStringList LanguageNames{QStringLiteral("English"), QStringLiteral("Français"),
                                QStringLiteral("Deutsch")};

// The window selects English when no language is stored.
constexpr int WindowDefaultLanguage = 0;

int languageOfBase(qint16 languageBase)
{
    return (languageBase - 300) / 1000;
}

} // namespace

bool isFirstRun(const ProgramSession& session, Where where)
{
    const QString marker =
        session.userSettings().get(Application::Valdora, UserKey::Settings, UserKey::Installed).trimmed();
    return marker.isEmpty() || session.locale().toDouble(marker, where) == 0.0;
}

bool storeInstalled(const UserSettings& userSettings)
{
    return userSettings.set(Application::Valdora, UserKey::Settings, UserKey::Installed, QStringLiteral("1"));
}

LanguageWindowState languageWindowState(const ProgramSession& session, Where where)
{
    const Messages& messages = session.messages();
    LanguageWindowState state;
    state.ok = messages.get(MessageId::Ok);
    state.cancel = messages.get(MessageId::Cancel);
    if (isFirstRun(session, where)) {
        state.title = session.applicationTitle();
        state.label = fixedtexts::PickYourLanguageBilingual;
        state.cancelVisible = false;
    } else {
        state.title = messages.get(MessageId::LanguageTitle);
        state.label = messages.get(MessageId::PickYourLanguage) + QStringLiteral(" :");
    }
    state.languages = LanguageNames;
    // The same reading as the language base's: a number outside the list selects the default entry.
    state.selected =
        languageOfBase(languageBaseFromSettings(session.userSettings(), WindowDefaultLanguage, where));
    return state;
}

bool storeLanguageChoice(const UserSettings& userSettings, int entry)
{
    if (entry < 0 || entry >= LanguageNames.size())
        return false;
    return userSettings.set(Application::Valdora, UserKey::Options, UserKey::Language,
                            QString::number(entry));
}

bool announceLanguageAtNextStart(ProgramSession& session)
{
    // The default of the reading does not matter: a window that stored a choice left the key set.
    if (languageBaseFromSettings(session.userSettings(), WindowDefaultLanguage) ==
        session.messages().languageBase())
        return false;
    session.showMessage(session.messages().get(MessageId::RestartValdoraForChanges), MessageButtons::Ok,
                        MessageIcon::Information);
    return true;
}

} // namespace valdora::bar
