#pragma once

#include "UserSettings.h"

#include <QString>

namespace valdora {

class ProgramSession;

/// Where the settings file and the button files lie. The folder these defaults start from is the
/// program's data folder (ProgramSession::dataFolder): the program folder unless the user cannot
/// write there, as in an installed suite.
namespace SettingsLocation {

/// "<data folder>/Settings", spelled as it exists when a folder of that name in another case
/// is there (so a folder copied from a case-blind file system is found).
QString defaultSettingsFolder(const QString& dataFolder);

/// Makes sure the default settings folder exists: when it is missing, creates it and in it
/// "valdora.ini" holding one line with a single blank. An existing folder is left alone, even
/// without the file. False when the folder or the file could not be created.
bool ensureDefaultSettingsFolder(const QString& dataFolder);

/// The settings file used when "Settings"/"IniLocation" is absent: the default settings folder,
/// then the application title and ".ini"; a file of that name in another case ("valdora.ini" for
/// "Valdora") is taken when it exists, since it is the one the default folder was created with.
QString defaultSettingsFilePath(const QString& dataFolder, const QString& applicationTitle);

/// The settings file at start-up: "Settings"/"IniLocation" of application Valdora, or the default
/// when it is absent or empty.
QString settingsFilePathAtStartUp(const UserSettings& userSettings, const QString& dataFolder,
                                  const QString& applicationTitle);

/// The settings file a program of the suite starts with, decided in one place for Valdora,
/// ValdoraAuto and Keelbrook, so that they all find the same button files: the one above, from the
/// session's per-user store and its data folder (never the program folder itself, which an ordinary
/// user of an installed suite cannot write).
QString settingsFilePathAtStartUp(const ProgramSession& session,
                                  const QString& applicationTitle = QStringLiteral("Valdora"));

/// The button folder of a settings file: its path up to and including the last separator; empty
/// when the path has none.
QString buttonFolderOf(const QString& settingsFilePath);

/// The default of "Settings"/"IniFolder" (the folder of AutoNumber counter files): the data folder
/// and a separator.
QString defaultCounterFolder(const QString& dataFolder);

} // namespace SettingsLocation

} // namespace valdora
