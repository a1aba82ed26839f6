#include "ScopeContacts.h"

namespace valdora::run {

QString currentLookupFile(const ProgramSession& session)
{
    return session.dataFolder() + QStringLiteral("/~currentLU.LKU");
}

std::vector<host::ContactId> contactsOfScope(ProgramSession& session, const RunHost& host, Scope scope,
                                             const std::function<void(qsizetype counted)>& counted)
{
    host::ContactTable& table = host.database->Contact();
    switch (scope) {
    case Scope::CurrentContact:
        return {};
    case Scope::CurrentLookup: {
        const QString lookupFile = currentLookupFile(session);
        host.application->SaveCurrentLookup(lookupFile);
        table.LoadLookUpQuery(lookupFile);
        break;
    }
    case Scope::AllContacts:
        table.Query(QString());
        break;
    }
    std::vector<host::ContactId> ids;
    for (table.MoveFirst(); !table.isEOF(); table.MoveNext()) {
        if (counted)
            counted(static_cast<qsizetype>(ids.size()));
        ids.push_back(table.Data(host::FieldNumber::UniqueId));
    }
    return ids;
}

} // namespace valdora::run
