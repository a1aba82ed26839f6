#include "ConsolePlatform.h"

#include "ScriptedPlatform.h"

#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <cstdio>

namespace valdora {

bool startDetached(const ProgramStart& start)
{
    if (!QFileInfo(start.program).isExecutable())
        return false;
    QProcess process;
    process.setProgram(start.program);
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
