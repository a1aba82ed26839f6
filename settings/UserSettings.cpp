#include "UserSettings.h"

#include "IniCache.h"
#include "IniFileUpdate.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace valdora {

namespace {

QString defaultFolder()
{
    const QString overridden = qEnvironmentVariable("VALDORA_USER_SETTINGS");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config + QStringLiteral("/Valdora"));
}

// An application name becomes a file name: it must not lead out of the store's folder.
bool isApplicationName(const QString& application)
{
    return !application.isEmpty() && !application.contains(u'/') && !application.contains(u'\\') &&
           application != u"." && application != u".." && !application.contains(u'\0');
}

} // namespace

UserSettings::UserSettings() : UserSettings(defaultFolder()) {}

UserSettings::UserSettings(QString folder)
    : m_folder(std::move(folder)), m_cache(std::make_shared<IniCache>(IniEncoding::Utf8))
{}

QString UserSettings::filePath(const QString& application) const
{
    return m_folder + QLatin1Char('/') + application + QStringLiteral(".ini");
}

std::shared_ptr<const IniDocument> UserSettings::document(const QString& application) const
{
    return isApplicationName(application) ? m_cache->document(filePath(application)) : nullptr;
}

QString UserSettings::get(const QString& application, const QString& section, const QString& key,
                          const QString& defaultValue) const
{
    const auto stored = document(application);
    return stored ? stored->value(section, key).value_or(defaultValue) : defaultValue;
}

bool UserSettings::set(const QString& application, const QString& section, const QString& key,
                       const QString& value) const
{
    if (!isApplicationName(application) || !QDir().mkpath(m_folder))
        return false;
    const QString path = filePath(application);
    const bool written = updateIniFile(path, IniEncoding::Utf8, [&](IniDocument& stored) {
        if (stored.value(section, key) == value)
            return IniChange::Unchanged;
        return stored.setValue(section, key, value) ? IniChange::Changed : IniChange::Refused;
    });
    m_cache->forget(path);
    return written;
}

bool UserSettings::set(const QString& application, const QString& section,
                       const QList<std::pair<QString, QString>>& values) const
{
    if (!isApplicationName(application) || !QDir().mkpath(m_folder))
        return false;
    const QString path = filePath(application);
    const bool written = updateIniFile(path, IniEncoding::Utf8, [&](IniDocument& stored) {
        IniChange change = IniChange::Unchanged;
        for (const auto& [key, value] : values) {
            if (stored.value(section, key) == value)
                continue;
            if (!stored.setValue(section, key, value))
                return IniChange::Refused;
            change = IniChange::Changed;
        }
        return change;
    });
    m_cache->forget(path);
    return written;
}

QStringList UserSettings::sections(const QString& application) const
{
    const auto stored = document(application);
    return stored ? stored->sectionNames() : QStringList();
}

QStringList UserSettings::keys(const QString& application, const QString& section) const
{
    const auto stored = document(application);
    return stored ? stored->keyNames(section) : QStringList();
}

bool UserSettings::removeSection(const QString& application, const QString& section) const
{
    if (!isApplicationName(application))
        return false;
    const QString path = filePath(application);
    if (!QFileInfo::exists(path))
        return true;
    const bool removed = updateIniFile(path, IniEncoding::Utf8, [&](IniDocument& stored) {
        return stored.removeSection(section) ? IniChange::Changed : IniChange::Unchanged;
    });
    m_cache->forget(path);
    return removed;
}

} // namespace valdora
