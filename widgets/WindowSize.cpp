#include "WindowSize.h"

#include <QLayout>
#include <QWidget>

#include <algorithm>

namespace valdora::widgets {

void fitToTexts(QWidget& window, int minimumWidth)
{
    QLayout* layout = window.layout();
    layout->activate();
    const int width = std::max(minimumWidth, layout->minimumSize().width());
    // The notes wrap, so the height depends on the width: ask for it at the width chosen.
    const int height =
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : window.sizeHint().height();
    window.setFixedSize(width, std::max(height, layout->minimumSize().height()));
}

} // namespace valdora::widgets
