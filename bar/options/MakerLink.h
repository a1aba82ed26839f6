#pragma once

#include "settings/ProgramSession.h"

#include <QString>

namespace valdora::bar {

/// The name of the link file in the host's web-links folder.
inline const QString MakerLinkFileName = QStringLiteral("Valdora.url");

/// The path of the link file under the host's program folder: "<host folder>/NetLinks/Valdora.url".
QString makerLinkPath(const QString& hostFolder);

/// The line the link file holds: the menu caption (row 312) in square brackets, then the address of
/// the maker's page.
QString makerLinkLine(const Messages& messages);

/// Puts the link to the maker's page into the host's web-links menu: writes the link file, creating
/// the "NetLinks" folder when it is missing, unless the file exists already (a link the user edited
/// stays as it is). Returns true when the file was written. Throws Failure(PathFileAccessError) when
/// the folder or the file cannot be made.
bool Create_LinkMenuItem(const ProgramSession& session, const QString& hostFolder);

} // namespace valdora::bar
