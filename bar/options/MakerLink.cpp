#include "MakerLink.h"

#include "core/FileLock.h"
#include "settings/Cp1252.h"
#include "settings/MessageId.h"

#include <QDir>
#include <QFileInfo>

namespace valdora::bar {

namespace {
const QString LinksFolder = QStringLiteral("NetLinks");
} // namespace

QString makerLinkPath(const QString& hostFolder)
{
    return QDir(QDir(hostFolder).filePath(LinksFolder)).filePath(MakerLinkFileName);
}

QString makerLinkLine(const Messages& messages)
{
    return u'[' + messages.get(MessageId::MakerPageMenuItem) + u']' + MessageTable::makerWebPage();
}

bool Create_LinkMenuItem(const ProgramSession& session, const QString& hostFolder)
{
    const QString path = makerLinkPath(hostFolder);
    if (QFileInfo::exists(path))
        return false;
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        throw Failure(ErrorNumber::PathNotFound,
                      standardDescription(ErrorNumber::PathNotFound) + QStringLiteral(": ") + folder);
    const QByteArray content = Cp1252::encode(makerLinkLine(session.messages()) + QStringLiteral("\r\n"));
    if (!replaceFileAtomically(path, content))
        throw Failure(ErrorNumber::PathFileAccessError,
                      standardDescription(ErrorNumber::PathFileAccessError) + QStringLiteral(": ") + path);
    return true;
}

} // namespace valdora::bar
