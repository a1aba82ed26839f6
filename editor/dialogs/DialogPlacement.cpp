#include "DialogPlacement.h"

#include <QWidget>
#include <QWindow>

namespace valdora::editor {

void placeOver(QWidget& dialog, const QWidget* parent)
{
    if (parent == nullptr)
        return;
    const QWidget* window = parent->window();
    dialog.adjustSize();
    const QRect area = window->frameGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    // The dialog has no owner widget, so the window manager learns whose dialog it is here.
    dialog.winId();
    if (dialog.windowHandle() != nullptr && window->windowHandle() != nullptr)
        dialog.windowHandle()->setTransientParent(window->windowHandle());
}

} // namespace valdora::editor
