#include "ButtonKeys.h"

namespace valdora::engine {

QString ButtonKeys::get(const QString& key, const QString& defaultValue) const
{
    return m_ini.GetKeyValue(QStringLiteral("Settings"), key, defaultValue, {}, {}, m_path);
}

} // namespace valdora::engine
