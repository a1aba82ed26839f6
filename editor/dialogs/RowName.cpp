#include "RowName.h"

namespace valdora::editor {

QString rowName(const char* control, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(index);
}

} // namespace valdora::editor
