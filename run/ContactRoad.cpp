#include "ContactRoad.h"

#include "engine/ValueEngine.h"
#include "settings/MessageId.h"

namespace valdora::run {

void ContactRoad::stopAt(RunSummary& summary)
{
    // Nothing of this contact is written and the run ends here.
    RunState& run = state();
    run.giveBackNumbers();
    abandonRecord();
    run.releaseAfterWrite();
    ++summary.failed;
    run.stopped = true;
}

bool ContactRoad::resolveNamedTarget(RunMember& member, host::FieldList& fields) const
{
    if (!fields.Exists(member.targetName)) {
        session().showMessage(session().messages().get(MessageId::InvalidButtonData));
        return false;
    }
    member.target = fields.FieldID(member.targetName);
    member.targetFieldType = fields.Type(member.target);
    member.decimals = fields.DecimalPlaces(member.target);
    return true;
}

} // namespace valdora::run
