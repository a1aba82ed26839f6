#pragma once

#include "settings/ProgramSession.h"
#include "settings/UserSettings.h"

#include "core/Failure.h"

#include <QString>
#include <QStringList>

namespace valdora::bar {

/// Everything the language window shows, ready to put into its controls.
struct LanguageWindowState {
    QString title;  ///< the window's title
    QString label;  ///< Label1
    QString ok;     ///< cmdOK
    QString cancel; ///< cmdCancel
    bool cancelVisible = true;
    QStringList languages; ///< cmbLanguage's entries: "English", "Français", "Deutsch"
    int selected = 0;      ///< the entry of the stored language

    friend bool operator==(const LanguageWindowState&, const LanguageWindowState&) = default;
};

/// Whether the language has not been chosen yet: "Settings"/"Installed" is absent, blank or
/// numerically 0. Throws Failure(TypeMismatch) for a marker that is no number.
bool isFirstRun(const ProgramSession& session, Where where = Where::current());

/// Marks the first run as done: "Settings"/"Installed" = "1". False when it could not be stored.
bool storeInstalled(const UserSettings& userSettings);

/// The language window as it opens. At the first run: the application title, the bilingual fixed
/// label and no Cancel, since a language must be chosen; later: rows 348 and 349 (followed by " :")
/// in the current language. The entry of "Options"/"Language" is selected (English when absent).
/// Throws Failure(TypeMismatch) when the stored language or first-run marker is no number; the
/// caller's trap reports it.
LanguageWindowState languageWindowState(const ProgramSession& session, Where where = Where::current());

/// Stores the chosen entry (0 English, 1 French, 2 German) as "Options"/"Language". False when the
/// entry is none of them or the store could not be written.
bool storeLanguageChoice(const UserSettings& userSettings, int entry);

/// After the language window of a running program stored a choice: a language other than the one the
/// program runs in takes effect at the next start of each program, which message 473 says. False (and
/// nothing shown) when the stored language is the running one.
bool announceLanguageAtNextStart(ProgramSession& session);

} // namespace valdora::bar
