#pragma once

#include "ContactRoad.h"
#include "ScopeChooser.h"

#include <functional>
#include <vector>

namespace valdora::run {

/// The file through which the host hands its current lookup to the contact table: "~currentLU.LKU" in
/// the user's data folder, which the user can write also where the program folder is not theirs.
QString currentLookupFile(const ProgramSession& session);

/// Selects the contacts of the current lookup or of all contacts in the open database's contact table
/// and returns their ids in the host's order (the lookup's sort, or the default sort). `counted` is told
/// the number gathered so far before each contact is added. The run and its preview both gather
/// through here. Nothing for the current contact, which each of them takes in its own way.
std::vector<host::ContactId> contactsOfScope(ProgramSession& session, const RunHost& host, Scope scope,
                                             const std::function<void(qsizetype counted)>& counted = {});

} // namespace valdora::run
