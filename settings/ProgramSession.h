#pragma once

#include "IniLib.h"
#include "MessageTable.h"
#include "UserSettings.h"

#include "core/DataFolder.h"
#include "core/ErrorReport.h"
#include "core/Platform.h"
#include "core/TextLocale.h"

#include <QString>

namespace valdora {

/// The program-wide values of one running program of the suite, in one place: the platform seam,
/// the failure reporter, the INI library with its current settings file, the per-user store, the
/// messages in the current language, the user's locale, the application title, the program folder,
/// the settings file path and the button folder. Every routine of Valdora and ValdoraAuto is given
/// one; tests build one over a ScriptedPlatform with pinned folders and locale.
class ProgramSession {
public:
    ProgramSession(Platform& platform, QString applicationTitle, QString programFolder,
                   UserSettings userSettings = UserSettings(), TextLocale locale = TextLocale(),
                   const MessageTable& table = MessageTable::valdora());
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    Platform& platform() const { return m_platform; }
    const ErrorReporter& reporter() const { return m_reporter; }
    IniLib& ini() { return m_ini; }
    const IniLib& ini() const { return m_ini; }
    const UserSettings& userSettings() const { return m_userSettings; }
    Messages& messages() { return m_messages; }
    const Messages& messages() const { return m_messages; }
    const TextLocale& locale() const { return m_locale; }
    const QString& applicationTitle() const { return m_applicationTitle; }
    /// The folder of the running program, without a trailing separator.
    const QString& programFolder() const { return m_programFolder; }
    /// Where the files the program writes beside itself go (see dataFolderFor): the program folder
    /// when the user can write there, else the user's data folder. Asked anew at each call.
    QString dataFolder() const { return dataFolderFor(m_programFolder); }

    /// The settings file in use; also the INI library's current settings file.
    const QString& settingsFilePath() const { return m_ini.currentSettingsFile(); }
    /// The folder of the settings file, ending with the separator: where the button files lie.
    const QString& buttonFolder() const { return m_buttonFolder; }
    /// Sets the settings file path and, from it, the button folder.
    void setSettingsFile(const QString& path);
    /// The full path of a button file of the button folder ("~100.ini").
    QString buttonFilePath(const QString& fileName) const { return m_buttonFolder + fileName; }

    /// A message box captioned with the application title.
    MessageAnswer showMessage(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                              MessageIcon icon = MessageIcon::None, int defaultButton = 0) const;

private:
    Platform& m_platform;
    QString m_applicationTitle;
    QString m_programFolder;
    UserSettings m_userSettings;
    TextLocale m_locale;
    Messages m_messages;
    ErrorReporter m_reporter;
    IniLib m_ini;
    QString m_buttonFolder;
};

} // namespace valdora
