#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace valdora {

QString programFolder()
{
    static const QString folder = [] {
        const QString overridden = qEnvironmentVariable("VALDORA_PROGRAM_FOLDER");
        if (!overridden.isEmpty())
            return QDir::toNativeSeparators(QDir::cleanPath(overridden));
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    }();
    return folder;
}

QString withTrailingSeparator(const QString& folder)
{
    const QChar separator = QDir::separator();
    return folder.endsWith(separator) ? folder : folder + separator;
}

} // namespace valdora
