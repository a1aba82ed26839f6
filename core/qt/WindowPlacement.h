#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QApplication;
class QWidget;

namespace valdora {

/// The top-left corner that puts a window's frame wholly on a screen: where the frame stands when a
/// screen holds it already; otherwise on the screen it overlaps most (or, off every screen, the
/// nearest one), moved in just as far as needed. A frame larger than its screen keeps its top-left
/// corner on it, so that the title bar and the close box stay within reach. No screens: unchanged.
QPoint keptOnScreen(const QRect& frame, const QList<QRect>& screens);

/// A frame of this size centred over the owner's frame, then kept on a screen.
QPoint centredOver(QSize frameSize, const QRect& owner, const QList<QRect>& screens);

/// The areas of the desktop's screens that windows may use (without panels and docks).
QList<QRect> availableScreenAreas();

/// Puts a top-level window's frame at this corner of the desktop (kept on a screen), and keeps it
/// there once the window manager has framed the window: the frame's size is known only then, and a
/// window whose native window exists already is first placed by its inner area.
void placeFrame(QWidget& window, QPoint frameTopLeft);

/// Places a window that is about to be shown: centred over the window it belongs to when that one is
/// on screen, else centred on the screen that holds the owner (or the mouse); wholly on a screen.
void placeOverOwner(QWidget& window, const QWidget* owner);

/// From now on, every dialog and window of the application that is shown for the first time without
/// a place of its own (it was not moved before) opens over the window it belongs to (its parent, else
/// the active window), or centred on a screen, and wholly on a screen. A window that places itself
/// later says so with `keepOwnPlace`.
void placeWindowsOverTheirOwners(QApplication& application);

/// Exempts a window from `placeWindowsOverTheirOwners` (the bar, which returns to its stored place).
void keepOwnPlace(QWidget& window);

} // namespace valdora
