#pragma once

#include <QString>

namespace valdora {

/// The sections and keys of the per-user store (UserSettings), each name written once. Sections and
/// keys are matched without regard to case, but are written as spelled here.
namespace UserKey {

// Sections of application Valdora.
/// The program's own settings: where the settings file lies, the bar's place and start options.
inline const QString Settings = QStringLiteral("Settings");
/// The language choice.
inline const QString Options = QStringLiteral("Options");
/// A button run's progress, written by the run and read by the progress window.
inline const QString Progress = QStringLiteral("Progress");
/// The scope last chosen for each button, keyed by its button file.
inline const QString LastScope = QStringLiteral("LastScope");

// "Settings" of application Valdora.
/// The version that last started, as "313".
inline const QString Version = QStringLiteral("Version");
/// The full path of the settings file in use.
inline const QString IniLocation = QStringLiteral("IniLocation");
/// The folder new AutoNumber counter files go to, ending with the separator.
inline const QString IniFolder = QStringLiteral("IniFolder");
/// The bar's window identifier, for a second instance.
inline const QString Hwnd = QStringLiteral("Hwnd");
/// "1" once the first run's language question was answered.
inline const QString Installed = QStringLiteral("Installed");
/// The bar's position in twips.
inline const QString Top = QStringLiteral("Top");
inline const QString Left = QStringLiteral("Left");
/// "1": the bar starts in the notification area.
inline const QString StartBar = QStringLiteral("startBar");
/// "1": the close box hides the bar to the notification area.
inline const QString NotClose = QStringLiteral("NotClose");
/// The highest field id a run has seen.
inline const QString MaxFields = QStringLiteral("MaxFields");

// "Options" of application Valdora.
/// The language entry: 0 English, 1 French, 2 German.
inline const QString Language = QStringLiteral("Language");

// "Progress" of application Valdora.
inline const QString Status = QStringLiteral("Status");
inline const QString Stage = QStringLiteral("Stage");
inline const QString Total = QStringLiteral("Total");
/// "1" while the run waits for an answer to a message box.
inline const QString Waiting = QStringLiteral("Waiting");
/// The closing summary of a run over many contacts.
inline const QString Summary = QStringLiteral("Summary");

// "Settings" of application Keelbrook.
/// The database Keelbrook opens first; Valdora writes it before it starts Keelbrook.
inline const QString LastDB = QStringLiteral("LastDB");
/// The user name of the last log-in.
inline const QString LastUser = QStringLiteral("LastUser");

} // namespace UserKey

} // namespace valdora
