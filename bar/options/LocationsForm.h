#pragma once

#include "settings/ProgramSession.h"

#include <QString>

namespace valdora::bar {

/// What the settings-file location window does, without the window: it keeps the path it opened with,
/// the path chosen since and the text of its path box, browses for another settings file, copies the
/// settings file and the button files to another folder, and stores the choice. The window only shows
/// pathText() and calls these. Every file dialog goes through the session's platform; a cancelled
/// dialog changes nothing.
class LocationsForm {
public:
    explicit LocationsForm(ProgramSession& session);

    /// The window opens: both paths are the settings file in use, which is created (one blank line)
    /// when it does not exist. False when it could not be created; the window opens all the same.
    bool Form_Activate();

    /// Asks for another settings file (file-open dialog in the folder of the path box, the program
    /// folder when that folder is missing). A different file goes into the path box with the restart
    /// message. True when a file was chosen.
    bool cmdBrowse_Click();

    /// Asks where to copy (file-save dialog as for browsing). When the file of the path box exists it
    /// is copied there, after the overwrite question when a file is there already (No: nothing
    /// changes), and with it every file of its folder whose name begins with "~" (the button files;
    /// counter files are not copied). When it does not exist, the chosen file is created holding one
    /// blank line (an existing file there is kept). The path box then shows the chosen file. A failed
    /// copy throws Failure(PathFileAccessError) naming the file: the files already copied stay, the
    /// path box and the chosen path keep what they had.
    void cmdCopy_Click();

    /// Stores the chosen path as "Settings"/"IniLocation" and its folder (with the separator) as
    /// "Settings"/"IniFolder", and makes it the settings file of the running program when it differs
    /// from the one the window opened with (the button folder stays until the next start). False, after
    /// "Invalid file specified!", when the chosen path names no file: the window stays open. Throws
    /// Failure(PermissionDenied) when the per-user store cannot be written.
    bool cmdOK_Click();

    /// The text of the path box.
    const QString& pathText() const { return m_pathText; }
    /// The path chosen so far.
    const QString& selectedPath() const { return m_selectedPath; }
    /// The settings file in use when the window opened.
    const QString& startingPath() const { return m_startingPath; }

private:
    /// The file dialog's starting folder and preset name, from the path box.
    struct DialogStart {
        QString folder;
        QString fileName;
    };
    DialogStart dialogStart() const;
    void copySettings(const QString& target);

    ProgramSession& m_session;
    QString m_startingPath;
    QString m_selectedPath;
    QString m_pathText;
};

} // namespace valdora::bar
