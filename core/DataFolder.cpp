#include "DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace valdora {

QString chooseDataFolder(const QString& programFolder, bool programFolderWritable,
                         const QString& userDataFolder)
{
    return programFolderWritable ? programFolder : userDataFolder;
}

bool canCreateFilesIn(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // A folder that is not there yet is made by whoever writes the first file: what counts is
    // whether the user may create it.
    QFileInfo info(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return false;
        info = QFileInfo(parent);
    }
    return info.isDir() && info.isWritable();
}

QString userDataFolder()
{
    // Fixed rather than QStandardPaths::AppDataLocation, which differs per program: Valdora and
    // ValdoraAuto share the settings folder and the counter files.
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir::toNativeSeparators(QDir::cleanPath(home + QStringLiteral("/Valdora")));
}

QString dataFolderFor(const QString& programFolder)
{
    const QString chosen = chooseDataFolder(programFolder, canCreateFilesIn(programFolder), userDataFolder());
    if (chosen != programFolder)
        QDir().mkpath(chosen);
    return chosen;
}

} // namespace valdora
