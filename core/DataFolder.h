#pragma once

#include <QString>

namespace valdora {

// The files a program of the suite writes beside itself (the default settings folder and its
// settings file, the default counter files, error.log, the lookup file handed to the host,
// Keelbrook's error report) lie in its data folder. That is the program folder when the user can
// write there (a build folder, a portable copy), and otherwise the suite's folder in the user's data
// home: an installed program folder belongs to root, and every user keeps files of their own.

/// The choice itself, for a program folder whose writability is known.
QString chooseDataFolder(const QString& programFolder, bool programFolderWritable,
                         const QString& userDataFolder);

/// True when the user can create files in `folder`: it is a folder the user may write in, or it does
/// not exist yet and the nearest existing folder above it is one.
bool canCreateFilesIn(const QString& folder);

/// The suite's folder in the user's data home, shared by all its programs:
/// "$XDG_DATA_HOME/Valdora", by default "~/.local/share/Valdora". Without a trailing separator.
QString userDataFolder();

/// The data folder of a program folder, decided at each call, so that it follows the folder as it is
/// now. When the choice is the user's data folder, that folder is created if missing, since the
/// files that go there are opened in it directly. Without a trailing separator.
QString dataFolderFor(const QString& programFolder);

} // namespace valdora
