#include "IniFileUpdate.h"

#include "core/FileLock.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace valdora {

namespace {

// A link is followed, so that the file it names is changed and the link stays a link.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// Read-only as the user means it: no write bit at all, even for a superuser who could write anyway.
bool isReadOnlyFile(const QByteArray& path)
{
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return false;
    return !S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(path.constData(), W_OK) != 0;
}

} // namespace

bool updateIniFile(const QString& path, IniEncoding encoding,
                   const std::function<IniChange(IniDocument&)>& change)
{
    if (path.isEmpty())
        return false;
    const QString target = resolvedTarget(path);
    const QByteArray name = QFile::encodeName(target);
    const FileLock lock(target);
    if (!lock.isLocked())
        return false;

    IniDocument document(encoding);
    QFile file(target);
    if (file.exists()) {
        if (isReadOnlyFile(name) || !file.open(QIODevice::ReadOnly))
            return false;
        document = IniDocument::parse(file.readAll(), encoding);
        file.close();
    }
    switch (change(document)) {
    case IniChange::Refused:
        return false;
    case IniChange::Unchanged:
        return true;
    case IniChange::Changed:
        break;
    }
    return replaceFileAtomically(target, document.serialize());
}

} // namespace valdora
