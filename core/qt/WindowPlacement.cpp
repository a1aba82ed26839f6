#include "WindowPlacement.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace valdora {

namespace {

/// How long after its first show a window's frame is held at its place: the window manager frames a
/// window within moments, and later moves are the user's.
constexpr int SettleMs = 2000;
/// Marks the windows that have been placed (or place themselves).
constexpr const char* PlacedProperty = "valdoraPlaced";

qint64 overlapArea(const QRect& a, const QRect& b)
{
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : qint64(both.width()) * both.height();
}

qint64 distanceSquared(const QRect& frame, const QRect& screen)
{
    const qint64 dx = std::max({0, screen.left() - frame.right(), frame.left() - screen.right()});
    const qint64 dy = std::max({0, screen.top() - frame.bottom(), frame.top() - screen.bottom()});
    return dx * dx + dy * dy;
}

int keptWithin(int start, int length, int areaStart, int areaLength)
{
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}

bool isFramed(const QWidget& window)
{
    return window.frameGeometry() != window.geometry();
}

QMargins frameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

/// The frame a window will get, from the owner's or another framed window's: known exactly only
/// after the window manager has framed the window itself.
QMargins expectedFrameMargins(const QWidget& window, const QWidget* owner)
{
    if (isFramed(window))
        return frameMargins(window);
    if (owner && owner->isVisible() && isFramed(*owner))
        return frameMargins(*owner);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window && other->isVisible() && isFramed(*other) &&
            !other->windowFlags().testFlag(Qt::FramelessWindowHint))
            return frameMargins(*other);
    }
    return {};
}

const QScreen* screenFor(const QWidget* owner)
{
    if (owner && owner->screen())
        return owner->screen();
    if (const QScreen* underMouse = QGuiApplication::screenAt(QCursor::pos()))
        return underMouse;
    return QGuiApplication::primaryScreen();
}

/// A window larger than its screen is made smaller to fit (its lists and tables scroll instead).
void fitInto(QWidget& window, QSize room)
{
    const QSize size = window.size();
    if (size.width() <= room.width() && size.height() <= room.height())
        return;
    const QSize fitted = size.boundedTo(room);
    window.setMinimumSize(window.minimumSize().boundedTo(fitted));
    window.resize(fitted);
}

constexpr const char* SettlerName = "valdoraFrameSettler";
/// How often a shown window is looked at until the window manager has framed it: a frame that
/// arrives brings no event of its own.
constexpr int SettleLookMs = 50;

/// Holds a window's frame at the place it was given until the window manager has framed it.
class FrameSettler final : public QObject {
public:
    FrameSettler(QWidget& window, QPoint frameTopLeft)
        : QObject(&window), m_window(window), m_target(frameTopLeft)
    {
        setObjectName(QLatin1String(SettlerName));
        window.installEventFilter(this);
        m_look.setInterval(SettleLookMs);
        connect(&m_look, &QTimer::timeout, this, &FrameSettler::look);
        if (window.isVisible())
            startLooking();
    }
    void retarget(QPoint frameTopLeft) { m_target = frameTopLeft; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_window)
            return false;
        if (event->type() == QEvent::Show)
            startLooking();
        else if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            look();
        return false;
    }

private:
    void startLooking()
    {
        if (m_look.isActive())
            return;
        m_look.start();
        // A window that no window manager frames (or one framed long ago) is left alone.
        QTimer::singleShot(SettleMs, this, [this] { finish(); });
    }
    void look()
    {
        if (!m_window.isVisible() || !isFramed(m_window) || m_done)
            return;
        // The frame may have made the window taller than its screen after all.
        if (const QScreen* screen = m_window.screen()) {
            const QSize room = screen->availableGeometry().size();
            const QSize excess = m_window.frameGeometry().size() - room;
            if (excess.width() > 0 || excess.height() > 0)
                fitInto(m_window, m_window.size() - excess.expandedTo(QSize(0, 0)));
        }
        const QPoint kept =
            keptOnScreen(QRect(m_target, m_window.frameGeometry().size()), availableScreenAreas());
        if (m_window.frameGeometry().topLeft() != kept)
            m_window.move(kept);
        // Held once the frame is known; the next move is the user's.
        finish();
    }
    void finish()
    {
        m_done = true;
        m_look.stop();
        m_window.removeEventFilter(this);
        deleteLater();
    }

    QWidget& m_window;
    QPoint m_target;
    QTimer m_look;
    bool m_done = false;
};

bool placesItself(const QWidget& window)
{
    return window.property(PlacedProperty).toBool();
}

/// Places each window on its first show: what Qt does for dialogs by itself is bent by window
/// managers that place windows themselves (the top-left corner), and plain windows get no place.
class OwnerPlacement final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        // A window moved before it is shown has a place of its own.
        if (!window->isWindow() || placesItself(*window) || window->testAttribute(Qt::WA_Moved))
            return false;
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog)
            return false;
        // Windows the window manager does not frame (the notification icon's, a splash) are placed
        // by whoever shows them.
        const Qt::WindowFlags flags = window->windowFlags();
        if (flags.testFlag(Qt::FramelessWindowHint) || flags.testFlag(Qt::BypassWindowManagerHint) ||
            flags.testFlag(Qt::X11BypassWindowManagerHint))
            return false;
        // A message box takes its size only in its own show; it is placed by the seam that opens it.
        if (qobject_cast<QMessageBox*>(window) != nullptr)
            return false;
        QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        if (!owner || !owner->isVisible()) {
            QWidget* active = QApplication::activeWindow();
            owner = active && active != window ? active : owner;
        }
        placeOverOwner(*window, owner);
        return false;
    }
};

} // namespace

QPoint keptOnScreen(const QRect& frame, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return frame.topLeft();
    for (const QRect& screen : screens) {
        if (screen.contains(frame))
            return frame.topLeft();
    }
    const QRect* best = nullptr;
    qint64 bestOverlap = 0;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        const qint64 overlap = overlapArea(frame, screen);
        const qint64 distance = distanceSquared(frame, screen);
        if (overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance)) {
            best = &screen;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return {keptWithin(frame.left(), frame.width(), best->left(), best->width()),
            keptWithin(frame.top(), frame.height(), best->top(), best->height())};
}

QPoint centredOver(QSize frameSize, const QRect& owner, const QList<QRect>& screens)
{
    QRect frame(QPoint(), frameSize);
    frame.moveCenter(owner.center());
    return keptOnScreen(frame, screens);
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

void placeFrame(QWidget& window, QPoint frameTopLeft)
{
    window.setProperty(PlacedProperty, true);
    const QMargins margins = expectedFrameMargins(window, nullptr);
    const QSize frameSize = window.size().grownBy(margins);
    const QPoint kept = keptOnScreen(QRect(frameTopLeft, frameSize), availableScreenAreas());
    // Before its native window exists a window is placed by its frame. Once it exists, and until
    // the window manager has framed it, a place given is taken for the inner area's: the frame
    // that comes would stand above and left of it by its width.
    const bool placedByInnerArea = window.testAttribute(Qt::WA_WState_Created) && !isFramed(window);
    window.move(placedByInnerArea ? kept + QPoint(margins.left(), margins.top()) : kept);
    // One settler per window; it is a plain QObject, found by its name.
    if (QObject* settler = window.findChild<QObject*>(QLatin1String(SettlerName), Qt::FindDirectChildrenOnly))
        static_cast<FrameSettler*>(settler)->retarget(kept);
    else
        new FrameSettler(window, kept);
}

void placeOverOwner(QWidget& window, const QWidget* owner)
{
    const QWidget* ownerWindow = owner ? owner->window() : nullptr;
    if (ownerWindow == &window)
        ownerWindow = nullptr;
    const QScreen* screen = ownerWindow && ownerWindow->isVisible()
                                ? QGuiApplication::screenAt(ownerWindow->frameGeometry().center())
                                : nullptr;
    if (!screen)
        screen = screenFor(ownerWindow);
    if (!screen)
        return;
    const QMargins margins = expectedFrameMargins(window, ownerWindow);
    fitInto(window, screen->availableGeometry().size().shrunkBy(margins));
    const QSize frameSize = window.size().grownBy(margins);
    const QRect over =
        ownerWindow && ownerWindow->isVisible() ? ownerWindow->frameGeometry() : screen->availableGeometry();
    placeFrame(window, centredOver(frameSize, over, availableScreenAreas()));
}

void placeWindowsOverTheirOwners(QApplication& application)
{
    application.installEventFilter(new OwnerPlacement(&application));
}

void keepOwnPlace(QWidget& window)
{
    window.setProperty(PlacedProperty, true);
}

} // namespace valdora
