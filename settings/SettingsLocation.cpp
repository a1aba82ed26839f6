#include "SettingsLocation.h"

#include "settings/UserKey.h"

#include "ProgramSession.h"

#include "core/FileLock.h"
#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace valdora::SettingsLocation {

namespace {

// The entry of `folder` whose name equals `name` without regard to case, preferring the exact
// spelling; `name` itself when none exists.
QString existingSpelling(const QString& folder, const QString& name, QDir::Filters kind)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QStringList entries =
        QDir(folder).entryList(kind | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString defaultSettingsFolder(const QString& dataFolder)
{
    const QString folder = QDir::cleanPath(dataFolder);
    return folder + QLatin1Char('/') + existingSpelling(folder, QStringLiteral("Settings"), QDir::Dirs);
}

bool ensureDefaultSettingsFolder(const QString& dataFolder)
{
    const QString folder = defaultSettingsFolder(dataFolder);
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    return replaceFileAtomically(folder + QStringLiteral("/valdora.ini"), QByteArrayLiteral(" \r\n"));
}

QString defaultSettingsFilePath(const QString& dataFolder, const QString& applicationTitle)
{
    const QString folder = defaultSettingsFolder(dataFolder);
    return folder + QLatin1Char('/') +
           existingSpelling(folder, applicationTitle + QStringLiteral(".ini"), QDir::Files);
}

QString settingsFilePathAtStartUp(const UserSettings& userSettings, const QString& dataFolder,
                                  const QString& applicationTitle)
{
    // A stored empty path would make the current folder the button folder: it counts as absent.
    const QString stored = userSettings.get(Application::Valdora, UserKey::Settings, UserKey::IniLocation);
    return stored.isEmpty() ? defaultSettingsFilePath(dataFolder, applicationTitle) : stored;
}

QString settingsFilePathAtStartUp(const ProgramSession& session, const QString& applicationTitle)
{
    return settingsFilePathAtStartUp(session.userSettings(), session.dataFolder(), applicationTitle);
}

QString buttonFolderOf(const QString& settingsFilePath)
{
    const qsizetype last = settingsFilePath.lastIndexOf(QDir::separator());
    return last >= 0 ? settingsFilePath.left(last + 1) : QString();
}

QString defaultCounterFolder(const QString& dataFolder)
{
    return withTrailingSeparator(dataFolder);
}

} // namespace valdora::SettingsLocation
