#pragma once

#include "RunChoice.h"

#include "run/ScopeChooser.h"

#include <QString>

namespace valdora::bar {

/// The windows the bar's logic opens besides message boxes: the program shows its forms, tests
/// answer from a script. Each is modal unless said otherwise.
class BarScreens {
public:
    virtual ~BarScreens() = default;

    /// The upgrade of settings kept by versions before 3.0.0 (its two windows and the conversion of
    /// the stored buttons). False when the user cancelled it.
    virtual bool upgradeSettings() = 0;
    /// The splash screen, shown without waiting and painted at once; and its end.
    virtual void showSplash() = 0;
    virtual void closeSplash() = 0;
    /// The language window; it stores the choice itself.
    virtual void chooseLanguage() = 0;
    /// The button editor for a slot of the bar (the "New" slot for a new button).
    virtual void openEditor(int slot) = 0;
    /// The trigger-syntax window holding this command.
    virtual void showTriggerSyntax(const QString& syntax) = 0;
    /// The preview of a run of that button over that scope, shown over the scope dialog; true when
    /// the user chose to run the button from it.
    virtual bool previewRun(const QString& buttonFileName, run::Scope scope) = 0;
    /// The schedule window of that button, for runs on `database` (the one open now) with nobody at
    /// the screen. Screens without it show nothing.
    virtual void openSchedule(const QString& buttonFileName, const QString& database)
    {
        Q_UNUSED(buttonFileName);
        Q_UNUSED(database);
    }
    /// The list of the journal's runs (newest first) with `preselected` chosen at first; what the user
    /// chose to do with which run, nullopt when the list was closed.
    virtual std::optional<RunChoice> chooseRun(const std::vector<ListedRun>& runs,
                                               std::optional<qint64> preselected) = 0;
};

} // namespace valdora::bar
