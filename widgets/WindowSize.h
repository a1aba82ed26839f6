#pragma once

class QWidget;

namespace valdora::widgets {

/// Fixes a window's size to what its texts need in the current language: at least `minimumWidth`
/// wide (wider when a caption asks for it), and as tall as the wrapped texts are at that width.
void fitToTexts(QWidget& window, int minimumWidth);

} // namespace valdora::widgets
