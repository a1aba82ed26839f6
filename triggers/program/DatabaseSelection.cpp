#include "DatabaseSelection.h"

#include "KeelbrookTexts.h"

#include "settings/KeelbrookCommandLine.h"

namespace valdora::keelbrook {

int hostCheckDelay(const QString& argumentText)
{
    return argumentText.contains(KeelbrookCommandLine::WaitMark) ? texts::HostCheckDelayMs : 0;
}

bool hostIsRunning(host::EventControl& events)
{
    return events.Register(0) > 0;
}

bool openDatabase(KeelbrookState& state, const QString& path, const LoginPrompt& login)
{
    if (path.isEmpty())
        return true;
    try {
        std::unique_ptr<host::Database> database = state.createDatabase();
        database->OpenEx(path);
        if (database->isMultiuser())
            login(*database);
        host::ContactTable& contact = database->Contact();
        state.adoptDatabase(std::move(database), contact);
        return true;
    } catch (...) {
        // Whatever the host or the login refused, the window stays as it was for another choice.
        return false;
    }
}

void validateLogin(KeelbrookState& state, host::Database& database, const QString& user,
                   const QString& password)
{
    state.setLastUser(user);
    database.ValidateUser(user, password);
    if (database.Error())
        state.session().showMessage(texts::WrongLogin);
}

} // namespace valdora::keelbrook
