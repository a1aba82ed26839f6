#include "BarLayout.h"

#include <array>
#include <cmath>
#include <optional>

namespace valdora::bar::BarLayout {

namespace {

constexpr int FillWidth = 1065;
constexpr int EditWidth = 230;
constexpr int SlotHeight = 350;
/// The edit button's left edge from the fill button's.
constexpr int EditOffset = 1125;
constexpr std::array<int, 6> ColumnLefts{30, 1440, 2865, 4275, 5685, 7110};
/// The pitch of the columns past the designed six, and of the bar's width per column.
constexpr int ColumnPitch = 1420;
constexpr std::array<int, RowsPerColumn> RowTops{45,   390,  750,  1095, 1440, 1800, 2145, 2490, 2850, 3195,
                                                 3540, 3900, 4245, 4590, 4950, 5295, 5640, 6000, 6345, 6690};
constexpr int FirstColumnTop = 40;
/// The designed size stops growing at ten columns; the content scrolls past them.
constexpr int WidestColumns = 10;
constexpr int FullHeight = 7375;
constexpr int OneColumnWidth = 1500;
constexpr int TwoColumnWidth = 2910;
constexpr int OneColumnFrameHeight = 375;
/// The caption and frame that the outer size includes.
constexpr int FrameWidth = 60;
constexpr int FrameHeight = 300;

int columnsFor(int slotCount)
{
    return std::max(1, (slotCount + RowsPerColumn - 1) / RowsPerColumn);
}

int columnLeft(int column)
{
    if (column < static_cast<int>(ColumnLefts.size()))
        return ColumnLefts[static_cast<std::size_t>(column)];
    return ColumnLefts.back() + (column - static_cast<int>(ColumnLefts.size()) + 1) * ColumnPitch;
}

std::optional<int> twipsValue(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > 1e9)
        return std::nullopt;
    return static_cast<int>(std::lround(value));
}

} // namespace

SlotRects slotRects(int slot)
{
    const int column = slot / RowsPerColumn;
    const int row = slot % RowsPerColumn;
    const int left = columnLeft(column);
    const int top = column == 0 ? FirstColumnTop + SlotHeight * row : RowTops[static_cast<std::size_t>(row)];
    return {QRect(left, top, FillWidth, SlotHeight), QRect(left + EditOffset, top, EditWidth, SlotHeight)};
}

QSize barSize(int slotCount)
{
    if (slotCount <= RowsPerColumn)
        return {OneColumnWidth, std::max(1, slotCount) * SlotHeight + OneColumnFrameHeight};
    const int columns = std::min(columnsFor(slotCount), WidestColumns);
    return {TwoColumnWidth + (columns - 2) * ColumnPitch, FullHeight};
}

QSize clientSize(int slotCount)
{
    const QSize outer = barSize(slotCount);
    return {outer.width() - FrameWidth, outer.height() - FrameHeight};
}

QSize contentSize(int slotCount)
{
    const QSize client = clientSize(slotCount);
    const SlotRects last = slotRects((columnsFor(slotCount) - 1) * RowsPerColumn);
    return {std::max(client.width(), last.edit.right() + 1 + ColumnLefts.front()), client.height()};
}

int toPixels(int twips, double dotsPerInch)
{
    return static_cast<int>(std::lround(twips * dotsPerInch / TwipsPerInch));
}

int toTwips(int pixels, double dotsPerInch)
{
    return static_cast<int>(std::lround(pixels * TwipsPerInch / dotsPerInch));
}

QPoint placedPosition(const QString& storedTop, const QString& storedLeft, QSize screenTwips, QSize barTwips)
{
    QPoint position(0, 0);
    if (const std::optional<int> top = twipsValue(storedTop);
        top && *top < screenTwips.height() - barTwips.height())
        position.setY(*top);
    if (const std::optional<int> left = twipsValue(storedLeft);
        left && *left < screenTwips.width() - barTwips.width())
        position.setX(*left);
    return position;
}

} // namespace valdora::bar::BarLayout
