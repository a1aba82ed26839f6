#include "FirstPaint.h"

#include <QEvent>

namespace valdora::bar {

FirstPaint::FirstPaint(QObject& watched, std::function<void()> painted)
    : QObject(&watched), m_painted(std::move(painted))
{
    watched.installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && m_painted) {
        watched->removeEventFilter(this);
        auto painted = std::move(m_painted);
        m_painted = nullptr;
        painted();
    }
    return false;
}

} // namespace valdora::bar
