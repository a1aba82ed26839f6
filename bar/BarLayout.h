#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace valdora::bar {

/// Where the bar's slots lie and how large the bar is, in twips (1/1440 inch), as the bar was
/// designed: slots stand in columns of twenty; each has a fill button and a small edit button.
namespace BarLayout {

/// Slots in a column.
constexpr int RowsPerColumn = 20;
/// The slots the bar always has; more are added when a database holds more buttons.
constexpr int DesignedSlots = 120;
constexpr int TwipsPerInch = 1440;

/// The fill button and the edit button of one slot.
struct SlotRects {
    QRect fill;
    QRect edit;
};

/// The slot's two buttons (slot i: column i / 20, row i % 20). Columns past the sixth continue the
/// designed column pitch, so any number of slots has a place.
SlotRects slotRects(int slot);

/// The bar's outer size for n slots (the buttons and the "New" slot), caption and frame included.
QSize barSize(int slotCount);
/// The area inside the frame for n slots: the outer size less the caption and the frame.
QSize clientSize(int slotCount);
/// The area that holds every one of n slots (wider than the client area past ten columns).
QSize contentSize(int slotCount);

/// Twips as pixels of a screen with this logical resolution, and back.
int toPixels(int twips, double dotsPerInch);
int toTwips(int pixels, double dotsPerInch);

/// The bar's place from the stored "Top" and "Left" (twips, decimal text): the screen's top-left
/// corner, then each stored value that keeps the bar on the screen. A value that is no number, or
/// one that would put the bar past the screen's bottom or right edge, stays unapplied; a negative
/// one applies.
QPoint placedPosition(const QString& storedTop, const QString& storedLeft, QSize screenTwips, QSize barTwips);

} // namespace BarLayout

} // namespace valdora::bar
