#include "UnattendedPlatform.h"

#include <cstdio>

namespace valdora::schedule {

QString messageLine(const MessageRequest& request)
{
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    text.replace(QChar(u'\r'), QStringLiteral(" / "));
    text.replace(QChar(u'\n'), QStringLiteral(" / "));
    return request.title.isEmpty() ? text : request.title + QStringLiteral(": ") + text;
}

MessageAnswer UnattendedPlatform::showMessage(const MessageRequest& request)
{
    const QString line = messageLine(request);
    m_lines << line;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    return defaultAnswer(request);
}

std::optional<QString> UnattendedPlatform::askOpenFile(const FileRequest&)
{
    return std::nullopt;
}

std::optional<QString> UnattendedPlatform::askSaveFile(const FileRequest&)
{
    return std::nullopt;
}

std::optional<quint32> UnattendedPlatform::askColour(quint32)
{
    return std::nullopt;
}

void UnattendedPlatform::setClipboardText(const QString&) {}

bool UnattendedPlatform::startProgram(const ProgramStart&)
{
    // The progress window, the host's window or another program would open a window on a desktop
    // that nobody watches (or on none at all).
    return false;
}

bool UnattendedPlatform::openDocument(const QString&)
{
    return false;
}

} // namespace valdora::schedule
