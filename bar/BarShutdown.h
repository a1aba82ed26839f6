#pragma once

#include "BarStartup.h"

#include <QPoint>

namespace valdora::bar {

/// How the program ends after the bar's unload.
enum class UnloadEnd {
    Now,           ///< the program ends with its last window
    AfterTwoTicks, ///< the host is being restarted: the hidden bar ends two timer ticks later
};

/// The unload of the bar after the tray and hook are gone: closes the host when a restart or Keelbrook
/// was asked for, releases the host objects, stores the bar's position (twips) and starts what comes
/// next (the host on its database again, or Keelbrook with "/w5"). A dead host stops none of it.
UnloadEnd unloadBar(ProgramSession& session, BarConnection& connection, const BarFlags& flags,
                    QPoint positionTwips);

} // namespace valdora::bar
