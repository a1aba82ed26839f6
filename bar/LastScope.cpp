#include "LastScope.h"

#include "settings/UserKey.h"

namespace valdora::bar {

std::optional<run::Scope> lastScope(const UserSettings& store, const QString& buttonFile)
{
    bool number = false;
    const int value =
        store.get(Application::Valdora, UserKey::LastScope, buttonFile, QString()).toInt(&number);
    if (!number || value < static_cast<int>(run::Scope::CurrentContact) ||
        value > static_cast<int>(run::Scope::AllContacts))
        return std::nullopt;
    return static_cast<run::Scope>(value);
}

void rememberScope(const UserSettings& store, const QString& buttonFile, run::Scope scope)
{
    store.set(Application::Valdora, UserKey::LastScope, buttonFile, QString::number(static_cast<int>(scope)));
}

} // namespace valdora::bar
