#include "ConsolePlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>

namespace valdora {

namespace {

/// The program file a start names: a path as it is (a relative one from the working folder, as the
/// shell takes it), a bare name from the working folder or else from the search path.
QString resolvedProgram(const ProgramStart& start)
{
    const QFileInfo named(start.program);
    const QDir working(start.workingFolder.isEmpty() ? QDir::currentPath() : start.workingFolder);
    if (named.isAbsolute())
        return start.program;
    const QString inWorking = working.absoluteFilePath(start.program);
    if (QFileInfo(inWorking).isFile())
        return inWorking;
    if (start.program.contains(u'/'))
        return inWorking;
    return QStandardPaths::findExecutable(start.program);
}

} // namespace

bool startDetached(const ProgramStart& start)
{
    if (start.program.isEmpty())
        return false;
    const QString program = resolvedProgram(start);
    const QFileInfo file(program);
    if (program.isEmpty() || !file.isFile() || !file.isExecutable())
        return false;
    if (!start.workingFolder.isEmpty() && !QFileInfo(start.workingFolder).isDir())
        return false;
    QProcess process;
    process.setProgram(program);
    process.setArguments(start.arguments);
    process.setWorkingDirectory(start.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

MessageAnswer ConsolePlatform::showMessage(const MessageRequest& request)
{
    // One line per message box: line breaks inside the text become " / ".
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QChar(u'\r'), QStringLiteral(" / "));
    text.replace(QChar(u'\n'), QStringLiteral(" / "));
    const QString line = request.title.isEmpty() ? text : request.title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    return defaultAnswer(request);
}

std::optional<QString> ConsolePlatform::askOpenFile(const FileRequest&)
{
    return std::nullopt;
}

std::optional<QString> ConsolePlatform::askSaveFile(const FileRequest&)
{
    return std::nullopt;
}

std::optional<quint32> ConsolePlatform::askColour(quint32)
{
    return std::nullopt;
}

void ConsolePlatform::setClipboardText(const QString&) {}

bool ConsolePlatform::startProgram(const ProgramStart& start)
{
    return startDetached(start);
}

bool ConsolePlatform::openDocument(const QString&)
{
    return false;
}

} // namespace valdora
