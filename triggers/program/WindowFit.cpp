#include "WindowFit.h"

#include <QLayout>
#include <QWidget>

namespace valdora::keelbrook {

void fitWindow(QWidget& window)
{
    if (QLayout* layout = window.layout())
        layout->activate();
    window.setFixedSize(window.sizeHint().expandedTo(window.size()));
}

} // namespace valdora::keelbrook
