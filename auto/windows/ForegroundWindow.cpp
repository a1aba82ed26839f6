#include "ForegroundWindow.h"

#include <QWidget>

namespace valdora::autorun {

void bringToForeground(QWidget& window)
{
    window.raise();
    window.activateWindow();
}

} // namespace valdora::autorun
