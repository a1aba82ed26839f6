// The first-paint wait of the window benchmarks: it measures a window that paints, also one that
// painted while it was made, and gives up with a message on one that never paints.
#include "bench/PaintWatch.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace valdora::bench {
namespace {

TEST(PaintWatchTest, AWindowThatPaintsIsTimed)
{
    const std::optional<double> ms =
        toFirstPaint("a plain window", [] { return std::make_unique<QWidget>(); });
    ASSERT_TRUE(ms.has_value());
    EXPECT_GE(*ms, 0.0);
}

TEST(PaintWatchTest, AWindowPaintedWhileItWasMadeIsTimedToo)
{
    const std::optional<double> ms = toFirstPaint(
        "a window shown by its maker",
        [] {
            auto widget = std::make_unique<QWidget>();
            widget->show();
            QApplication::processEvents();
            QApplication::processEvents();
            return widget;
        },
        5000);
    EXPECT_TRUE(ms.has_value());
}

TEST(PaintWatchTest, AWindowThatNeverPaintsEndsTheWaitAndSaysWhich)
{
    testing::internal::CaptureStderr();
    const std::optional<double> ms = toFirstPaint(
        "a window without updates",
        [] {
            auto widget = std::make_unique<QWidget>();
            widget->setUpdatesEnabled(false);
            return widget;
        },
        300);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ms.has_value());
    EXPECT_NE(err.find("no first paint of a window without updates within 300 ms"), std::string::npos) << err;
}

} // namespace
} // namespace valdora::bench
