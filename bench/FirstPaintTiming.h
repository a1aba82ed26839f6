#pragma once

// Timing shared by the benchmarks that show a window in their own process: milliseconds from making a
// widget to its first paint, and the median of a series.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>

#include <algorithm>
#include <vector>

namespace valdora::bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

/// Notes the first paint of the widget it watches.
class PaintWatch final : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

/// Milliseconds until the widget made by `make` (an owning pointer to a widget) is first painted; the
/// widget is gone when this returns.
template <typename Make> double toFirstPaint(Make make)
{
    QElapsedTimer timer;
    timer.start();
    auto widget = make();
    PaintWatch watch;
    widget->installEventFilter(&watch);
    widget->show();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    widget->removeEventFilter(&watch);
    return elapsed;
}

} // namespace valdora::bench
