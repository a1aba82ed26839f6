#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <map>
#include <utility>

class QPushButton;

namespace valdora::bar {

/// The font a slot's caption is drawn in: the application's font of the button, bold as asked, and
/// smaller where the caption would otherwise be cut at both ends of the narrow slot (down to a floor).
/// Each font and its metrics are made once and kept: a bar of many buttons asks for the same few
/// fonts again and again, and making a font's metrics costs more than measuring a caption with them.
class CaptionFonts {
public:
    /// The smallest size a caption is drawn at to fit its slot.
    static constexpr qreal SmallestPoints = 6.5;
    static constexpr qreal PointStep = 0.5;

    /// The font for `caption` on `button`; the room is the button's width less its margin and frame.
    QFont fontFor(const QPushButton& button, const QString& caption, bool bold);

private:
    struct Sized {
        QFont font;
        QFontMetrics metrics;
    };
    /// The font of that weight, `steps` point steps below the base size, made on first use.
    const Sized& sized(bool bold, int steps);

    QFont m_base;
    std::map<std::pair<bool, int>, Sized> m_sized;
};

} // namespace valdora::bar
