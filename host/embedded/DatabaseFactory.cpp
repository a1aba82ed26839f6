#include "DatabaseFactory.h"

#include "EmbeddedDatabase.h"

namespace valdora::host {

std::unique_ptr<Database> createDatabase()
{
    return std::make_unique<embedded::EmbeddedDatabase>();
}

} // namespace valdora::host
