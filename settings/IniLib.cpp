#include "IniLib.h"

#include "IniCache.h"
#include "IniFileUpdate.h"

#include <utility>

namespace valdora {

namespace {

// The platform reads into 128 characters of which it may fill 127, one of them the terminator.
constexpr qsizetype ReadLimit = 126;

QString readValue(const IniDocument* document, const QString& section, const QString& key,
                  const QString& defaultValue)
{
    const auto stored = document ? document->value(section, key) : std::nullopt;
    return stored && !stored->isEmpty() ? stored->left(ReadLimit) : defaultValue;
}

} // namespace

QString IniFileKeys::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    return readValue(m_document.get(), section, key, defaultValue);
}

IniLib::IniLib(const ErrorReporter& reporter, TextLocale locale, QString currentSettingsFile)
    : m_reporter(reporter), m_locale(std::move(locale)),
      m_currentSettingsFile(std::move(currentSettingsFile)),
      m_cache(std::make_unique<IniCache>(IniEncoding::Cp1252))
{}

IniLib::~IniLib() = default;

QString IniLib::GetKeyValue(const QString& section, const QString& key, const QString& defaultValue,
                            const QString& valueType, const QString& replacement,
                            const QString& iniFile) const
{
    QString result;
    trapped(m_reporter, {"IniLib", RoutineKind::Function, "GetKeyValue"}, [&] {
        const QString& path = iniFile.isEmpty() ? m_currentSettingsFile : iniFile;
        const auto document = path.isEmpty() ? nullptr : m_cache->document(path);
        result = readValue(document.get(), section, key, defaultValue);
        const bool typed = valueType == u"Numeric" || valueType == u"Boolean";
        if (typed && !replacement.isEmpty() && !m_locale.isNumeric(result))
            result = replacement;
    });
    return result;
}

bool IniLib::SetKeyValue(const QString& section, const QString& key, const QString& value,
                         const QString& iniFile) const
{
    const QString& path = iniFile.isEmpty() ? m_currentSettingsFile : iniFile;
    const bool written = updateIniFile(path, IniEncoding::Cp1252, [&](IniDocument& document) {
        if (document.value(section, key) == value)
            return IniChange::Unchanged;
        return document.setValue(section, key, value) ? IniChange::Changed : IniChange::Refused;
    });
    m_cache->forget(path);
    return written;
}

IniFileKeys IniLib::readKeys(const QString& iniFile) const
{
    IniFileKeys keys;
    trapped(m_reporter, {"IniLib", RoutineKind::Function, "GetKeyValue"}, [&] {
        const QString& path = iniFile.isEmpty() ? m_currentSettingsFile : iniFile;
        if (!path.isEmpty())
            keys = IniFileKeys(m_cache->document(path));
    });
    return keys;
}

} // namespace valdora
