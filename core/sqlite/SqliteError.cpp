#include "SqliteError.h"

#include <sqlite3.h>

namespace valdora::sqlite {

Error::Error(int code, QString reason, QString file)
    : std::runtime_error(reason.toStdString()), m_code(code & 0xff), m_reason(std::move(reason)),
      m_file(std::move(file))
{}

bool Error::busy() const
{
    return m_code == SQLITE_BUSY;
}

bool Error::readOnly() const
{
    return m_code == SQLITE_READONLY;
}

bool Error::damaged() const
{
    return m_code == SQLITE_NOTADB || m_code == SQLITE_CORRUPT;
}

} // namespace valdora::sqlite
