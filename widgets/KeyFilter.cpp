#include "KeyFilter.h"

#include <QFileInfo>

namespace valdora::widgets {

int ValidateText(int keyCode, const QString& allowed, bool allowBackspace, const std::function<void()>& beep)
{
    if (allowBackspace && keyCode == BackspaceKey)
        return keyCode;
    if (keyCode > 0 && keyCode <= 0xFFFF && keyCode != BackspaceKey &&
        allowed.contains(QChar(static_cast<char16_t>(keyCode)), Qt::CaseInsensitive))
        return keyCode;
    if (beep)
        beep();
    return 0;
}

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

} // namespace valdora::widgets
