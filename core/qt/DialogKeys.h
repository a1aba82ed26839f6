#pragma once

class QAbstractButton;
class QPushButton;
class QWidget;

namespace valdora {

/// Return (and Enter) presses the window's OK button and Escape its Cancel button, as in every
/// dialog: a plain window does neither by itself, and a dialog whose OK is not its default button
/// ignores Return while a text box has the focus. A button that is disabled or hidden is not pressed.
void acceptOnReturnCancelOnEscape(QWidget& window, QPushButton& ok, QAbstractButton& cancel);

} // namespace valdora
