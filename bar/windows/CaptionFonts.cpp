#include "CaptionFonts.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace valdora::bar {

const CaptionFonts::Sized& CaptionFonts::sized(bool bold, int steps)
{
    const std::pair key{bold, steps};
    auto found = m_sized.find(key);
    if (found == m_sized.end()) {
        QFont font = m_base;
        font.setBold(bold);
        if (steps > 0)
            font.setPointSizeF(m_base.pointSizeF() - steps * PointStep);
        found = m_sized.emplace(key, Sized{font, QFontMetrics(font)}).first;
    }
    return found->second;
}

QFont CaptionFonts::fontFor(const QPushButton& button, const QString& caption, bool bold)
{
    const QFont base = QApplication::font(&button);
    // A font changed meanwhile (another language, another style) makes the kept ones stale.
    if (base != m_base || base.resolveMask() != m_base.resolveMask()) {
        m_base = base;
        m_sized.clear();
    }
    const QStyle* style = button.style();
    const int room = button.width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) -
                     2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    int steps = 0;
    while (m_base.pointSizeF() - (steps + 1) * PointStep >= SmallestPoints &&
           sized(bold, steps).metrics.horizontalAdvance(caption) > room)
        ++steps;
    return sized(bold, steps).font;
}

} // namespace valdora::bar
