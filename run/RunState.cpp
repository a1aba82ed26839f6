#include "RunState.h"

#include "engine/ValueEngine.h"

#include <algorithm>

namespace valdora::run {

bool RunMember::computesValue() const
{
    return valdora::computesValue(type);
}

bool RunMember::isAutoNumber() const
{
    return type == codeOf(Scheme::AutoNumber);
}

RunState::RunState() = default;
RunState::~RunState() = default;

bool RunState::anyValueUsed() const
{
    return std::any_of(members.begin(), members.end(), [](const RunMember& m) { return m.valueUsed; });
}

bool RunState::takeNumbers()
{
    for (std::size_t j = 0; j < members.size(); ++j) {
        const RunMember& member = members[j];
        if (member.isAutoNumber() && member.valueUsed && !engine->Update_AutoNumber(static_cast<int>(j)))
            return false;
    }
    return true;
}

void RunState::giveBackNumbers()
{
    for (std::size_t j = members.size(); j-- > 0;)
        engine->giveBack(static_cast<int>(j));
}

void RunState::releaseAfterWrite()
{
    if (engine)
        engine->releaseCounterLocks();
    for (RunMember& member : members)
        member.valueUsed = false;
}

} // namespace valdora::run
