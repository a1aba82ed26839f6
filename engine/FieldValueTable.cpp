#include "FieldValueTable.h"

namespace valdora::engine {

void FieldValueTable::reset(int maxFields)
{
    m_values = QStringList();
    m_values.resize(std::max(maxFields, 0) + 1);
}

QString FieldValueTable::value(host::FieldId id) const
{
    return id >= 0 && id < m_values.size() ? m_values.at(id) : QString();
}

void FieldValueTable::setValue(host::FieldId id, const QString& value)
{
    if (id < 0)
        return;
    if (id >= m_values.size())
        m_values.resize(id + 1);
    m_values[id] = value;
}

} // namespace valdora::engine
