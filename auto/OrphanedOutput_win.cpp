#include "OrphanedOutput.h"

namespace valdora::autorun {

void keepRunningWhenOutputIsClosed()
{
    // Writing to a closed channel fails without ending the process here.
}

} // namespace valdora::autorun
