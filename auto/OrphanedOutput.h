#pragma once

namespace valdora::autorun {

/// ValdoraAuto is started by programs that do not wait for it (the host, Valdora) and may inherit
/// their output channels. When the starter has gone and its channels are closed, a diagnostic line
/// must not end the program halfway through a run: after this call such a write fails quietly.
void keepRunningWhenOutputIsClosed();

} // namespace valdora::autorun
