#include "WaitingPlatform.h"

#include <QScopeGuard>

namespace valdora::run {

MessageAnswer WaitingPlatform::showMessage(const MessageRequest& request)
{
    if (m_open++ == 0)
        m_progress.setWaiting(true);
    const auto answered = qScopeGuard([this] {
        if (--m_open == 0)
            m_progress.setWaiting(false);
    });
    return m_desktop.showMessage(request);
}

} // namespace valdora::run
