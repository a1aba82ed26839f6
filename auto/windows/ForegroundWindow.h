#pragma once

class QWidget;

namespace valdora::autorun {

/// Brings a window that has just been shown in front of the others: ValdoraAuto is started by the
/// host, whose window has the focus.
void bringToForeground(QWidget& window);

} // namespace valdora::autorun
