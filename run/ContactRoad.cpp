#include "ContactRoad.h"

#include "engine/ValueEngine.h"

namespace valdora::run {

void ContactRoad::stopAt(RunSummary& summary)
{
    // A counter that cannot be trusted: nothing of this contact is written and the run ends here.
    RunState& run = state();
    run.giveBackNumbers();
    abandonRecord();
    run.releaseAfterWrite();
    ++summary.failed;
    run.stopped = true;
}

} // namespace valdora::run
