#include "OrphanedOutput.h"

#include <csignal>

namespace valdora::autorun {

void keepRunningWhenOutputIsClosed()
{
    // A write to a pipe without a reader raises SIGPIPE, whose default is to end the process; ignored,
    // the write returns EPIPE instead.
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace valdora::autorun
