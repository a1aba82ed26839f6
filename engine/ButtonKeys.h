#pragma once

#include "settings/IniLib.h"

#include <QString>

namespace valdora::engine {

/// Reads keys of section "Settings" of one button file, each with the default named at the read.
class ButtonKeys {
public:
    ButtonKeys(const IniLib& ini, QString path) : m_ini(ini), m_path(std::move(path)) {}

    /// The stored value, or `defaultValue` when the key is absent or empty.
    QString get(const QString& key, const QString& defaultValue = {}) const;
    /// True when the key reads exactly "1".
    bool isOn(const QString& key, const QString& defaultValue = {}) const
    {
        return get(key, defaultValue) == u"1";
    }
    /// The full path of the button file.
    const QString& path() const { return m_path; }

private:
    const IniLib& m_ini;
    QString m_path;
};

} // namespace valdora::engine
