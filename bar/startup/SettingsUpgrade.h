#pragma once

#include "UpgradeScreens.h"

#include "settings/ProgramSession.h"
#include "settings/UserSettings.h"

#include <QString>
#include <QStringList>

namespace valdora::bar {

/// Whether settings stored by a version before 3.0.0 must be upgraded: the stored "Settings"/"Version"
/// is not empty and sorts before "300" as text ("220" and "1000" do, "" and "313" do not).
bool upgradeIsDue(const QString& storedVersion);

/// The file-open dialog in which the user picks a settings file another workstation converted into.
FileRequest existingSettingsFileRequest();

/// The file-save dialog for the new settings file: "valdora.ini" preset in the default settings
/// folder of `dataFolder` (see ProgramSession::dataFolder).
FileRequest newSettingsFileRequest(const QString& dataFolder);

/// What the conversion of the per-user button sections into button files did.
struct ConversionResult {
    /// The button files written, full paths in the order of the sections.
    QStringList written;
    /// The button files that could not be written (folder missing or read-only, file in use, a key or
    /// value that an INI file cannot hold).
    QStringList failed;
    /// Sections with keys whose names cannot name a file of the button folder ("a/b", ".."): not
    /// buttons, so nothing is written for them.
    QStringList refused;

    bool succeeded() const { return failed.isEmpty(); }
};

/// Turns every button section of application Valdora in the per-user store into a button file of
/// `buttonFolder` (which ends with a separator): a section with at least one key that is not
/// "Options", "Settings", "Progress" or "LastScope" becomes "<buttonFolder><section>.ini" holding
/// "[Settings]" and each of its keys. A key whose name begins with "ButtonName" (a member of a combined
/// button) gets
/// ".ini" appended to its value unless the value is empty; every other value has each CR replaced by
/// "|". A file of that name
/// is replaced whole. The per-user sections stay. A folder that is not an absolute path gets no files:
/// every button then counts as failed.
ConversionResult convertButtonSections(const UserSettings& userSettings, const QString& buttonFolder);

/// How the upgrade ended.
enum class UpgradeEnd {
    Converted,            ///< the buttons are button files beside the new settings file
    ExistingSettingsFile, ///< the user chose a settings file converted before; it is the session's now
    Cancelled,            ///< the user cancelled, or something could not be stored: the program ends
};

/// The upgrade of settings stored by a version before 3.0.0, which kept the buttons in the per-user
/// store. Asks the user (convert, or use an existing settings file); for an existing file stores it as
/// "Settings"/"IniLocation" and makes it the session's settings file. Otherwise makes sure the default
/// settings folder exists, asks where the new settings file goes, stores that location the same way,
/// creates the file when it is missing and converts the button sections into its folder.
///
/// A failure (the location or a button file that could not be written) is reported through the
/// session's reporter and ends the upgrade as Cancelled, so that it is offered again at the next
/// start instead of being taken as done.
UpgradeEnd runUpgrade(ProgramSession& session, UpgradeScreens& screens);

} // namespace valdora::bar
