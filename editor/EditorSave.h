#pragma once

#include "EditorState.h"

#include "settings/IniLib.h"
#include "settings/UserSettings.h"

#include <QString>

namespace valdora::editor {

/// What the writes of the save need beside the editor's entries.
struct SaveEnvironment {
    const IniLib& ini;
    const UserSettings& userSettings;
    QString buttonFolder;  ///< ends with the separator
    QString counterFolder; ///< "Settings"/"IniFolder", ending with the separator
    const FieldListModel& fields;
    QString databasePath;   ///< the open database's path ("DB"); its file name is "_DB"
    QString lastButtonFile; ///< the last button file listed or created: a new one is numbered after it
};

/// How the writes ended.
struct SaveOutcome {
    bool written = false; ///< false when a file could not be written; the keys before it stay
    QString fileName;     ///< the button's file ("~100.ini"); for a new button the name just made
};

/// The button the entries make, as saveButton writes it: the chosen scheme's page, the fields with
/// their ids and types from the field list, "FontBold" and "ForeColor" as given.
ButtonValue buttonValueOf(const EditorState& state, const SaveEnvironment& environment,
                          const QString& fontBold, const QString& foreColor);

/// The counter file an AutoNumber button is saved with: the chosen one, else the default for its
/// caption in the counter folder.
QString counterFileOf(const EditorState& state, const SaveEnvironment& environment);

/// Writes the button once its checks have passed: for a new button its file name (never one that
/// exists); the button's section of the per-user store removed; the counter file of an AutoNumber
/// button (before any key, so that a counter that cannot be written leaves the button file as it
/// was); then every key through saveButton, "DB" last. "FontBold" and "ForeColor" are read back
/// from the file, where the bar may have changed them while the editor was open.
SaveOutcome saveEditorState(const EditorState& state, const SaveEnvironment& environment);

} // namespace valdora::editor
