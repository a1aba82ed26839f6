#pragma once

#include "editor/EditorState.h"

#include <QString>

namespace valdora::editor {

/// How the trigger-choice window was left.
enum class TriggerChoice {
    Closed,          ///< its Close button or close box: the editor stays as it was
    LaunchKeelbrook, ///< the user asked to launch Keelbrook (the database path has been stored)
};

/// The windows the editor opens besides message boxes and file dialogs: the program shows its forms,
/// tests answer from a script. Each is modal.
class EditorScreens {
public:
    virtual ~EditorScreens() = default;

    /// The AutoNumber page's field options; true when OK took the dialog's entries into `page`.
    virtual bool fieldOptions(AutoNumberPage& page) = 0;
    /// The dialog of conditions 6 to 20: its rows live in `state` (rows 5-19). `focusControl`, when
    /// not empty, names the row control to focus once it is shown, as the save's checks name it
    /// ("txtValueTab17").
    virtual void moreConditions(EditorState& state, const QString& focusControl) = 0;
    /// The dialog of Combo members 9 to 20 (rows 8-19 of `state`); `focusControl` as above.
    virtual void moreMembers(EditorState& state, const QString& focusControl) = 0;
    /// The trigger choice behind "Settings...".
    virtual TriggerChoice triggerChoice() = 0;
    /// The start-up and close options of the bar.
    virtual void startOptions() = 0;
    /// The language choice.
    virtual void languages() = 0;
    /// The settings-file location window.
    virtual void settingsLocation() = 0;
    /// The integration with the host's toolbars and Tools menu; true when the user asked for the host's
    /// restart, which closes the editor and ends the bar.
    virtual bool integrate() = 0;
    /// The online help page.
    virtual void onlineHelp() = 0;
    /// Whether the program offers the settings-file location and integration windows; their menu items
    /// are disabled otherwise (a program or test without a running host's bar).
    virtual bool offersSettingsLocation() const { return false; }
    virtual bool offersIntegration() const { return false; }
};

} // namespace valdora::editor
