#include "FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>

namespace valdora::bar {

FirstPaint::FirstPaint(QWidget& watched, std::function<void()> painted)
    : QObject(&watched), m_watched(&watched), m_painted(std::move(painted))
{
    QCoreApplication::instance()->installEventFilter(this);
}

FirstPaint::~FirstPaint()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() != QEvent::Paint || !m_painted || !m_watched || !object->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(object);
    if (widget == m_watched || m_watched->isAncestorOf(widget)) {
        QCoreApplication::instance()->removeEventFilter(this);
        auto painted = std::move(m_painted);
        m_painted = nullptr;
        painted();
    }
    return false;
}

} // namespace valdora::bar
