#include "ReplaceFaultSupport.h"

#include "core/FileReplaceFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace valdora::test {

QStringList temporariesBeside(const QString& file)
{
    const QFileInfo info(file);
    const QString lock = QLatin1Char('.') + info.fileName() + QStringLiteral(".lock");
    QStringList found =
        info.absoluteDir().entryList({QLatin1Char('.') + info.fileName() + QStringLiteral(".*")},
                                     QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    found.removeAll(lock);
    return found;
}

int replaceStepsOf(const std::function<void()>& action)
{
    const FileReplaceFaults counting;
    action();
    return counting.steps();
}

std::optional<QByteArray> contentOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace valdora::test
