#include "SettingsUpgrade.h"

#include "settings/ButtonFile.h"
#include "settings/ButtonFileName.h"
#include "settings/FixedTexts.h"
#include "settings/IniDocument.h"
#include "settings/IniFileUpdate.h"
#include "settings/SettingsLocation.h"
#include "settings/UserKey.h"

#include "core/ErrorReport.h"
#include "core/FileLock.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace valdora::bar {

namespace {

// Versions from 3.0.0 on store "300" and above.
const QString FirstFileVersion = QStringLiteral("300");

const Routine UpgradeRoutine{"modUpgrade", RoutineKind::Sub, "runUpgrade"};

// The sections of the per-user store that hold the program's own settings, not buttons. The scopes
// remembered per button are the program's too: turned into a file they would become a button.
bool isProgramSection(const QString& section)
{
    static const std::array kept{UserKey::Options, UserKey::Settings, UserKey::Progress, UserKey::LastScope};
    for (const QString& name : kept) {
        if (section.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// A section name becomes a file name in the button folder: it must not lead out of it.
bool namesAFileOfTheFolder(const QString& section)
{
    return !section.isEmpty() && !section.contains(u'/') && !section.contains(u'\\') &&
           !section.contains(u'\0') && section != u"." && section != u"..";
}

// A button file's value as the button files hold it.
QString convertedValue(const QString& key, QString value)
{
    // A member of a combined button names the member's identifier; its file name is what the button
    // files hold. A slot without a member stays empty rather than naming a file ".ini".
    if (key.startsWith(ButtonKey::ButtonName, Qt::CaseInsensitive))
        return value.isEmpty() ? value : buttonFileNameOf(value);
    // Values that spanned lines in the store keep their breaks as "|" in the one-line INI value.
    value.replace(u'\r', u'|');
    return value;
}

// The whole button file of one section: "[Settings]" and every key, nothing of an earlier file.
std::optional<IniDocument> buttonDocument(const UserSettings& userSettings, const QString& section,
                                          const QStringList& keys)
{
    IniDocument document(IniEncoding::Cp1252);
    for (const QString& key : keys) {
        const QString value = userSettings.get(Application::Valdora, section, key);
        if (!document.setValue(ButtonKey::Section, key, convertedValue(key, value)))
            return std::nullopt;
    }
    return document;
}

bool writeWhole(const QString& path, const IniDocument& content)
{
    const QByteArray bytes = content.serialize();
    return updateIniFile(path, IniEncoding::Cp1252, [&](IniDocument& stored) {
        if (stored.serialize() == bytes)
            return IniChange::Unchanged;
        stored = content;
        return IniChange::Changed;
    });
}

// A description that names what could not be written, for the failure report.
QString describe(ErrorNumber number, const QStringList& names)
{
    return standardDescription(number) + QStringLiteral(": ") + names.join(QStringLiteral(", "));
}

// Stores the settings file the user chose and makes it the session's; throws when the choice cannot
// be stored, since the next start would not find the converted buttons then.
void useSettingsFile(ProgramSession& session, const QString& path)
{
    if (!session.userSettings().set(Application::Valdora, UserKey::Settings, UserKey::IniLocation, path))
        throw Failure(
            ErrorNumber::PermissionDenied,
            describe(ErrorNumber::PermissionDenied, {session.userSettings().filePath(Application::Valdora)}));
    session.setSettingsFile(path);
}

// The new settings file: created holding one blank line, as the default one is, when it is missing.
void createSettingsFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return;
    if (!replaceFileAtomically(path, QByteArrayLiteral(" \r\n")))
        throw Failure(ErrorNumber::PathFileAccessError, describe(ErrorNumber::PathFileAccessError, {path}));
}

} // namespace

FileRequest existingSettingsFileRequest()
{
    return {.title = fixedtexts::UpgradeOpenTitle,
            .filter = fixedtexts::UpgradeOpenFilter,
            .folder = {},
            .fileName = {}};
}

FileRequest newSettingsFileRequest(const QString& dataFolder)
{
    return {.title = {},
            .filter = fixedtexts::UpgradeSaveFilter,
            .folder = SettingsLocation::defaultSettingsFolder(dataFolder),
            .fileName = fixedtexts::UpgradeSaveFileName};
}

bool upgradeIsDue(const QString& storedVersion)
{
    // A text comparison, as the versions have always been compared: "1000" sorts before "300".
    return !storedVersion.isEmpty() && storedVersion < FirstFileVersion;
}

ConversionResult convertButtonSections(const UserSettings& userSettings, const QString& buttonFolder)
{
    ConversionResult result;
    // A relative folder would put the files wherever the program happens to run.
    const bool folderUsable = !buttonFolder.isEmpty() && QDir::isAbsolutePath(buttonFolder);
    const QStringList sections = userSettings.sections(Application::Valdora);
    for (const QString& section : sections) {
        if (isProgramSection(section))
            continue;
        const QStringList keys = userSettings.keys(Application::Valdora, section);
        if (keys.isEmpty())
            continue;
        if (!namesAFileOfTheFolder(section)) {
            result.refused << section;
            continue;
        }
        const QString path = buttonFolder + buttonFileNameOf(section);
        const std::optional<IniDocument> document = buttonDocument(userSettings, section, keys);
        if (folderUsable && document && writeWhole(path, *document))
            result.written << path;
        else
            result.failed << path;
    }
    return result;
}

UpgradeEnd runUpgrade(ProgramSession& session, UpgradeScreens& screens)
{
    UpgradeEnd end = UpgradeEnd::Cancelled;
    trapped(session.reporter(), UpgradeRoutine, [&] {
        const UpgradeAnswer answer = screens.askUpgrade();
        if (answer.kind == UpgradeAnswer::Kind::Cancelled)
            return;
        if (answer.kind == UpgradeAnswer::Kind::ExistingFile) {
            useSettingsFile(session, answer.existingFile);
            end = UpgradeEnd::ExistingSettingsFile;
            return;
        }

        // Not fatal when it fails: the save dialog then opens elsewhere, and start-up tries again.
        SettingsLocation::ensureDefaultSettingsFolder(session.dataFolder());
        const std::optional<QString> location = screens.askSettingsFileLocation();
        if (!location)
            return;
        useSettingsFile(session, *location);
        createSettingsFile(*location);

        const ConversionResult result = convertButtonSections(session.userSettings(), session.buttonFolder());
        if (!result.refused.isEmpty()) {
            // Not buttons: reported so that nothing disappears unseen, but the upgrade goes on.
            session.reporter().report(Failure(ErrorNumber::PathFileAccessError,
                                              describe(ErrorNumber::PathFileAccessError, result.refused)),
                                      UpgradeRoutine);
        }
        if (!result.succeeded())
            throw Failure(ErrorNumber::PathFileAccessError,
                          describe(ErrorNumber::PathFileAccessError, result.failed));
        end = UpgradeEnd::Converted;
    });
    return end;
}

} // namespace valdora::bar
