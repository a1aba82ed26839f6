#include "SavedLookupApplication.h"

#include "host/LookupFile.h"

namespace valdora::schedule {

void SavedLookupApplication::SaveCurrentLookup(const QString& file, Where where)
{
    // Read and written again rather than copied: a file that is no lookup file fails here, naming it.
    host::writeLookupFile(file, host::readLookupFile(m_lookupFile, where), where);
}

} // namespace valdora::schedule
