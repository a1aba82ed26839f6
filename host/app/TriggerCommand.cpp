#include "TriggerCommand.h"

#include <QFileInfo>

namespace valdora::host {

namespace {

bool isMacroName(const QString& path)
{
    return path.endsWith(QStringLiteral(".mpr"), Qt::CaseInsensitive);
}

bool namesProgram(const QString& candidate)
{
    if (candidate.isEmpty())
        return false;
    const QFileInfo info(candidate);
    return info.isFile() && (info.isExecutable() || isMacroName(candidate));
}

} // namespace

std::optional<TriggerCommand> resolveTrigger(const QString& text)
{
    // Longest first: the whole text, then each part that ends before a blank.
    for (qsizetype end = text.size(); end > 0; end = text.lastIndexOf(QLatin1Char(' '), end - 1)) {
        const QString candidate = text.left(end);
        if (!namesProgram(candidate))
            continue;
        TriggerCommand command;
        command.program = QFileInfo(candidate).absoluteFilePath();
        command.arguments = end < text.size() ? text.mid(end + 1) : QString();
        command.macro = isMacroName(candidate);
        return command;
    }
    if (isMacroName(text.trimmed()))
        return TriggerCommand{text.trimmed(), {}, true};
    return std::nullopt;
}

} // namespace valdora::host
