#include "ProgressArguments.h"

namespace valdora::run {

std::optional<qint64> runPidArgument(const QStringList& arguments)
{
    const qsizetype option = arguments.indexOf(RunPidOption);
    if (option < 0 || option + 1 >= arguments.size())
        return std::nullopt;
    bool ok = false;
    const qint64 pid = arguments[option + 1].toLongLong(&ok);
    return ok && pid > 0 ? std::optional(pid) : std::nullopt;
}

qint16 languageArgument(const QStringList& arguments)
{
    const qsizetype option = arguments.indexOf(LanguageOption);
    if (option < 0 || option + 1 >= arguments.size())
        return 300;
    const int base = arguments[option + 1].toInt();
    return base == 1300 || base == 2300 ? static_cast<qint16>(base) : qint16(300);
}

} // namespace valdora::run
