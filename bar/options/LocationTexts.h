#pragma once

#include <QString>

// The texts of the settings-file location window. They are not rows of the message table: the window
// reads the same in every language. Each is spelled here once.
namespace valdora::bar::locationtexts {

inline const QString Caption = QStringLiteral("Settings File Location");
inline const QString CurrentLocation = QStringLiteral("Current location of the Settings File:");
inline const QString Browse = QStringLiteral("Select another Settings file");
inline const QString Copy = QStringLiteral("Copy to another location");
inline const QString Ok = QStringLiteral("&OK");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString NetworkUse = QStringLiteral("Network use: sharing your settings");
inline const QString BrowseExplained = QStringLiteral(
    "Use 'Select another Settings file' to pick a different Settings file than the default one.");
inline const QString CopyExplained = QStringLiteral(
    "Use 'Copy to another location' to copy your Settings file as well as all buttons files to a "
    "new location that can be accessed by all workstations.");
/// The filter of both file dialogs.
inline const QString IniFilter = QStringLiteral("ini Files (*.ini)|*.ini");
/// After another settings file was chosen.
inline const QString RestartNeeded =
    QStringLiteral("You will need to re-start Valdora for the changes to take effect.");
/// Before a copy over a folder that has a settings file at the chosen name.
inline const QString OverwriteQuestion =
    QStringLiteral("This location already contains a Valdora settings file. Do you want to overwrite it?");
/// OK with a path that names no file.
inline const QString InvalidFile = QStringLiteral("Invalid file specified!");

} // namespace valdora::bar::locationtexts
