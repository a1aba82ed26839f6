#pragma once

#include "core/Failure.h"

#include <cstddef>
#include <vector>

namespace valdora::engine {

/// The state a scheme keeps for one member of a run, grown to the run's member count on first use.
/// A member outside the run fails with SubscriptOutOfRange rather than reaching past the list.
template <class Member> Member& memberSlot(std::vector<Member>& members, int member, int memberCount)
{
    if (member < 0 || member >= memberCount)
        throw Failure(ErrorNumber::SubscriptOutOfRange);
    if (members.size() < static_cast<std::size_t>(memberCount))
        members.resize(static_cast<std::size_t>(memberCount));
    return members[static_cast<std::size_t>(member)];
}

} // namespace valdora::engine
