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

} // namespace valdora::run
