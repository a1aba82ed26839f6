#pragma once

class QWidget;

namespace valdora::keelbrook {

/// Fixes a dialog's size to what its texts need in the current language, never below its designed
/// size.
void fitWindow(QWidget& window);

} // namespace valdora::keelbrook
