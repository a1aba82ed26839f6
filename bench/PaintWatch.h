#pragma once

// Timing shared by the benchmarks that show a window in their own process: milliseconds from making a
// widget to its first paint, and the median of a series.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace valdora::bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

/// Notes the first paint of a window: of the window itself or of any widget in it. A window whose
/// children cover it whole (the bar's scroll area) is never painted itself, only its children are.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(const QWidget& window) : m_window(window) {}
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            const auto* widget = static_cast<const QWidget*>(watched);
            if (widget == &m_window || m_window.isAncestorOf(widget))
                painted = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QWidget& m_window;
};

/// How long a window may take to its first paint before a benchmark gives up on it.
inline constexpr int FirstPaintLimitMs = 30000;

/// Milliseconds until the widget made by `make` (an owning pointer to a widget) is first painted; the
/// widget is gone when this returns. nullopt, after a line on stderr naming `what`, when no paint came
/// within `limitMs`.
template <typename Make>
std::optional<double> toFirstPaint(const char* what, Make make, int limitMs = FirstPaintLimitMs)
{
    QElapsedTimer timer;
    timer.start();
    auto widget = make();
    PaintWatch watch(*widget);
    QCoreApplication::instance()->installEventFilter(&watch);
    widget->show();
    // A widget that showed itself while it was made may have had its first paint before the watch:
    // the paint asked for here is the one that then counts.
    widget->update();
    const QDeadlineTimer deadline(limitMs);
    while (!watch.painted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    QCoreApplication::instance()->removeEventFilter(&watch);
    if (!watch.painted) {
        std::fprintf(stderr, "no first paint of %s within %d ms\n", what, limitMs);
        return std::nullopt;
    }
    return elapsed;
}

} // namespace valdora::bench
